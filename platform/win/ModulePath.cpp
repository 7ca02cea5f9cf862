#include "platform/win/ModulePath.h"

#include <windows.h>

#include <cwchar>

#include "platform/win/BoundedFormat.h"

namespace platform {

bool ProgramPath(wchar_t* out, size_t capacity)
{
    if (out == nullptr || capacity == 0) return false;
    DWORD length = GetModuleFileNameW(nullptr, out, static_cast<DWORD>(capacity));
    if (length == 0 || length >= capacity) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

bool FolderOfPath(const wchar_t* path, wchar_t* out, size_t capacity)
{
    if (out == nullptr || capacity == 0) return false;
    out[0] = L'\0';
    if (path == nullptr) return false;
    const wchar_t* slash = wcsrchr(path, L'\\');
    const wchar_t* forward = wcsrchr(path, L'/');
    if (forward != nullptr && (slash == nullptr || forward > slash)) slash = forward;
    if (slash == nullptr) return true;
    size_t length = static_cast<size_t>(slash - path) + 1;
    if (length >= capacity) return false;
    wmemcpy(out, path, length);
    out[length] = L'\0';
    return true;
}

}  // namespace platform
