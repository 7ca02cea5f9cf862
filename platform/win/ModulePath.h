#pragma once
#include <cstddef>

namespace platform {

// The running program's full path; false (and an empty text) when it cannot
// be had or does not fit.
bool ProgramPath(wchar_t* out, size_t capacity);
// Drive and folder of a path, ending in its last separator ("C:\dir\").
bool FolderOfPath(const wchar_t* path, wchar_t* out, size_t capacity);

}  // namespace platform
