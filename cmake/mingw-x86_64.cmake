set(MINGW_TRIPLET x86_64-w64-mingw32)
# The processor picks libjpeg-turbo's SIMD code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
