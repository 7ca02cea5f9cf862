#pragma once
#include <windows.h>

#include "platform/win/UniqueHandle.h"

namespace platform {

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};

// SIDs from AllocateAndInitializeSid.
struct AllocatedSidTraits {
    using Handle = PSID;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeSid(h); }
};

// FindFirstFile listings.
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueSid = UniqueResource<AllocatedSidTraits>;

}  // namespace platform
