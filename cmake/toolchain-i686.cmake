# Cross build of the shipped program: 32-bit Windows (PE32) with MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LUMO_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Every Windows this program runs on (8 and later) has SSE2: the blur takes
# its fast path and floating point matches the 64-bit build. Windows gives
# 32-bit code only a 4-byte aligned stack, so functions realign their own.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
