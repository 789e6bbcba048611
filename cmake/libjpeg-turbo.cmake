# libjpeg-turbo as the target pellavo_jpeg. Native builds (host, fuzz) use
# Debian's libjpeg62-turbo-dev.
add_library(pellavo_jpeg INTERFACE)
if(NOT WIN32)
    find_package(JPEG REQUIRED)
    target_link_libraries(pellavo_jpeg INTERFACE JPEG::JPEG)
    return()
endif()
# The Windows builds: to be built from Debian's source package (in progress);
# until then the JPEG codec sources are left out of the Windows builds.
