# Runs PROGRAM with the ;-separated ARGS and checks its exit code against EXIT_CODE and its
# standard error against the regular expression STDERR.
separate_arguments(arg_list UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${arg_list} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err TIMEOUT 20)
if(NOT rc STREQUAL "${EXIT_CODE}")
  message(FATAL_ERROR "exit code ${rc}, expected ${EXIT_CODE}\nstdout: ${out}\nstderr: ${err}")
endif()
if(NOT "${err}${out}" MATCHES "${STDERR}")
  message(FATAL_ERROR "output does not match '${STDERR}'\nstdout: ${out}\nstderr: ${err}")
endif()
