# Applies the patches named after the script, in order, to the current
# directory: cmake -DPATCH=/usr/bin/patch -P apply-patches.cmake -- A.patch B.patch
# A patch found already applied (the step run again on the same source) is
# passed over; any other that does not apply stops the build, naming it.
set(patches)
set(after_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(index RANGE ${last})
    if(after_separator)
        list(APPEND patches ${CMAKE_ARGV${index}})
    elseif(CMAKE_ARGV${index} STREQUAL "--")
        set(after_separator TRUE)
    endif()
endforeach()
foreach(patch_file IN LISTS patches)
    get_filename_component(patch_name ${patch_file} NAME)
    execute_process(COMMAND ${PATCH} -p1 --fuzz=0 --forward --batch --dry-run -i ${patch_file}
        RESULT_VARIABLE forward OUTPUT_VARIABLE forward_output ERROR_VARIABLE forward_output)
    if(NOT forward EQUAL 0)
        execute_process(COMMAND ${PATCH} -p1 --fuzz=0 --reverse --batch --dry-run -i ${patch_file}
            RESULT_VARIABLE reverse OUTPUT_QUIET ERROR_QUIET)
        if(reverse EQUAL 0)
            message(STATUS "${patch_name}: already applied")
            continue()
        endif()
        # patch's own words first, as it wrote them, so that the build's last line names the patch.
        message(NOTICE "${forward_output}")
        message(FATAL_ERROR "The patch ${patch_name} does not apply to ${CMAKE_CURRENT_SOURCE_DIR} "
            "(${patch_file})")
    endif()
    execute_process(COMMAND ${PATCH} -p1 --fuzz=0 --forward --batch --silent --no-backup-if-mismatch -i ${patch_file} COMMAND_ERROR_IS_FATAL ANY)
    message(STATUS "Applied ${patch_name}")
endforeach()
