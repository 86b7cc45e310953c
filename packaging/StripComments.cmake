# Runs in CPack once the package's files are staged (CPACK_PRE_BUILD_SCRIPTS): takes from every
# program the .comment and .note sections that a plain `strip` leaves in (compiler version
# strings that nothing reads), as Debian's own packaging tools do.
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS files)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND "${CPACK_ZELKOVA_STRIP}" --remove-section=.comment --remove-section=.note "${file}"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${CPACK_ZELKOVA_STRIP} could not take the comments out of ${file}")
    endif()
  endif()
endforeach()
