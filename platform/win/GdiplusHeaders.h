#pragma once
// gdiplus.h uses min and max unqualified; with NOMINMAX they must come from std.
#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
