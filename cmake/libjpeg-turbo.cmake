# libjpeg-turbo as the target pellavo_jpeg: Debian 13's 1:2.1.5-4, static,
# with its SIMD code, built by every preset from the same source.
add_library(pellavo_jpeg INTERFACE)
set(PELLAVO_JPEG_TARBALL /var/cache/pellavo/deb-src/libjpeg-turbo_2.1.5.orig.tar.gz CACHE FILEPATH
    "libjpeg-turbo 2.1.5's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_JPEG_SHA256 254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c)
set(PELLAVO_JPEG_DEBIAN_TARBALL /var/cache/pellavo/deb-src/libjpeg-turbo_2.1.5-4.debian.tar.xz CACHE FILEPATH
    "Debian's libjpeg-turbo 1:2.1.5-4 packaging with its patch series (scripts/setup.sh fetches it)")
set(PELLAVO_JPEG_DEBIAN_SHA256 739e7dc22904dccdc5ab105de57a6e4c1515c0e841e68226e6410ff4976e0e91)
include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
pellavo_debian_source(PELLAVO_JPEG_SOURCE NAME libjpeg-turbo VERSION 1:2.1.5-4
    ORIG ${PELLAVO_JPEG_TARBALL} ORIG_SHA256 ${PELLAVO_JPEG_SHA256}
    DEBIAN ${PELLAVO_JPEG_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_JPEG_DEBIAN_SHA256}
    # Nothing of libjpeg.a changes with these: a man page's groff warning, and
    # an RPATH that only the shared library's tools would carry. The others
    # stay: one fixes SIMD use from more than one thread, and one takes the
    # build date that jcmaster.c writes into the library in UTC.
    SKIP
        1001_fix-groff-warning-macro-f-not-defined.patch
        2001_dont-set-RPATH.patch
)
find_program(PELLAVO_NASM nasm REQUIRED)

set(PELLAVO_JPEG_DIR ${CMAKE_BINARY_DIR}/libjpeg-turbo)
set(PELLAVO_JPEG_INCLUDE ${PELLAVO_JPEG_DIR}/include)
set(PELLAVO_JPEG_LIBRARY ${PELLAVO_JPEG_DIR}/lib/libjpeg.a)
# Targets that use it are configured before it is built.
file(MAKE_DIRECTORY ${PELLAVO_JPEG_INCLUDE} ${PELLAVO_JPEG_DIR}/lib)

# Only the library is built, not its tools and tests.
pellavo_external_build(PELLAVO_JPEG_BUILD jpeg-static)

include(ExternalProject)
ExternalProject_Add(libjpeg_turbo
    URL ${PELLAVO_JPEG_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_JPEG_SHA256}
    PATCH_COMMAND ${PELLAVO_JPEG_SOURCE_PATCH_COMMAND}
    PREFIX ${PELLAVO_JPEG_DIR}
    CMAKE_ARGS
        ${PELLAVO_EXTERNAL_CMAKE_ARGS}
        # Its configure wants a real install folder, though nothing is installed.
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DCMAKE_ASM_NASM_COMPILER=${PELLAVO_NASM}
        -DENABLE_SHARED=OFF
        -DENABLE_STATIC=ON
        -DWITH_TURBOJPEG=OFF
        -DWITH_SIMD=ON
        # No quiet fall-back to plain C when nasm cannot build the SIMD code.
        -DREQUIRE_SIMD=ON
        -DWITH_ARITH_DEC=ON
        -DWITH_ARITH_ENC=ON
    BUILD_COMMAND ${PELLAVO_JPEG_BUILD}
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy
        <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h <BINARY_DIR>/jconfig.h
        ${PELLAVO_JPEG_INCLUDE}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a ${PELLAVO_JPEG_LIBRARY}
    BUILD_BYPRODUCTS ${PELLAVO_JPEG_LIBRARY}
)
target_include_directories(pellavo_jpeg SYSTEM INTERFACE ${PELLAVO_JPEG_INCLUDE})
target_link_libraries(pellavo_jpeg INTERFACE ${PELLAVO_JPEG_LIBRARY})
add_dependencies(pellavo_jpeg libjpeg_turbo)
# What the release says of it: its licence, from its source.
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICES -- "libjpeg-turbo 2.1.5" ${PELLAVO_JPEG_DIR}/src/libjpeg_turbo/LICENSE.md ${PELLAVO_JPEG_DIR}/src/libjpeg_turbo/README.ijg)
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICE_TARGETS libjpeg_turbo)
