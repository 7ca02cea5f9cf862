#pragma once
#include <string>

namespace testsupport {

// The folder of the running test executable (the build's tests folder).
std::wstring ExecutableDir();
// A stand-in built beside the tests, e.g. FixturePath(L"nbhwctl\\full\\NBHWCTL.dll").
std::wstring FixturePath(const std::wstring& relative);

}  // namespace testsupport
