# Third-party code is built as Debian ships it: the upstream tarball of its
# source package plus the package's patch series, both pinned by SHA-256.
#
# pellavo_debian_source(<var> NAME <name> ORIG <orig.tar.*> ORIG_SHA256 <hash>
#     DEBIAN <debian.tar.xz> DEBIAN_SHA256 <hash> [SKIP <patch>...])
#
# Checks both tarballs, unpacks the series into the build directory and sets
# <var>_TARBALL (for ExternalProject's URL) and <var>_PATCH_COMMAND (its
# PATCH_COMMAND, run in the unpacked source). SKIP names patches of the series
# that are left out; each must be in the series, so that a new Debian revision
# cannot make a skip silently miss. A package with no debian/patches at all
# has nothing to apply; one with the folder but no series is taken as broken.
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
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;ORIG;ORIG_SHA256;DEBIAN;DEBIAN_SHA256" "SKIP")
    pellavo_check_sha256(${arg_NAME} ${arg_ORIG} ${arg_ORIG_SHA256})
    pellavo_check_sha256(${arg_NAME} ${arg_DEBIAN} ${arg_DEBIAN_SHA256})

    # Unpacked afresh at every configure, so no patch of another revision stays.
    set(debian_dir ${CMAKE_BINARY_DIR}/debian-sources/${arg_NAME})
    file(REMOVE_RECURSE ${debian_dir})
    # All of debian/, small as it is: a pattern that matches nothing fails the extraction.
    file(ARCHIVE_EXTRACT INPUT ${arg_DEBIAN} DESTINATION ${debian_dir})
    set(patch_dir ${debian_dir}/debian/patches)
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
    foreach(patch IN LISTS series)
        if(NOT patch IN_LIST arg_SKIP)
            list(APPEND patches ${patch_dir}/${patch})
        endif()
    endforeach()

    set(${var}_TARBALL ${arg_ORIG} PARENT_SCOPE)
    find_program(PELLAVO_PATCH patch REQUIRED)
    set(${var}_PATCH_COMMAND ${CMAKE_COMMAND} -DPATCH=${PELLAVO_PATCH} -P ${PELLAVO_APPLY_PATCHES_SCRIPT} --
        ${patches} PARENT_SCOPE)
endfunction()
