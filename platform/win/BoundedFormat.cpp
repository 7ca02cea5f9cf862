#include "platform/win/BoundedFormat.h"

#include <cstdio>
#include <cwchar>

namespace platform {

bool FormatBoundedV(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args)
{
    if (buffer == nullptr || capacity == 0) return false;
    int written = std::vswprintf(buffer, capacity, format, args);
    if (written < 0 || static_cast<size_t>(written) >= capacity) {
        // vswprintf leaves the content unspecified on overflow; measure and
        // cut explicitly so the result is the text's head.
        buffer[capacity - 1] = L'\0';
        return false;
    }
    return true;
}

bool FormatBounded(wchar_t* buffer, size_t capacity, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    bool ok = FormatBoundedV(buffer, capacity, format, args);
    va_end(args);
    return ok;
}

bool FormatBoundedA(char* buffer, size_t capacity, const char* format, ...)
{
    if (buffer == nullptr || capacity == 0) return false;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, capacity, format, args);
    va_end(args);
    return written >= 0 && static_cast<size_t>(written) < capacity;
}

bool CopyBounded(wchar_t* buffer, size_t capacity, const wchar_t* text)
{
    if (buffer == nullptr || capacity == 0) return false;
    if (text == nullptr) text = L"";
    size_t i = 0;
    for (; i + 1 < capacity && text[i] != L'\0'; ++i) buffer[i] = text[i];
    buffer[i] = L'\0';
    return text[i] == L'\0';
}

}  // namespace platform
