#pragma once
#include <windows.h>

#include "platform/win/UniqueHandle.h"
#include "ui/framework/GdiHelpers.h"

// A memory DC that owns the bitmap selected into it (as made by
// CreateMemoryDCBitmap or LoadSkinImageToDC): both go with DeleteMemoryDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeleteMemoryDC(h); }
};
using UniqueMemoryDc = platform::UniqueResource<MemoryDcTraits>;
