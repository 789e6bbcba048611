# libwebp, libwebpdemux, libwebpmux and libsharpyuv as the target
# pellavo_webp: Debian 13's 1.5.0-0.1, static, with its SSE2 and SSE4.1 code
# picked at run time, built by every preset from the same source.
add_library(pellavo_webp INTERFACE)
set(PELLAVO_WEBP_TARBALL /var/cache/pellavo/deb-src/libwebp_1.5.0.orig.tar.gz CACHE FILEPATH
    "libwebp 1.5.0's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_WEBP_SHA256 7d6fab70cf844bf6769077bd5d7a74893f8ffd4dfb42861745750c63c2a5c92c)
set(PELLAVO_WEBP_DEBIAN_TARBALL /var/cache/pellavo/deb-src/libwebp_1.5.0-0.1.debian.tar.xz CACHE FILEPATH
    "Debian's libwebp 1.5.0-0.1 packaging with its patch series (scripts/setup.sh fetches it)")
set(PELLAVO_WEBP_DEBIAN_SHA256 0dc0e727dc5f5e04ddd41b482f964626e92658099981b57ddd156b530ae01826)
include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
# Both patches change only where the shared library's CMake files and the
# tools are installed; nothing is installed here, so they change nothing built.
pellavo_debian_source(PELLAVO_WEBP_SOURCE NAME libwebp VERSION 1.5.0-0.1
    ORIG ${PELLAVO_WEBP_TARBALL} ORIG_SHA256 ${PELLAVO_WEBP_SHA256}
    DEBIAN ${PELLAVO_WEBP_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_WEBP_DEBIAN_SHA256}
    SKIP
        0001-CMakeLists.txt-Install-CMake-Config-to-arch-dep-loca.patch
        install-additional-tools.patch
)

set(PELLAVO_WEBP_DIR ${CMAKE_BINARY_DIR}/libwebp)
set(PELLAVO_WEBP_INCLUDE ${PELLAVO_WEBP_DIR}/include)
# Each depends on the next, the order the linker wants them in.
set(PELLAVO_WEBP_LIBRARIES
    ${PELLAVO_WEBP_DIR}/lib/libwebpmux.a
    ${PELLAVO_WEBP_DIR}/lib/libwebpdemux.a
    ${PELLAVO_WEBP_DIR}/lib/libwebp.a
    ${PELLAVO_WEBP_DIR}/lib/libsharpyuv.a
)
# Targets that use it are configured before it is built.
file(MAKE_DIRECTORY ${PELLAVO_WEBP_INCLUDE}/webp ${PELLAVO_WEBP_DIR}/lib)

# Only the libraries are built.
pellavo_external_build(PELLAVO_WEBP_BUILD webpdemux libwebpmux)

include(ExternalProject)
ExternalProject_Add(libwebp
    URL ${PELLAVO_WEBP_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_WEBP_SHA256}
    PATCH_COMMAND ${PELLAVO_WEBP_SOURCE_PATCH_COMMAND}
    PREFIX ${PELLAVO_WEBP_DIR}
    CMAKE_ARGS
        ${PELLAVO_EXTERNAL_CMAKE_ARGS}
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
        <BINARY_DIR>/libwebpmux.a <BINARY_DIR>/libwebpdemux.a <BINARY_DIR>/libwebp.a <BINARY_DIR>/libsharpyuv.a
        ${PELLAVO_WEBP_DIR}/lib
    BUILD_BYPRODUCTS ${PELLAVO_WEBP_LIBRARIES}
)
target_include_directories(pellavo_webp SYSTEM INTERFACE ${PELLAVO_WEBP_INCLUDE})
target_link_libraries(pellavo_webp INTERFACE ${PELLAVO_WEBP_LIBRARIES})
add_dependencies(pellavo_webp libwebp)
# What the release says of it: its licence, from its source.
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICES -- "libwebp 1.5.0" ${PELLAVO_WEBP_DIR}/src/libwebp/COPYING ${PELLAVO_WEBP_DIR}/src/libwebp/PATENTS)
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICE_TARGETS libwebp)
