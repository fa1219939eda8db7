# Cross build for 32-bit Windows (x86) with MinGW-w64; programs run under
# 32-bit Wine.
set(MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
# Every float and double operation in SSE registers, rounded to its own
# precision as on x64; x87's 80-bit intermediates change some logged digits.
# With SSE the compiler also realigns the stack where it needs more than the
# 4 bytes a 32-bit caller promises.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
