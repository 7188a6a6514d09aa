# Installs the build into a scratch prefix and checks that the program, its desktop entry, icon
# and document type land where the desktop looks for them.
set(prefix "${BUILD}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/kaleidra share/applications/kaleidra.desktop
          share/icons/hicolor/scalable/apps/kaleidra.svg share/mime/packages/kaleidra.xml)
    if(NOT EXISTS "${prefix}/${f}")
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
file(READ "${prefix}/share/applications/kaleidra.desktop" desktop)
file(READ "${prefix}/share/mime/packages/kaleidra.xml" mime)
if(NOT desktop MATCHES "MimeType=application/x-kaleidra2d;" OR NOT desktop MATCHES "Exec=kaleidra %f")
    message(FATAL_ERROR "the desktop entry does not open documents")
endif()
if(NOT mime MATCHES "type=\"application/x-kaleidra2d\"" OR NOT mime MATCHES "\\*\\.Kaleidra2D")
    message(FATAL_ERROR "the document type does not match *.Kaleidra2D")
endif()
file(REMOVE_RECURSE "${prefix}")
