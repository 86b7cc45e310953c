# Runs PROGRAM with the arguments ARGS (a list) and fails unless it ends with STATUS and its
# standard error matches PATTERN.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; standard error:\n${err}")
endif()
if(NOT err MATCHES "${PATTERN}")
  message(FATAL_ERROR "standard error does not match '${PATTERN}':\n${err}")
endif()
