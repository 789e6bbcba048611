# Makes a delay-import library of one DLL from its import library, for the
# functions of that DLL which the given static libraries call: they go into a
# module definition, which dlltool turns into thunks that load the DLL on
# their first call. A function called from elsewhere is left to the ordinary
# import library, which comes later on the link line.
#
# Beside the library it writes a linker script naming every thunk as an
# undefined symbol. Code built with dllimport calls through the import slot
# ("__imp_" names) and never names the thunk, and GNU ld for i386 then drops
# the thunk of such an import member and leaves its slot zero: the first call
# jumps to address 0. Naming each thunk keeps it, and the slot points at it.
#
# Run as: cmake -DNM=... -DDLLTOOL=... -DDLL=user32 -DIMPORT_LIBRARY=...
#         "-DCALLERS=a.a|b.a" -DOUTPUT=... -DKEEP_SCRIPT=... -DDECORATED=ON|OFF
#         -P make-delay-library.cmake
# The import thunks' pointers: "__imp_Name" (x64), "__imp__Name@bytes" (x86,
# stdcall names keep their argument bytes for dlltool's --kill-at); the
# thunks themselves: "Name" and "_Name@bytes".
cmake_minimum_required(VERSION 3.25)
if(DECORATED)
    set(pointerPrefix "__imp__")
    set(thunkPrefix "_")
else()
    set(pointerPrefix "__imp_")
    set(thunkPrefix "")
endif()

# The names that follow "prefix" in the symbols of the given kind.
function(list_symbols library kind prefix output)
    execute_process(COMMAND ${NM} ${library} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${NM} could not list ${library}")
    endif()
    string(REGEX MATCHALL " ${kind} ${prefix}[^\n]+" names "${symbols}")
    list(TRANSFORM names REPLACE " ${kind} ${prefix}" "")
    list(REMOVE_DUPLICATES names)
    set(${output} ${names} PARENT_SCOPE)
endfunction()

list_symbols(${IMPORT_LIBRARY} I ${pointerPrefix} exported)
# Called through the slot (dllimport) or through the thunk (a plain declaration).
string(REPLACE "|" ";" callers "${CALLERS}")
set(called "")
foreach(caller ${callers})
    list_symbols(${caller} U ${pointerPrefix} throughSlot)
    list_symbols(${caller} U "${thunkPrefix}" throughThunk)
    list(APPEND called ${throughSlot} ${throughThunk})
endforeach()
list(REMOVE_DUPLICATES called)
set(delayed "")
foreach(name ${called})
    if(name IN_LIST exported)
        list(APPEND delayed ${name})
    endif()
endforeach()
if(NOT delayed)
    message(FATAL_ERROR "${callers} call no function of ${DLL}.dll: it need not be delay-loaded")
endif()
list(SORT delayed)

get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
list(JOIN delayed "\n    " exports)
set(definition ${folder}/${DLL}.def)
file(WRITE ${definition} "LIBRARY ${DLL}.dll\nEXPORTS\n    ${exports}\n")
# Quoted, as "@" is no letter of a linker script's names.
list(TRANSFORM delayed PREPEND "\"${thunkPrefix}" OUTPUT_VARIABLE thunks)
list(JOIN thunks "\" " thunks)
file(WRITE ${KEEP_SCRIPT} "EXTERN(${thunks}\")\n")

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
