# Links an executable to Windows DLLs that load only when one of their
# functions is first called, the way MSVC's /DELAYLOAD does: for each DLL a
# delay-import library of the functions that the CALLERS (static libraries
# linked into the target) call is made from the toolchain's import library by
# make-delay-library.cmake. Functions called on a path the process never takes
# never load their DLL.
# Usage: pellavo_delay_load(target CALLERS lib... DLLS dll...)
find_program(PELLAVO_DLLTOOL ${MINGW_TRIPLET}-dlltool REQUIRED)

function(pellavo_delay_load target)
    cmake_parse_arguments(PARSE_ARGV 1 DELAY "" "" "CALLERS;DLLS")
    set(folder ${CMAKE_BINARY_DIR}/delay-load)
    # Joined by "|": a ";" would split the argument.
    set(callers "")
    foreach(caller ${DELAY_CALLERS})
        string(APPEND callers "$<TARGET_FILE:${caller}>|")
    endforeach()
    foreach(dll ${DELAY_DLLS})
        find_library(PELLAVO_IMPORT_${dll} ${dll} REQUIRED NO_CACHE)
        set(library ${folder}/lib${dll}_delay.a)
        set(keepScript ${folder}/${dll}_thunks.ld)
        add_custom_command(OUTPUT ${library} ${keepScript}
            COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${PELLAVO_DLLTOOL} -DDLL=${dll}
                -DIMPORT_LIBRARY=${PELLAVO_IMPORT_${dll}} "-DCALLERS=${callers}"
                -DOUTPUT=${library} -DKEEP_SCRIPT=${keepScript}
                -DDECORATED=$<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},4>,ON,OFF>
                -P ${PELLAVO_DELAY_LOAD_SCRIPT}
            DEPENDS ${PELLAVO_IMPORT_${dll}} ${PELLAVO_DELAY_LOAD_SCRIPT} ${DELAY_CALLERS}
            VERBATIM
            COMMENT "Making the delay-import library of ${dll}.dll")
        add_custom_target(${target}_delay_${dll} DEPENDS ${library} ${keepScript})
        add_dependencies(${target} ${target}_delay_${dll})
        # Before the libraries that bring the ordinary imports of the same
        # names; the script is read by ld as a linker script.
        target_link_libraries(${target} PRIVATE ${keepScript} ${library})
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${library} ${keepScript})
    endforeach()
endfunction()
set(PELLAVO_DELAY_LOAD_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make-delay-library.cmake)
