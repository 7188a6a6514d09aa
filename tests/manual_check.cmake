# The manual page and `kaleidra --help` name the same options: every option the program lists is
# described in the manual page, and the manual page describes no option the program lacks.
# Run as: cmake -DKALEIDRA=<program> -DMANPAGE=<kaleidra.1> -P manual_check.cmake
cmake_minimum_required(VERSION 3.25)
find_program(groff groff)
if(NOT groff)
    message(FATAL_ERROR "groff is missing: install groff-base (bash scripts/setup.sh)")
endif()
execute_process(COMMAND "${KALEIDRA}" --help RESULT_VARIABLE rc OUTPUT_VARIABLE help)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "kaleidra --help failed: ${rc}")
endif()
execute_process(COMMAND "${groff}" -man -Tutf8 -P-cbou "${MANPAGE}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE page)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "groff cannot render ${MANPAGE}: ${rc}")
endif()
# A typesetter may print the hyphens of an option as minus signs or hyphens proper.
string(REPLACE "−" "-" page "${page}")
string(REPLACE "‐" "-" page "${page}")

# Words that begin with one or two hyphens and a letter. Everything but letters, digits and
# hyphens becomes a space first, which also keeps brackets and semicolons out of the lists.
function(options_of out text)
    string(REGEX REPLACE "[^A-Za-z0-9-]+" " " text " ${text}")
    string(REGEX MATCHALL " --?[A-Za-z][A-Za-z0-9-]*" found "${text}")
    set(names "")
    foreach(f IN LISTS found)
        string(STRIP "${f}" f)
        list(APPEND names "${f}")
    endforeach()
    list(REMOVE_DUPLICATES names)
    list(SORT names)
    set(${out} "${names}" PARENT_SCOPE)
endfunction()
# The OPTIONS section runs from its heading to the next one (headings start in the first column).
string(FIND "${page}" "\nOPTIONS\n" start)
if(start EQUAL -1)
    message(FATAL_ERROR "the manual page ${MANPAGE} has no OPTIONS section")
endif()
string(SUBSTRING "${page}" ${start} -1 section)
string(SUBSTRING "${section}" 9 -1 section)
string(REGEX MATCH "\n[A-Z][^\n]*\n" next "${section}")
if(next)
    string(FIND "${section}" "${next}" end)
    string(SUBSTRING "${section}" 0 ${end} section)
endif()

options_of(helpOptions "${help}")
options_of(describedOptions "${section}")
options_of(pageOptions "${page}")
if(NOT helpOptions)
    message(FATAL_ERROR "kaleidra --help names no option")
endif()

set(missing "${helpOptions}")
list(REMOVE_ITEM missing ${describedOptions})
set(extra "${pageOptions}")
list(REMOVE_ITEM extra ${helpOptions})
if(missing)
    message(FATAL_ERROR "kaleidra --help lists ${missing}, which the OPTIONS of the manual page "
                        "${MANPAGE} do not describe")
endif()
if(extra)
    message(FATAL_ERROR "the manual page ${MANPAGE} describes ${extra}, which kaleidra --help "
                        "does not list")
endif()
