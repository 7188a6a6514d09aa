# Fails, naming them, when the core libraries define a writable variable: nm's symbol types
# B, b, D, d, u and V (data, bss, unique and weak objects). Type information, vtables, the
# exception personality's reference, the standard library's own template constants and the
# sanitizers' instrumentation (AddressSanitizer's one-definition markers) are read-only in use
# and are not counted.
set(found "")
foreach(library IN LISTS LIBRARIES)
    execute_process(COMMAND ${NM} -C --defined-only ${library}
                    OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "nm failed on ${library}")
    endif()
    string(REPLACE "\n" ";" lines "${symbols}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[0-9a-f]+ [BbDduV] (.*)$")
            set(name "${CMAKE_MATCH_1}")
            if(NOT name MATCHES "^(typeinfo|vtable|DW\\.ref\\.|std::|__gnu_cxx::|__odr_asan|__asan|__ubsan|__sancov)")
                list(APPEND found "${name}")
            endif()
        endif()
    endforeach()
endforeach()
list(LENGTH found count)
if(count GREATER 0)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "${count} writable globals in the core:\n  ${text}")
endif()
message(STATUS "no writable global in ${LIBRARIES}")
