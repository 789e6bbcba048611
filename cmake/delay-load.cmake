# Links an executable to Windows DLLs that load only when one of their
# functions is first called, the way MSVC's /DELAYLOAD does: for each DLL a
# delay-import library is made from the toolchain's import library by
# make-delay-library.cmake. Functions called on a path the process never takes
# never load their DLL.
find_program(PELLAVO_DLLTOOL ${MINGW_TRIPLET}-dlltool REQUIRED)

function(pellavo_delay_load target)
    set(folder ${CMAKE_BINARY_DIR}/delay-load)
    foreach(dll ${ARGN})
        find_library(PELLAVO_IMPORT_${dll} ${dll} REQUIRED NO_CACHE)
        set(library ${folder}/lib${dll}_delay.a)
        add_custom_command(OUTPUT ${library}
            COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${PELLAVO_DLLTOOL} -DDLL=${dll}
                -DIMPORT_LIBRARY=${PELLAVO_IMPORT_${dll}} -DOUTPUT=${library}
                -DDECORATED=$<IF:$<EQUAL:${CMAKE_SIZEOF_VOID_P},4>,ON,OFF>
                -P ${PELLAVO_DELAY_LOAD_SCRIPT}
            DEPENDS ${PELLAVO_IMPORT_${dll}} ${PELLAVO_DELAY_LOAD_SCRIPT}
            COMMENT "Making the delay-import library of ${dll}.dll")
        add_custom_target(${target}_delay_${dll} DEPENDS ${library})
        add_dependencies(${target} ${target}_delay_${dll})
        # Before the libraries that bring the ordinary imports of the same names.
        target_link_libraries(${target} PRIVATE ${library})
    endforeach()
endfunction()
set(PELLAVO_DELAY_LOAD_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make-delay-library.cmake)
