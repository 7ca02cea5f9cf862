#pragma once
#include <windows.h>

#include "platform/win/UniqueHandle.h"
#include "ui/framework/drawing/GdiHelpers.h"

// A memory DC that owns the bitmap selected into it (CreateMemoryDCBitmap,
// LoadSkinImageToDC, D2DGaussianBlur): both go with DeleteMemoryDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeleteMemoryDC(h); }
};
using UniqueMemoryDc = platform::UniqueResource<MemoryDcTraits>;
