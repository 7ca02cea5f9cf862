#pragma once
#include <cstdarg>
#include <cstddef>

namespace platform {

// printf into a fixed wide buffer. Always terminates; returns false when the
// text did not fit (the buffer then holds the cut text).
bool FormatBounded(wchar_t* buffer, size_t capacity, const wchar_t* format, ...);
bool FormatBoundedV(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args);

// Narrow variant, for texts bound for narrow sinks.
bool FormatBoundedA(char* buffer, size_t capacity, const char* format, ...);

// Copies at most capacity-1 characters; returns false when cut.
bool CopyBounded(wchar_t* buffer, size_t capacity, const wchar_t* text);

}  // namespace platform
