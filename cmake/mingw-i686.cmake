set(MINGW_TRIPLET i686-w64-mingw32)
# The processor picks libjpeg-turbo's SIMD code.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
