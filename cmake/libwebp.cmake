# libwebp, libwebpdemux and libwebpmux as the target pellavo_webp. Native
# builds (host, fuzz) use Debian's libwebp-dev.
add_library(pellavo_webp INTERFACE)
if(NOT WIN32)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(PELLAVO_SYSTEM_WEBP REQUIRED IMPORTED_TARGET libwebp libwebpdemux libwebpmux)
    target_link_libraries(pellavo_webp INTERFACE PkgConfig::PELLAVO_SYSTEM_WEBP)
    return()
endif()

# The Windows builds make the same 1.2.4 as Debian's source package, static,
# with its SSE2 and SSE4.1 code picked at run time, using this build's toolchain.
set(PELLAVO_WEBP_TARBALL /var/cache/pellavo/deb-src/libwebp_1.2.4.orig.tar.gz CACHE FILEPATH
    "libwebp 1.2.4's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_WEBP_SHA256 7bf5a8a28cc69bcfa8cb214f2c3095703c6b73ac5fba4d5480c205331d9494df)
set(PELLAVO_WEBP_DEBIAN_TARBALL /var/cache/pellavo/deb-src/libwebp_1.2.4-0.2+deb12u1.debian.tar.xz CACHE FILEPATH
    "Debian's libwebp 1.2.4-0.2+deb12u1 packaging with its patch series (scripts/setup.sh fetches it)")
set(PELLAVO_WEBP_DEBIAN_SHA256 69cdba4dfe2e1b34d55fa80c1b29c31cacd40dd183812d6bcca7e508a2f7afcd)
include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
# Both patches change the library, so none is skipped: one stops the lossless
# decoder writing past its Huffman tables (CVE-2023-4863), one a double free
# when encoding an alpha plane fails (CVE-2023-1999).
pellavo_debian_source(PELLAVO_WEBP_SOURCE NAME libwebp
    ORIG ${PELLAVO_WEBP_TARBALL} ORIG_SHA256 ${PELLAVO_WEBP_SHA256}
    DEBIAN ${PELLAVO_WEBP_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_WEBP_DEBIAN_SHA256}
)

set(PELLAVO_WEBP_DIR ${CMAKE_BINARY_DIR}/libwebp)
set(PELLAVO_WEBP_INCLUDE ${PELLAVO_WEBP_DIR}/include)
# Each depends on the next, the order the linker wants them in.
set(PELLAVO_WEBP_LIBRARIES
    ${PELLAVO_WEBP_DIR}/lib/libwebpmux.a
    ${PELLAVO_WEBP_DIR}/lib/libwebpdemux.a
    ${PELLAVO_WEBP_DIR}/lib/libwebp.a
)
# Targets that use it are configured before it is built.
file(MAKE_DIRECTORY ${PELLAVO_WEBP_INCLUDE}/webp ${PELLAVO_WEBP_DIR}/lib)

# Only the three libraries are built; make shares its job slots.
if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(PELLAVO_WEBP_BUILD $(MAKE) webpdemux libwebpmux)
else()
    set(PELLAVO_WEBP_BUILD ${CMAKE_COMMAND} --build <BINARY_DIR> --target webpdemux libwebpmux)
endif()

include(ExternalProject)
ExternalProject_Add(libwebp
    URL ${PELLAVO_WEBP_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_WEBP_SHA256}
    PATCH_COMMAND ${PELLAVO_WEBP_SOURCE_PATCH_COMMAND}
    PREFIX ${PELLAVO_WEBP_DIR}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DBUILD_SHARED_LIBS=OFF
        -DWEBP_ENABLE_SIMD=ON
        -DWEBP_BUILD_LIBWEBPMUX=ON
        -DWEBP_BUILD_ANIM_UTILS=OFF
        -DWEBP_BUILD_CWEBP=OFF
        -DWEBP_BUILD_DWEBP=OFF
        -DWEBP_BUILD_GIF2WEBP=OFF
        -DWEBP_BUILD_IMG2WEBP=OFF
        -DWEBP_BUILD_VWEBP=OFF
        -DWEBP_BUILD_WEBPINFO=OFF
        -DWEBP_BUILD_WEBPMUX=OFF
        -DWEBP_BUILD_EXTRAS=OFF
        # Its worker thread filters a lossy picture's rows beside the decoding
        # of the next ones: the second core has nothing else to do while a
        # WebP decodes, since its rows come to the resampler all at once.
        -DWEBP_USE_THREAD=ON
        # Only its tools read other formats: it need not look for them.
        -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_JPEG=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_GIF=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_OpenGL=ON
    BUILD_COMMAND ${PELLAVO_WEBP_BUILD}
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy
        <SOURCE_DIR>/src/webp/decode.h <SOURCE_DIR>/src/webp/encode.h <SOURCE_DIR>/src/webp/types.h
        <SOURCE_DIR>/src/webp/demux.h <SOURCE_DIR>/src/webp/mux.h <SOURCE_DIR>/src/webp/mux_types.h
        ${PELLAVO_WEBP_INCLUDE}/webp
    COMMAND ${CMAKE_COMMAND} -E copy
        <BINARY_DIR>/libwebpmux.a <BINARY_DIR>/libwebpdemux.a <BINARY_DIR>/libwebp.a
        ${PELLAVO_WEBP_DIR}/lib
    BUILD_BYPRODUCTS ${PELLAVO_WEBP_LIBRARIES}
)
target_include_directories(pellavo_webp SYSTEM INTERFACE ${PELLAVO_WEBP_INCLUDE})
target_link_libraries(pellavo_webp INTERFACE ${PELLAVO_WEBP_LIBRARIES})
add_dependencies(pellavo_webp libwebp)
# What the release says of it: its licence, from its source.
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICES -- "libwebp 1.2.4" ${PELLAVO_WEBP_DIR}/src/libwebp/COPYING ${PELLAVO_WEBP_DIR}/src/libwebp/PATENTS)
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICE_TARGETS libwebp)
