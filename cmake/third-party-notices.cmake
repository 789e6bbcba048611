# Writes the licences of the libraries linked into pellavo.exe into one text
# for the people it is given to, with Windows line ends, as their licences
# ask of a program distributed without its sources.
#
# cmake -DOUTPUT=<file> -P third-party-notices.cmake -- <title> <licence file>... [-- <title> ...]
set(text "Pellavo is built with these libraries, linked into pellavo.exe. Their licences follow.\n")
string(APPEND text "stb_image_resize.h (Sean Barrett) is in the public domain and asks for no notice.\n")
set(reading OFF)
math(EXPR last "${CMAKE_ARGC} - 1")
set(expect_title OFF)
foreach(index RANGE ${last})
    set(argument "${CMAKE_ARGV${index}}")
    if(argument STREQUAL "--")
        set(reading ON)
        set(expect_title ON)
    elseif(reading AND expect_title)
        string(APPEND text "\n\n==== ${argument} ====\n\n")
        set(expect_title OFF)
    elseif(reading)
        if(NOT EXISTS "${argument}")
            message(FATAL_ERROR "The licence ${argument} is missing")
        endif()
        file(READ "${argument}" licence)
        string(APPEND text "${licence}\n")
    endif()
endforeach()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUTPUT}" "${text}")
