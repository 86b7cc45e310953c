# Installs the build in BUILD_DIR into a fresh prefix below WORK_DIR with `cmake --install`, then
# checks what a user gets there: the programs and their version (VERSION), the menu entry (with
# desktop-file-validate), the icon files (when ICONS), the run-file type (with
# update-mime-database) and, when DEMO, the demo run by the installed zelkova-batch from a folder
# of its own, followed by `pages` and `render` of what it delivered.

set(prefix ${WORK_DIR}/prefix)
set(elsewhere ${WORK_DIR}/elsewhere)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${elsewhere})

# Runs a command in the folder `elsewhere` and stops the test unless it ends with status 0 and
# says nothing on standard error; its standard output is left in the variable named by OUT.
function(run_quietly)
  cmake_parse_arguments(R "" "OUT" "COMMAND" ${ARGN})
  execute_process(COMMAND ${R_COMMAND} WORKING_DIRECTORY ${elsewhere}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL "0" OR NOT err STREQUAL "")
    message(FATAL_ERROR "${R_COMMAND}\nended with status ${status}; standard error:\n${err}\nstandard output:\n${out}")
  endif()
  if(R_OUT)
    set(${R_OUT} "${out}" PARENT_SCOPE)
  endif()
endfunction()

function(expect_file path)
  if(NOT EXISTS ${path} OR IS_DIRECTORY ${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

# Installing, as a user does it.
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "cmake --install failed (${status}):\n${err}")
endif()

# The programs, and the one version number.
foreach(program zelkova zelkova-batch quillon)
  expect_file(${prefix}/bin/${program})
endforeach()
set(batch ${prefix}/bin/zelkova-batch)
run_quietly(COMMAND ${batch} --version OUT version)
if(NOT version STREQUAL "zelkova-batch ${VERSION}\n")
  message(FATAL_ERROR "zelkova-batch --version said '${version}', not 'zelkova-batch ${VERSION}'")
endif()

# The manual pages and Debian's documents.
foreach(file share/man/man1/zelkova.1.gz share/man/man1/zelkova-batch.1.gz share/man/man1/quillon.1.gz
             share/doc/zelkova/copyright share/doc/zelkova/changelog.gz)
  expect_file(${prefix}/${file})
endforeach()

# The menu entry passes the validator without a word, opens run files and starts the installed
# program by name.
set(entry ${prefix}/share/applications/zelkova.desktop)
expect_file(${entry})
find_program(VALIDATE desktop-file-validate REQUIRED)
run_quietly(COMMAND ${VALIDATE} ${entry} OUT said)
if(NOT said STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate ${entry}:\n${said}")
endif()
file(READ ${entry} text)
foreach(line "Exec=zelkova %f" "Icon=zelkova" "MimeType=text/x-zelkova-run-file;")
  string(FIND "${text}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${entry} has no line '${line}'")
  endif()
endforeach()

# The run-file type: the shared MIME database built from the installed file gives run files, in
# either letter case, the type the menu entry names.
set(mime ${WORK_DIR}/mime)
file(COPY ${prefix}/share/mime/packages/zelkova.xml DESTINATION ${mime}/packages)
find_program(UPDATE_MIME update-mime-database REQUIRED)
execute_process(COMMAND ${UPDATE_MIME} ${mime} RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT status STREQUAL "0" OR err MATCHES "[Ee]rror|[Ww]arning|[Ii]nvalid")
  message(FATAL_ERROR "update-mime-database refused zelkova.xml (${status}):\n${err}")
endif()
file(READ ${mime}/globs2 globs)
if(NOT globs MATCHES "\n[0-9]+:text/x-zelkova-run-file:\\*\\.frt\n")
  message(FATAL_ERROR "the MIME database has no glob for run files:\n${globs}")
endif()
file(STRINGS ${mime}/globs2 caseSensitive REGEX "x-zelkova-run-file:.*:cs")
if(caseSensitive)
  message(FATAL_ERROR "the run-file glob only matches one letter case: ${caseSensitive}")
endif()

# The icon: a PNG of each size the theme's folder name says, and the scalable drawing.
if(ICONS)
  set(hicolor ${prefix}/share/icons/hicolor)
  expect_file(${hicolor}/scalable/apps/zelkova.svg)
  foreach(size 16 22 24 32 48 64 128 256)
    set(png ${hicolor}/${size}x${size}/apps/zelkova.png)
    expect_file(${png})
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
      message(FATAL_ERROR "${png} is not a ${size}x${size} PNG image (${width}x${height})")
    endif()
  endforeach()
endif()

if(NOT DEMO)
  message(STATUS "No Fortran compiler: the installed demo was not checked")
  return()
endif()

# The installed demo names the installed program, and runs from a folder that has nothing to do
# with the installation.
# The file is compared as bytes in hexadecimal (file(READ) would drop its carriage returns), and
# its lines still end in CR LF.
set(examples ${prefix}/share/zelkova/examples)
file(READ ${examples}/DEMO.FRT runFile HEX)
string(REGEX MATCHALL ".." runFile "${runFile}")
list(JOIN runFile " " runFile)
string(HEX "\r\nP '${examples}/bin/BEAM'\r\n" programLine)
string(REGEX REPLACE "(..)" "\\1 " programLine "${programLine}")
string(STRIP "${programLine}" programLine)
string(HEX "examples/demo/bin" repositoryPath)
string(REGEX REPLACE "(..)" "\\1 " repositoryPath "${repositoryPath}")
string(FIND "${runFile}" "${programLine}" named)
string(FIND "${runFile}" "${repositoryPath}" repository)
if(named EQUAL -1 OR NOT repository EQUAL -1)
  message(FATAL_ERROR "${examples}/DEMO.FRT does not name the installed program ${examples}/bin/BEAM")
endif()
string(REGEX MATCHALL "0a" lineFeeds "${runFile}")
string(REGEX MATCHALL "0d 0a" lineEnds "${runFile}")
list(LENGTH lineFeeds lineFeeds)
list(LENGTH lineEnds lineEnds)
if(NOT lineFeeds EQUAL lineEnds)
  message(FATAL_ERROR "${examples}/DEMO.FRT has lines that do not end in CR LF")
endif()

set(outputs RESULT1.LST RESULT2.LST PLOT1.TXT PLOT2.TXT)
run_quietly(COMMAND ${batch} run ${examples}/DEMO.FRT)
foreach(output IN LISTS outputs)
  expect_file(${examples}/${output})
  file(SIZE ${examples}/${output} size)
  if(size EQUAL 0)
    message(FATAL_ERROR "the demo delivered an empty ${output}")
  endif()
endforeach()
file(GLOB left RELATIVE ${examples}/bin ${examples}/bin/*)
if(NOT left STREQUAL "BEAM")
  message(FATAL_ERROR "the demo left files in the program's folder: ${left}")
endif()
file(GLOB strays ${elsewhere}/*)
if(strays)
  message(FATAL_ERROR "the demo wrote into the current folder: ${strays}")
endif()

# What it delivered reads as a listing and draws as a plot.
foreach(listing RESULT1.LST RESULT2.LST)
  run_quietly(COMMAND ${batch} pages ${examples}/${listing} OUT pages)
  if(NOT pages MATCHES "\npages: [1-9][0-9]*\n$")
    message(FATAL_ERROR "zelkova-batch pages ${listing} counted no pages:\n${pages}")
  endif()
endforeach()
foreach(plot PLOT1.TXT PLOT2.TXT)
  foreach(figure 1 4)
    run_quietly(COMMAND ${batch} render ${examples}/${plot} --figure ${figure} --dump OUT picture)
    if(picture MATCHES "extents none" OR NOT picture MATCHES "\n(line|polyline) ")
      message(FATAL_ERROR "figure ${figure} of ${plot} draws nothing:\n${picture}")
    endif()
  endforeach()
  run_quietly(COMMAND ${batch} render ${examples}/${plot} -o ${elsewhere}/${plot}.png)
  expect_file(${elsewhere}/${plot}.png)
endforeach()
