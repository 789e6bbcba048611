# Makes a delay-import library of one DLL from its import library: every
# function the import library names goes into a module definition, which
# dlltool turns into thunks that load the DLL on their first call.
# Run as: cmake -DNM=... -DDLLTOOL=... -DDLL=user32 -DIMPORT_LIBRARY=... -DOUTPUT=...
#         -DDECORATED=ON|OFF -P make-delay-library.cmake
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${NM} could not list ${IMPORT_LIBRARY}")
endif()
# The import thunks' pointers: "__imp_Name" (x64), "__imp__Name@bytes" (x86,
# stdcall names keep their argument bytes for dlltool's --kill-at).
if(DECORATED)
    set(prefix "__imp__")
else()
    set(prefix "__imp_")
endif()
string(REGEX MATCHALL " I ${prefix}[^\n]+" pointers "${symbols}")
set(exports "")
foreach(pointer ${pointers})
    string(REPLACE " I ${prefix}" "" name "${pointer}")
    string(APPEND exports "    ${name}\n")
endforeach()
if(exports STREQUAL "")
    message(FATAL_ERROR "${IMPORT_LIBRARY} names no function of ${DLL}.dll")
endif()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
set(definition ${folder}/${DLL}.def)
file(WRITE ${definition} "LIBRARY ${DLL}.dll\nEXPORTS\n${exports}")
set(killAt "")
if(DECORATED)
    set(killAt --kill-at)
endif()
execute_process(COMMAND ${DLLTOOL} --input-def ${definition} --dllname ${DLL}.dll ${killAt}
                        --output-delaylib ${OUTPUT}
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${DLLTOOL} could not make ${OUTPUT}")
endif()
