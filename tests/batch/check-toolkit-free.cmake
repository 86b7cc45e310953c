# zelkova-batch (PROGRAM) starts without the toolkit: it names no Qt library, and its drawing
# commands run in the drawing program beside it. A copy of it without the drawing program says so
# and ends with status 1 instead of failing to start. WORK_DIR is a scratch folder.
file(STRINGS ${PROGRAM} qt REGEX "libQt[0-9]")
if(qt)
  message(FATAL_ERROR "${PROGRAM} links the toolkit: ${qt}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/bin)
file(COPY ${PROGRAM} DESTINATION ${WORK_DIR}/bin)
get_filename_component(name ${PROGRAM} NAME)
execute_process(COMMAND ${WORK_DIR}/bin/${name} render plot.txt -o plot.png
                RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT status STREQUAL "1" OR NOT err MATCHES "cannot start the drawing program .*zelkova-batch-draw")
  message(FATAL_ERROR "without the drawing program: status ${status}, standard error:\n${err}")
endif()
execute_process(COMMAND ${WORK_DIR}/bin/${name} --version RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status STREQUAL "0" OR NOT out MATCHES "^zelkova-batch ")
  message(FATAL_ERROR "--version without the drawing program: status ${status}, '${out}'")
endif()
