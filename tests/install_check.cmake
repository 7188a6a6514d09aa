# Installs the build into a scratch prefix and checks that the desktop finds everything it looks
# for: the program, its desktop entry, icon, document type, thumbnailer, manual page and
# software-centre entry; that the entries name each other correctly and pass Debian's validators;
# that the thumbnailer's own command line makes a thumbnail of a document and nothing of a hostile
# one; and that the manual page renders without a warning.
# Run as: cmake -DBUILD=<build dir> -DCORPUS=<folder of test documents> -P install_check.cmake
cmake_minimum_required(VERSION 3.25)
set(prefix "${BUILD}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(desktopFile share/applications/org.kaleidra.Kaleidra.desktop)
set(metainfoFile share/metainfo/org.kaleidra.Kaleidra.metainfo.xml)
set(thumbnailerFile share/thumbnailers/kaleidra.thumbnailer)
set(mimeFile share/mime/packages/kaleidra.xml)
set(manFile share/man/man1/kaleidra.1)
foreach(f bin/kaleidra ${desktopFile} ${metainfoFile} ${thumbnailerFile} ${mimeFile} ${manFile}
          share/icons/hicolor/scalable/apps/kaleidra.svg)
    if(NOT EXISTS "${prefix}/${f}")
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()

function(require_tool var name package)
    find_program(${var} ${name})
    if(NOT ${var})
        message(FATAL_ERROR "${name} is missing: install ${package} (bash scripts/setup.sh)")
    endif()
endfunction()
require_tool(desktopFileValidate desktop-file-validate desktop-file-utils)
require_tool(appstreamcli appstreamcli appstream)
require_tool(groff groff groff-base)
require_tool(man man man-db)

# The value of the one "Key=value" line of a desktop-style file.
function(entry_value out file key)
    file(READ "${prefix}/${file}" text)
    string(REGEX MATCHALL "(^|\n)${key}=" keys "${text}")
    list(LENGTH keys n)
    if(NOT n EQUAL 1)
        message(FATAL_ERROR "${file} has ${n} ${key}= lines, not one")
    endif()
    string(REGEX MATCH "(^|\n)${key}=[^\n]*" line "${text}")
    string(REGEX REPLACE "^\n?${key}=" "" value "${line}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

# The validators, with hints counted as failures.
execute_process(COMMAND "${desktopFileValidate}" "${prefix}/${desktopFile}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate refuses the desktop entry (${rc}):\n${out}")
endif()
execute_process(COMMAND "${appstreamcli}" validate --no-net "${prefix}/${metainfoFile}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate refuses the metainfo (${rc}):\n${out}")
endif()

# The entries name each other: a rename that leaves one reference behind breaks the desktop quietly.
set(type "application/x-kaleidra2d")
entry_value(desktopExec ${desktopFile} Exec)
entry_value(desktopIcon ${desktopFile} Icon)
entry_value(desktopTypes ${desktopFile} MimeType)
entry_value(thumbnailerTypes ${thumbnailerFile} MimeType)
entry_value(thumbnailerTry ${thumbnailerFile} TryExec)
file(READ "${prefix}/${metainfoFile}" metainfo)
file(READ "${prefix}/${mimeFile}" mime)
if(NOT desktopExec STREQUAL "kaleidra %f" OR NOT thumbnailerTry STREQUAL "kaleidra")
    message(FATAL_ERROR "the entries do not run the installed kaleidra")
endif()
if(NOT EXISTS "${prefix}/share/icons/hicolor/scalable/apps/${desktopIcon}.svg" OR
   NOT mime MATCHES "<icon name=\"${desktopIcon}\"/>")
    message(FATAL_ERROR "the icon ${desktopIcon} of the desktop entry is not the installed one")
endif()
if(NOT desktopTypes STREQUAL "${type};" OR NOT thumbnailerTypes STREQUAL "${type};" OR
   NOT mime MATCHES "type=\"${type}\"" OR NOT mime MATCHES "\\*\\.Kaleidra2D" OR
   NOT metainfo MATCHES "<mediatype>${type}</mediatype>")
    message(FATAL_ERROR "the entries do not agree on the document type ${type}")
endif()
if(NOT metainfo MATCHES "<id>org\\.kaleidra\\.Kaleidra</id>" OR
   NOT metainfo MATCHES "<launchable type=\"desktop-id\">org\\.kaleidra\\.Kaleidra\\.desktop<" OR
   NOT metainfo MATCHES "<binary>kaleidra</binary>")
    message(FATAL_ERROR "the metainfo does not name the installed desktop entry and program")
endif()

# The version is said in three places besides the program.
execute_process(COMMAND "${prefix}/bin/kaleidra" --version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REGEX REPLACE "^kaleidra " "" version "${version}")
file(STRINGS "${prefix}/${manFile}" th REGEX "^\\.TH ")
string(REGEX MATCH "<release version=\"[^\"]*\"" release "${metainfo}")
if(NOT th MATCHES "\"Kaleidra ${version}\"" OR NOT release STREQUAL "<release version=\"${version}\"")
    message(FATAL_ERROR "the manual page (${th}) or the newest release of the metainfo "
                        "(${release}) is not version ${version}")
endif()

# The thumbnailer's command line as a file manager runs it: split into words, then %i, %o and %s
# filled in within each word, the program found on PATH.
entry_value(thumbnailExec ${thumbnailerFile} Exec)
separate_arguments(thumbnailWords UNIX_COMMAND "${thumbnailExec}")
set(ENV{PATH} "${prefix}/bin:$ENV{PATH}")
function(run_thumbnailer input output size)
    set(words "")
    foreach(w IN LISTS thumbnailWords)
        string(REPLACE "%i" "${input}" w "${w}")
        string(REPLACE "%o" "${output}" w "${w}")
        string(REPLACE "%s" "${size}" w "${w}")
        list(APPEND words "${w}")
    endforeach()
    execute_process(COMMAND ${words} TIMEOUT 30 RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    set(rc "${rc}" PARENT_SCOPE)
endfunction()

set(thumbnail "${prefix}/thumbnail.png")
run_thumbnailer("${CORPUS}/other_writer.xml.Kaleidra2D" "${thumbnail}" 256)
if(NOT rc EQUAL 0 OR NOT EXISTS "${thumbnail}")
    message(FATAL_ERROR "the thumbnailer made no thumbnail of a good document: ${rc}")
endif()
# A PNG opens with its 8-byte signature and the IHDR chunk: length, "IHDR", width, height.
file(READ "${thumbnail}" head LIMIT 24 HEX)
string(SUBSTRING "${head}" 0 32 magic)
string(SUBSTRING "${head}" 32 8 width)
string(SUBSTRING "${head}" 40 8 height)
math(EXPR width "0x${width}")
math(EXPR height "0x${height}")
if(NOT magic STREQUAL "89504e470d0a1a0a0000000d49484452" OR NOT width EQUAL 256 OR
   NOT height EQUAL 256)
    message(FATAL_ERROR "the thumbnail is not a 256 x 256 PNG: ${width} x ${height}, ${magic}")
endif()

file(GLOB hostile "${CORPUS}/hostile_*.Kaleidra2D")
if(NOT hostile)
    message(FATAL_ERROR "no hostile documents under ${CORPUS}")
endif()
# A FIFO named like a document: opening it for reading would wait for a writer that never comes.
set(fifo "${prefix}/fifo.Kaleidra2D")
execute_process(COMMAND mkfifo "${fifo}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "mkfifo failed: ${rc}")
endif()
list(APPEND hostile "${fifo}")
foreach(doc IN LISTS hostile)
    set(out "${prefix}/hostile.png")
    run_thumbnailer("${doc}" "${out}" 256)
    if(NOT rc MATCHES "^[1-9][0-9]*$" OR EXISTS "${out}")
        message(FATAL_ERROR "the thumbnailer does not refuse ${doc} cleanly: ${rc}")
    endif()
endforeach()

# The manual page renders without a warning, through groff and through man.
execute_process(COMMAND "${groff}" -man -ww -z "${prefix}/${manFile}"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "groff warns about the manual page:\n${err}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C.UTF-8 MANWIDTH=80
                        "${man}" --warnings -l "${prefix}/${manFile}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE page ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT page MATCHES "KALEIDRA\\(1\\)")
    message(FATAL_ERROR "man -l does not render the manual page cleanly (${rc}):\n${err}")
endif()
file(REMOVE_RECURSE "${prefix}")
