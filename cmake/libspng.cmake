# libspng with zlib as the target pellavo_png: Debian 13's zlib
# 1:1.3.dfsg+really1.3.1-1 and libspng 0.7.4-2, static, built by every preset
# from the same sources.
#
# Two of Debian 13's files are missing from the archive this machine reaches
# (404 at deb.debian.org, while the Sources index lists them): zlib's point
# release revision +deb13u1's packaging, and libspng 0.7.4-2's packaging.
# zlib is therefore its revision -1, the same upstream tarball; libspng is its
# orig tarball as Debian 13 pins it, with no patch series (0.7.3-3's had none).
add_library(pellavo_png INTERFACE)
set(PELLAVO_ZLIB_TARBALL /var/cache/pellavo/deb-src/zlib_1.3.dfsg+really1.3.1.orig.tar.gz CACHE FILEPATH
    "zlib 1.3.1's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_ZLIB_SHA256 60dd315c07f616887caa029408308a018ace66e3d142726a97db164b3b8f69fb)
set(PELLAVO_ZLIB_DEBIAN_TARBALL /var/cache/pellavo/deb-src/zlib_1.3.dfsg+really1.3.1-1.debian.tar.xz CACHE FILEPATH
    "Debian's zlib 1:1.3.dfsg+really1.3.1-1 packaging, which patches nothing (scripts/setup.sh fetches it)")
set(PELLAVO_ZLIB_DEBIAN_SHA256 9ed525955ce9fb0c1b39be8ff98f73450dbfc6305a9a27e6149c8972d38a0a9e)
set(PELLAVO_SPNG_TARBALL /var/cache/pellavo/deb-src/libspng_0.7.4.orig.tar.gz CACHE FILEPATH
    "libspng 0.7.4's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_SPNG_SHA256 47ec02be6c0a6323044600a9221b049f63e1953faf816903e7383d4dc4234487)
include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
pellavo_debian_source(PELLAVO_ZLIB_SOURCE NAME zlib VERSION 1:1.3.dfsg+really1.3.1-1
    ORIG ${PELLAVO_ZLIB_TARBALL} ORIG_SHA256 ${PELLAVO_ZLIB_SHA256}
    DEBIAN ${PELLAVO_ZLIB_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_ZLIB_DEBIAN_SHA256}
)
pellavo_debian_source(PELLAVO_SPNG_SOURCE NAME libspng VERSION 0.7.4-2
    ORIG ${PELLAVO_SPNG_TARBALL} ORIG_SHA256 ${PELLAVO_SPNG_SHA256}
)

set(PELLAVO_ZLIB_DIR ${CMAKE_BINARY_DIR}/zlib)
set(PELLAVO_ZLIB_INCLUDE ${PELLAVO_ZLIB_DIR}/include)
set(PELLAVO_ZLIB_LIBRARY ${PELLAVO_ZLIB_DIR}/lib/libzlibstatic.a)
set(PELLAVO_SPNG_DIR ${CMAKE_BINARY_DIR}/libspng)
set(PELLAVO_SPNG_INCLUDE ${PELLAVO_SPNG_DIR}/include)
set(PELLAVO_SPNG_LIBRARY ${PELLAVO_SPNG_DIR}/lib/libspng_static.a)
# Targets that use them are configured before they are built.
file(MAKE_DIRECTORY ${PELLAVO_ZLIB_INCLUDE} ${PELLAVO_ZLIB_DIR}/lib ${PELLAVO_SPNG_INCLUDE} ${PELLAVO_SPNG_DIR}/lib)

# Only the static libraries are built, not the DLLs, tests and examples.
pellavo_external_build(PELLAVO_ZLIB_BUILD zlibstatic)
pellavo_external_build(PELLAVO_SPNG_BUILD spng_static)
# zlib names its static library libz.a on Unix.
if(WIN32)
    set(PELLAVO_ZLIB_BUILT libzlibstatic.a)
else()
    set(PELLAVO_ZLIB_BUILT libz.a)
endif()

# libspng calls its SSE2 code for undoing the sub, average and Paeth filters
# without asking the processor, which every x86-64 one has. The 32-bit
# program keeps the plain C, so that it runs on any x86 processor, as
# libjpeg-turbo and libwebp do by choosing their SIMD code at run time (nor
# does GCC 12 build that code for i686 without -msse2).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(PELLAVO_SPNG_OPT ON)
else()
    set(PELLAVO_SPNG_OPT OFF)
endif()

include(ExternalProject)
ExternalProject_Add(zlib
    URL ${PELLAVO_ZLIB_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_ZLIB_SHA256}
    PATCH_COMMAND ${PELLAVO_ZLIB_SOURCE_PATCH_COMMAND}
    # Debian's tarball leaves out win32/, whose resource script zlib's build
    # names for its DLL on every system but MinGW; the DLL is never built.
    COMMAND ${CMAKE_COMMAND} -E make_directory <SOURCE_DIR>/win32
    COMMAND ${CMAKE_COMMAND} -E touch <SOURCE_DIR>/win32/zlib1.rc
    PREFIX ${PELLAVO_ZLIB_DIR}
    CMAKE_ARGS
        ${PELLAVO_EXTERNAL_CMAKE_ARGS}
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    BUILD_COMMAND ${PELLAVO_ZLIB_BUILD}
    # zconf.h is the one its configure wrote, not the source's.
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/zlib.h <BINARY_DIR>/zconf.h ${PELLAVO_ZLIB_INCLUDE}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/${PELLAVO_ZLIB_BUILT} ${PELLAVO_ZLIB_LIBRARY}
    BUILD_BYPRODUCTS ${PELLAVO_ZLIB_LIBRARY}
)
ExternalProject_Add(libspng
    URL ${PELLAVO_SPNG_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_SPNG_SHA256}
    PATCH_COMMAND ${PELLAVO_SPNG_SOURCE_PATCH_COMMAND}
    PREFIX ${PELLAVO_SPNG_DIR}
    DEPENDS zlib
    CMAKE_ARGS
        ${PELLAVO_EXTERNAL_CMAKE_ARGS}
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        # Its static library's target sets an include folder on the shared
        # one, so configure fails without it; the DLL is never built.
        -DSPNG_SHARED=ON
        -DSPNG_STATIC=ON
        -DBUILD_EXAMPLES=OFF
        -DENABLE_OPT=${PELLAVO_SPNG_OPT}
        # The zlib just built, not one of the toolchain's.
        -DZLIB_INCLUDE_DIR=${PELLAVO_ZLIB_INCLUDE}
        -DZLIB_LIBRARY=${PELLAVO_ZLIB_LIBRARY}
    BUILD_COMMAND ${PELLAVO_SPNG_BUILD}
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/spng/spng.h ${PELLAVO_SPNG_INCLUDE}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libspng_static.a ${PELLAVO_SPNG_LIBRARY}
    BUILD_BYPRODUCTS ${PELLAVO_SPNG_LIBRARY}
)
target_include_directories(pellavo_png SYSTEM INTERFACE ${PELLAVO_SPNG_INCLUDE} ${PELLAVO_ZLIB_INCLUDE})
# libspng calls zlib, so it comes first.
target_link_libraries(pellavo_png INTERFACE ${PELLAVO_SPNG_LIBRARY} ${PELLAVO_ZLIB_LIBRARY})
# Else spng.h declares its functions as imported from a DLL.
target_compile_definitions(pellavo_png INTERFACE SPNG_STATIC)
add_dependencies(pellavo_png libspng zlib)
# What the release says of them: their licences, from their sources.
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICES
    -- "libspng 0.7.4" ${PELLAVO_SPNG_DIR}/src/libspng/LICENSE
    -- "zlib 1.3.1" ${PELLAVO_ZLIB_DIR}/src/zlib/LICENSE)
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICE_TARGETS libspng zlib)
