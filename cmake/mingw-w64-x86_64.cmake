# Cross build for Windows x86-64 with MinGW-w64; programs run under Wine.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
