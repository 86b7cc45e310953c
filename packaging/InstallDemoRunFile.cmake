# Runs at install time (install(CODE) in packaging/CMakeLists.txt): installs the demo's run file with
# its program lines naming the installed demo program by its absolute path, so that the demo runs
# whatever folder Zelkova or zelkova-batch is started from. The prefix is known only now: it is
# the one given to `cmake --install --prefix` or, for the Debian package, CPack's /usr.
#
# Expects SOURCE_RUN_FILE (the repository's run file), NOTE_FILE (the comment lines that replace the
# repository's note on relative program paths), EXAMPLES_DIR (the examples folder below the prefix,
# or absolute) and WORK_DIR (a folder of the build tree for the rewritten file).
#
# The run file is code page 932 text with CR LF line ends, and the installed copy keeps every byte
# that is not replaced. file(READ) drops carriage returns, so the files are read as hexadecimal and
# turned back into bytes one by one; CMake strings keep any other byte as it is. Only plain string
# operations are used (a regular-expression replacement would read the backslash that ends many
# double-byte characters as an escape).

function(read_bytes path variable)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" length)
  set(bytes "")
  set(at 0)
  while(at LESS length)
    string(SUBSTRING "${hex}" ${at} 2 byte)
    math(EXPR code "0x${byte}")
    if(code EQUAL 0)
      message(FATAL_ERROR "${path} holds a NUL byte")
    endif()
    string(ASCII ${code} character)
    string(APPEND bytes "${character}")
    math(EXPR at "${at} + 2")
  endwhile()
  set(${variable} "${bytes}" PARENT_SCOPE)
endfunction()

if(IS_ABSOLUTE "${EXAMPLES_DIR}")
  set(examples "${EXAMPLES_DIR}")
else()
  set(examples "${CMAKE_INSTALL_PREFIX}/${EXAMPLES_DIR}")
endif()
set(program "${examples}/bin/BEAM")

if(NOT program MATCHES "^[ -~]+$")
  message(WARNING "The demo's run file names its program by the path ${program}, which is not plain "
                  "ASCII; run files are code page 932 text, so edit its program lines in Zelkova.")
endif()

read_bytes("${SOURCE_RUN_FILE}" text)
read_bytes("${NOTE_FILE}" note)

# The repository's run file names the program relative to the repository's root.
set(repositoryProgramLine "P 'examples/demo/bin/BEAM'")
string(FIND "${text}" "${repositoryProgramLine}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${SOURCE_RUN_FILE} has no line ${repositoryProgramLine}; update ${CMAKE_CURRENT_LIST_FILE}")
endif()
string(REPLACE "'" "''" quotedProgram "${program}")
string(REPLACE "${repositoryProgramLine}" "P '${quotedProgram}'" text "${text}")

# Its comment says so in the two lines naming Zelkova and `make run`; they give way to the note.
string(FIND "${text}" " Zelkova " zelkovaAt)
string(FIND "${text}" "make run" makeRunAt)
if(zelkovaAt EQUAL -1 OR makeRunAt LESS zelkovaAt)
  message(FATAL_ERROR "${SOURCE_RUN_FILE} no longer explains relative program paths as expected; "
                      "update ${CMAKE_CURRENT_LIST_FILE}")
endif()
string(SUBSTRING "${text}" 0 ${zelkovaAt} before)
string(FIND "${before}" "\n" lineStart REVERSE)
math(EXPR lineStart "${lineStart} + 1")
string(SUBSTRING "${text}" 0 ${lineStart} before)
string(SUBSTRING "${text}" ${makeRunAt} -1 after)
string(FIND "${after}" "\n" lineEnd)
math(EXPR lineEnd "${lineEnd} + 1")
string(SUBSTRING "${after}" ${lineEnd} -1 after)
set(text "${before}${note}${after}")

# Installs made at the same time for different prefixes each get their own copy.
string(MD5 destination "$ENV{DESTDIR}${examples}")
set(rewritten "${WORK_DIR}/${destination}/DEMO.FRT")
file(WRITE "${rewritten}" "${text}")
file(INSTALL DESTINATION "${examples}" TYPE FILE FILES "${rewritten}")
