# Runs the real rtceval-cli on its virtual board and checks the clock it prints as JSON.
#   cmake -DCLI=<rtceval-cli> -P check_cli_time.cmake
execute_process(COMMAND ${CLI} --simulate X1226 --model X1226 time --json
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "rtceval-cli ended with ${rc}: ${err}")
endif()
if(NOT out MATCHES "^{\"hour_format\":24,\"time\":\"2[0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\",\"weekday\":[0-6]}\n$")
  message(FATAL_ERROR "not the clock as one JSON object: '${out}'")
endif()
message(STATUS "rtceval-cli time --json: ${out}")
