# Third-party code is built as Debian ships it: the upstream tarball of its
# source package plus the package's patch series, both pinned by SHA-256.
#
# pellavo_debian_source(<var> NAME <name> VERSION <Debian version>
#     ORIG <orig.tar.*> ORIG_SHA256 <hash>
#     [DEBIAN <debian.tar.xz> DEBIAN_SHA256 <hash>] [SKIP <patch>...])
#
# Checks both tarballs, unpacks the series into the build directory and sets
# <var>_TARBALL (for ExternalProject's URL) and <var>_PATCH_COMMAND (its
# PATCH_COMMAND, run in the unpacked source). SKIP names patches of the series
# that are left out; each must be in the series, so that a new Debian revision
# cannot make a skip silently miss. A package with no debian/patches at all
# has nothing to apply; one with the folder but no series is taken as broken.
# Without DEBIAN, the orig tarball is built as it is (the caller says why).
# The configure log names the version and the patches applied and skipped.
#
# The same sources build every preset: the Windows ones with their toolchain,
# the native ones (host, fuzz) with this build's compilers and flags, so that
# the sanitizers and the fuzzers' coverage reach inside the libraries.
if(WIN32)
    set(PELLAVO_EXTERNAL_CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release)
else()
    set(PELLAVO_EXTERNAL_CMAKE_ARGS
        -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
        -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
        "-DCMAKE_C_FLAGS=${CMAKE_C_FLAGS}"
        "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
        # A release build at the preset's own optimisation (-O1 for the
        # fuzzers, none under ASan), which compiles far faster than -O3.
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_C_FLAGS_RELEASE=-DNDEBUG
        -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG
        -DCMAKE_POSITION_INDEPENDENT_CODE=ON)
endif()

# pellavo_external_build(<var> <target>...): the BUILD_COMMAND that builds
# only those targets of a library's own build; make shares its job slots.
function(pellavo_external_build var)
    if(CMAKE_GENERATOR MATCHES "Makefiles")
        set(${var} $(MAKE) ${ARGN} PARENT_SCOPE)
    else()
        set(${var} ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${ARGN} PARENT_SCOPE)
    endif()
endfunction()

set(PELLAVO_APPLY_PATCHES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/apply-patches.cmake)

function(pellavo_check_sha256 name file expected)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "${file} is missing: run scripts/setup.sh "
            "(it fetches Debian's ${name} source package)")
    endif()
    file(SHA256 ${file} actual)
    if(NOT actual STREQUAL expected)
        message(FATAL_ERROR "${file} has SHA-256 ${actual}, not ${expected} of Debian's ${name} "
            "source package: delete it and run scripts/setup.sh")
    endif()
endfunction()

function(pellavo_debian_source var)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;VERSION;ORIG;ORIG_SHA256;DEBIAN;DEBIAN_SHA256" "SKIP")
    pellavo_check_sha256(${arg_NAME} ${arg_ORIG} ${arg_ORIG_SHA256})

    # Unpacked afresh at every configure, so no patch of another revision stays.
    set(debian_dir ${CMAKE_BINARY_DIR}/debian-sources/${arg_NAME})
    file(REMOVE_RECURSE ${debian_dir})
    set(patch_dir ${debian_dir}/debian/patches)
    if(arg_DEBIAN)
        pellavo_check_sha256(${arg_NAME} ${arg_DEBIAN} ${arg_DEBIAN_SHA256})
        # All of debian/, small as it is: a pattern that matches nothing fails the extraction.
        file(ARCHIVE_EXTRACT INPUT ${arg_DEBIAN} DESTINATION ${debian_dir})
    endif()
    if(EXISTS ${patch_dir}/series)
        # quilt's series: a patch a line, maybe with its options, comments after #.
        # Only -p1 is taken, the level dpkg-source itself applies them at.
        file(STRINGS ${patch_dir}/series lines)
    elseif(EXISTS ${patch_dir})
        message(FATAL_ERROR "${arg_DEBIAN} holds debian/patches but no debian/patches/series")
    else()
        set(lines)
    endif()
    set(series)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(STRIP "${line}" line)
        if(line MATCHES "[ \t]" AND NOT line MATCHES "[ \t]-p1$")
            message(FATAL_ERROR "${arg_NAME}'s series line \"${line}\" asks for options other than -p1")
        endif()
        string(REGEX REPLACE "[ \t].*" "" line "${line}")
        if(line)
            list(APPEND series ${line})
        endif()
    endforeach()
    foreach(skipped IN LISTS arg_SKIP)
        if(NOT skipped IN_LIST series)
            message(FATAL_ERROR "${arg_NAME}: the skipped patch ${skipped} is not in ${patch_dir}/series")
        endif()
    endforeach()
    set(patches)
    set(applied)
    foreach(patch IN LISTS series)
        if(NOT patch IN_LIST arg_SKIP)
            list(APPEND patches ${patch_dir}/${patch})
            list(APPEND applied ${patch})
        endif()
    endforeach()
    foreach(kind IN ITEMS applied arg_SKIP)
        list(JOIN ${kind} ", " ${kind}_text)
        if(NOT ${kind})
            set(${kind}_text none)
        endif()
    endforeach()
    message(STATUS "${arg_NAME} ${arg_VERSION} (Debian 13's source package): "
        "patches applied: ${applied_text}; skipped: ${arg_SKIP_text}")

    set(${var}_TARBALL ${arg_ORIG} PARENT_SCOPE)
    find_program(PELLAVO_PATCH patch REQUIRED)
    set(${var}_PATCH_COMMAND ${CMAKE_COMMAND} -DPATCH=${PELLAVO_PATCH} -P ${PELLAVO_APPLY_PATCHES_SCRIPT} --
        ${patches} PARENT_SCOPE)
endfunction()
