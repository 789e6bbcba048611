# libspng with zlib as the target pellavo_png. Native builds (host, fuzz) use
# Debian's libspng-dev and the zlib1g-dev it pulls in.
add_library(pellavo_png INTERFACE)
if(NOT WIN32)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(PELLAVO_SYSTEM_SPNG REQUIRED IMPORTED_TARGET spng zlib)
    target_link_libraries(pellavo_png INTERFACE PkgConfig::PELLAVO_SYSTEM_SPNG)
    return()
endif()

# The Windows builds make the same zlib 1.2.13 and libspng 0.7.3 as Debian's
# source packages, static, using this build's toolchain.
#
# zlib is 1:1.2.13.dfsg-1, not bookworm's security revision +deb12u1: that
# one's files are not on every mirror, and all it changes is minizip, which is
# not built here.
set(PELLAVO_ZLIB_TARBALL /var/cache/pellavo/deb-src/zlib_1.2.13.dfsg.orig.tar.bz2 CACHE FILEPATH
    "zlib 1.2.13's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_ZLIB_SHA256 71feb7947e3c00ef125f83b79a4e529bde31171e5babe48b391f06758d1ab0a1)
set(PELLAVO_ZLIB_DEBIAN_TARBALL /var/cache/pellavo/deb-src/zlib_1.2.13.dfsg-1.debian.tar.xz CACHE FILEPATH
    "Debian's zlib 1:1.2.13.dfsg-1 packaging with its patch series (scripts/setup.sh fetches it)")
set(PELLAVO_ZLIB_DEBIAN_SHA256 f66cf3d4f2d7defcd4d1fd1fb0a11ee39f1e01b42ec7d059c9dc5c1695133c44)
set(PELLAVO_SPNG_TARBALL /var/cache/pellavo/deb-src/libspng_0.7.3.orig.tar.gz CACHE FILEPATH
    "libspng 0.7.3's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_SPNG_SHA256 a50cadbe808ffda1a7fab17d145f52a23b163f34b3eb3696c7ecb5a52340fc1d)
set(PELLAVO_SPNG_DEBIAN_TARBALL /var/cache/pellavo/deb-src/libspng_0.7.3-3.debian.tar.xz CACHE FILEPATH
    "Debian's libspng 0.7.3-3 packaging, which patches nothing (scripts/setup.sh fetches it)")
set(PELLAVO_SPNG_DEBIAN_SHA256 d24b992ef0839350dda99083a0c62a0bb1e403800ba9e9dfcf57754ba297d187)
include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
pellavo_debian_source(PELLAVO_ZLIB_SOURCE NAME zlib
    ORIG ${PELLAVO_ZLIB_TARBALL} ORIG_SHA256 ${PELLAVO_ZLIB_SHA256}
    DEBIAN ${PELLAVO_ZLIB_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_ZLIB_DEBIAN_SHA256}
    # Both change only minizip's Makefile (its CFLAGS and LDFLAGS, and linking
    # the shared libz); minizip is not built, so nothing of the library changes.
    SKIP
        cflags-for-minizip
        use-dso-really
)
pellavo_debian_source(PELLAVO_SPNG_SOURCE NAME libspng
    ORIG ${PELLAVO_SPNG_TARBALL} ORIG_SHA256 ${PELLAVO_SPNG_SHA256}
    DEBIAN ${PELLAVO_SPNG_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_SPNG_DEBIAN_SHA256}
)

set(PELLAVO_ZLIB_DIR ${CMAKE_BINARY_DIR}/zlib)
set(PELLAVO_ZLIB_INCLUDE ${PELLAVO_ZLIB_DIR}/include)
set(PELLAVO_ZLIB_LIBRARY ${PELLAVO_ZLIB_DIR}/lib/libzlibstatic.a)
set(PELLAVO_SPNG_DIR ${CMAKE_BINARY_DIR}/libspng)
set(PELLAVO_SPNG_INCLUDE ${PELLAVO_SPNG_DIR}/include)
set(PELLAVO_SPNG_LIBRARY ${PELLAVO_SPNG_DIR}/lib/libspng_static.a)
# Targets that use them are configured before they are built.
file(MAKE_DIRECTORY ${PELLAVO_ZLIB_INCLUDE} ${PELLAVO_ZLIB_DIR}/lib ${PELLAVO_SPNG_INCLUDE} ${PELLAVO_SPNG_DIR}/lib)

# Only the static libraries are built, not the DLLs, tests and examples; make
# shares its job slots.
if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(PELLAVO_ZLIB_BUILD $(MAKE) zlibstatic)
    set(PELLAVO_SPNG_BUILD $(MAKE) spng_static)
else()
    set(PELLAVO_ZLIB_BUILD ${CMAKE_COMMAND} --build <BINARY_DIR> --target zlibstatic)
    set(PELLAVO_SPNG_BUILD ${CMAKE_COMMAND} --build <BINARY_DIR> --target spng_static)
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
    PREFIX ${PELLAVO_ZLIB_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    BUILD_COMMAND ${PELLAVO_ZLIB_BUILD}
    # zconf.h is the one its configure wrote, not the source's.
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/zlib.h <BINARY_DIR>/zconf.h ${PELLAVO_ZLIB_INCLUDE}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libzlibstatic.a ${PELLAVO_ZLIB_LIBRARY}
    BUILD_BYPRODUCTS ${PELLAVO_ZLIB_LIBRARY}
)
ExternalProject_Add(libspng
    URL ${PELLAVO_SPNG_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_SPNG_SHA256}
    PATCH_COMMAND ${PELLAVO_SPNG_SOURCE_PATCH_COMMAND}
    PREFIX ${PELLAVO_SPNG_DIR}
    DEPENDS zlib
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
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
    -- "libspng 0.7.3" ${PELLAVO_SPNG_DIR}/src/libspng/LICENSE
    -- "zlib 1.2.13" ${PELLAVO_ZLIB_DIR}/src/zlib/LICENSE)
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICE_TARGETS libspng zlib)
