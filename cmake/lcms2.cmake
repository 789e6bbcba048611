# Little CMS as the target pellavo_lcms: Debian 13's 2.16-2+deb13u2, static,
# built by every preset from the same source. It turns a photo's inks into
# colours through the photo's own profile.
add_library(pellavo_lcms INTERFACE)
set(PELLAVO_LCMS_TARBALL /var/cache/pellavo/deb-src/lcms2_2.16.orig.tar.gz CACHE FILEPATH
    "Little CMS 2.16's upstream tarball, from Debian's source package (scripts/setup.sh fetches it)")
set(PELLAVO_LCMS_SHA256 d873d34ad8b9b4cea010631f1a6228d2087475e4dc5e763eb81acc23d9d45a51)
set(PELLAVO_LCMS_DEBIAN_TARBALL /var/cache/pellavo/deb-src/lcms2_2.16-2+deb13u2.debian.tar.xz CACHE FILEPATH
    "Debian's lcms2 2.16-2+deb13u2 packaging with its patch series (scripts/setup.sh fetches it)")
set(PELLAVO_LCMS_DEBIAN_SHA256 bb72de5dc4164e1023a6d124c57789b6abee866d3b76c878d0771b86fb720de9)
include(${CMAKE_CURRENT_LIST_DIR}/debian-source.cmake)
# All are applied: the two CVE fixes and the restored cmsGetToneCurveParams
# change the library; the rest change only its autotools and meson files and
# manual pages, which this build does not use.
pellavo_debian_source(PELLAVO_LCMS_SOURCE NAME lcms2 VERSION 2.16-2+deb13u2
    ORIG ${PELLAVO_LCMS_TARBALL} ORIG_SHA256 ${PELLAVO_LCMS_SHA256}
    DEBIAN ${PELLAVO_LCMS_DEBIAN_TARBALL} DEBIAN_SHA256 ${PELLAVO_LCMS_DEBIAN_SHA256}
)

set(PELLAVO_LCMS_DIR ${CMAKE_BINARY_DIR}/lcms2)
set(PELLAVO_LCMS_INCLUDE ${PELLAVO_LCMS_DIR}/include)
set(PELLAVO_LCMS_LIBRARY ${PELLAVO_LCMS_DIR}/lib/liblcms2.a)
# Targets that use it are configured before it is built.
file(MAKE_DIRECTORY ${PELLAVO_LCMS_INCLUDE} ${PELLAVO_LCMS_DIR}/lib)
pellavo_external_build(PELLAVO_LCMS_BUILD lcms2)

include(ExternalProject)
ExternalProject_Add(lcms2
    URL ${PELLAVO_LCMS_SOURCE_TARBALL}
    URL_HASH SHA256=${PELLAVO_LCMS_SHA256}
    PATCH_COMMAND ${PELLAVO_LCMS_SOURCE_PATCH_COMMAND}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/lcms2/CMakeLists.txt <SOURCE_DIR>
    PREFIX ${PELLAVO_LCMS_DIR}
    CMAKE_ARGS
        ${PELLAVO_EXTERNAL_CMAKE_ARGS}
    BUILD_COMMAND ${PELLAVO_LCMS_BUILD}
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/include/lcms2.h ${PELLAVO_LCMS_INCLUDE}
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/liblcms2.a ${PELLAVO_LCMS_LIBRARY}
    BUILD_BYPRODUCTS ${PELLAVO_LCMS_LIBRARY}
)
target_include_directories(pellavo_lcms SYSTEM INTERFACE ${PELLAVO_LCMS_INCLUDE})
target_link_libraries(pellavo_lcms INTERFACE ${PELLAVO_LCMS_LIBRARY})
add_dependencies(pellavo_lcms lcms2)
# What the release says of it: its licence, from its source.
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICES -- "Little CMS 2.16" ${PELLAVO_LCMS_DIR}/src/lcms2/LICENSE)
set_property(GLOBAL APPEND PROPERTY PELLAVO_NOTICE_TARGETS lcms2)
