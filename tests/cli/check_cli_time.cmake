# Runs the real rtceval-cli on its virtual board: a fresh chip shows the PC's time as one JSON
# object; a time set in one run is the chip's time in the next, as on a board left plugged in.
#   cmake -DCLI=<rtceval-cli> -DSTATE=<an empty folder of its own> -P check_cli_time.cmake
file(REMOVE_RECURSE ${STATE})
set(ENV{XDG_STATE_HOME} ${STATE})

function(run_cli)
  execute_process(COMMAND ${CLI} --simulate X1226 --model X1226 ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "rtceval-cli ${ARGN} ended with ${rc}: ${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run_cli(time --json)
if(NOT out MATCHES "^{\"hour_format\":24,\"time\":\"2[0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\",\"weekday\":[0-6]}\n$")
  message(FATAL_ERROR "not the clock as one JSON object: '${out}'")
endif()
message(STATUS "rtceval-cli time --json: ${out}")

run_cli(time set "2030-01-02 03:04:05")
run_cli(time --json)
if(NOT out MATCHES "\"time\":\"2030-01-02 03:04:0[5-9]\"")
  message(FATAL_ERROR "the next run did not find the time set by the one before: '${out}'")
endif()
message(STATUS "rtceval-cli time --json after a time set: ${out}")
