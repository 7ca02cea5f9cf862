# The same sources built as PE32+ for test machines whose kernel cannot run
# 32-bit code, so Wine's 32-bit loader is unavailable there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMO_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
