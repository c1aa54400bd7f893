# Checks identifier names with clang-tidy and the repository's .clang-tidy: every .cpp under the
# given folders, and the headers of those folders that they include. Fails listing the files with
# findings.
#
#   cmake -DROOT=<repository> -DCLANG_TIDY=<clang-tidy> -DBUILD_DIR=<build folder>
#         -DDIRS="sim;tests/sim" [-DEXCLUDE=<regex>] [-DJOBS=<parallel runs>] -P check_naming.cmake
#
# DIRS are folders relative to ROOT, separated by ; or ,. Sources whose path matches EXCLUDE are
# left out.
#
# BUILD_DIR must hold the compile_commands.json of a configuration that builds every one of these
# files. The files are shared out among JOBS workers (default: one per processor core), each a
# copy of this script that takes the next file from a common queue until none is left.
cmake_minimum_required(VERSION 3.25)

if(DEFINED WORKER)
  # A worker: runs clang-tidy on queued files and leaves <index>.rc and <index>.log in WORKER.
  file(STRINGS "${WORKER}/files.txt" files)
  list(LENGTH files count)
  while(TRUE)
    file(LOCK "${WORKER}/queue.lock" GUARD PROCESS)
    file(READ "${WORKER}/next.txt" index)
    math(EXPR next "${index} + 1")
    file(WRITE "${WORKER}/next.txt" "${next}")
    file(LOCK "${WORKER}/queue.lock" RELEASE)
    if(index GREATER_EQUAL count)
      break()
    endif()
    list(GET files ${index} source)
    execute_process(
      COMMAND "${CLANG_TIDY}" -p "${DATABASE_DIR}" --quiet "--header-filter=${HEADER_FILTER}" "${source}"
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    file(WRITE "${WORKER}/${index}.log" "${out}${err}")
    file(WRITE "${WORKER}/${index}.rc" "${rc}")
  endwhile()
  return()
endif()

# DIRS may also be separated by commas, which pass unharmed through add_test.
string(REPLACE "," ";" DIRS "${DIRS}")
foreach(var ROOT CLANG_TIDY BUILD_DIR DIRS)
  if("${${var}}" STREQUAL "")
    message(FATAL_ERROR "check_naming: ${var} is not set")
  endif()
endforeach()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)
get_filename_component(BUILD_DIR "${BUILD_DIR}" ABSOLUTE)
if(NOT EXISTS "${BUILD_DIR}/compile_commands.json")
  message(FATAL_ERROR "check_naming: no compile_commands.json in ${BUILD_DIR}")
endif()
file(READ "${BUILD_DIR}/compile_commands.json" database)

# A library compiled as one unit (a unity build) has one command for the unit and none for its
# sources: the unit is checked in their place, once, and its sources' names are found in it as
# in included files.
set(units "")
set(unit_sources "")
string(JSON entries LENGTH "${database}")
math(EXPR last_entry "${entries} - 1")
foreach(index RANGE ${last_entry})
  string(JSON unit GET "${database}" ${index} file)
  if(unit MATCHES "/Unity/unity_[0-9]+_cxx\\.cxx$")
    list(APPEND units "${unit}")
    file(STRINGS "${unit}" included REGEX "^#include \"")
    list(TRANSFORM included REPLACE "^#include \"(.*)\"$" "\\1")
    list(APPEND unit_sources ${included})
  endif()
endforeach()
if(NOT JOBS)
  cmake_host_system_information(RESULT JOBS QUERY NUMBER_OF_LOGICAL_CORES)
endif()

# The sources, each of which must have its compile command; and the folders as absolute paths.
set(sources "")
set(folders "")
set(missing "")
foreach(dir IN LISTS DIRS)
  list(APPEND folders "${ROOT}/${dir}")
  file(GLOB_RECURSE found LIST_DIRECTORIES false "${ROOT}/${dir}/*.cpp")
  if(EXCLUDE)
    list(FILTER found EXCLUDE REGEX "${EXCLUDE}")
  endif()
  foreach(source IN LISTS found)
    if(source IN_LIST unit_sources)
      list(REMOVE_ITEM found "${source}")
      continue()
    endif()
    string(FIND "${database}" "\"${source}\"" at)
    if(at EQUAL -1)
      list(APPEND missing "${source}")
    endif()
  endforeach()
  list(APPEND sources ${found})
endforeach()
list(APPEND sources ${units})
list(REMOVE_DUPLICATES sources)
list(SORT sources)
if(NOT sources)
  message(FATAL_ERROR "check_naming: no .cpp files under ${DIRS} in ${ROOT}")
endif()
if(missing)
  list(JOIN missing "\n  " missing)
  message(FATAL_ERROR "check_naming: not in ${BUILD_DIR}/compile_commands.json:\n  ${missing}")
endif()

# Headers count when they lie in one of the folders. Include paths like <dir>/.. make clang-tidy
# name a header <dir>/../other/x.h, so the filter only narrows the output: a finding counts by
# its normalised path below.
string(REGEX REPLACE "([][.^$*+?(){}|\\])" "\\\\\\1" root_pattern "${ROOT}")
string(REGEX REPLACE "([][.^$*+?(){}|\\])" "\\\\\\1" dir_pattern "${DIRS}")
string(REPLACE ";" "|" dir_pattern "${dir_pattern}")
set(header_filter "^${root_pattern}/(${dir_pattern})/")

set(work "${BUILD_DIR}/check_naming")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")

# A GCC build's precompiled headers are of no use to clang: clang-tidy sees each prefix header
# included as a plain header, through a copy that has no precompiled file beside it. A clang
# build's (-Xclang -include-pch) are read as they are.
string(REGEX MATCHALL "-include [^ \"]*cmake_pch\\.hxx" prefix_headers "${database}")
list(REMOVE_DUPLICATES prefix_headers)
set(index 0)
foreach(option IN LISTS prefix_headers)
  string(REPLACE "-include " "" header "${option}")
  file(COPY "${header}" DESTINATION "${work}/prefix_headers/${index}")
  string(REPLACE "${option}" "-include ${work}/prefix_headers/${index}/cmake_pch.hxx" database
                 "${database}")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${work}/compile_commands.json" "${database}")
list(JOIN sources "\n" listing)
file(WRITE "${work}/files.txt" "${listing}\n")
file(WRITE "${work}/next.txt" "0")

# The workers run side by side as the stages of one pipeline; none of them writes to its output.
set(workers "")
foreach(i RANGE 1 ${JOBS})
  list(APPEND workers COMMAND "${CMAKE_COMMAND}" "-DWORKER=${work}" "-DCLANG_TIDY=${CLANG_TIDY}"
       "-DDATABASE_DIR=${work}" "-DHEADER_FILTER=${header_filter}" -P "${CMAKE_CURRENT_LIST_FILE}")
endforeach()
execute_process(${workers} RESULTS_VARIABLE worker_results ERROR_VARIABLE worker_errors)
foreach(result IN LISTS worker_results)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "check_naming: a worker failed (${result}):\n${worker_errors}")
  endif()
endforeach()

# A source fails for a naming finding in one of the folders, or when clang-tidy reports any other
# error (a file that does not compile has not been checked).
set(failed "")
set(report "")
list(LENGTH sources count)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  list(GET sources ${index} source)
  if(NOT EXISTS "${work}/${index}.rc")
    message(FATAL_ERROR "check_naming: ${source} was not checked")
  endif()
  file(READ "${work}/${index}.rc" rc)
  file(READ "${work}/${index}.log" log)
  string(REGEX MATCHALL "[^\n]*(warning|error): [^\n]*" diagnostics "${log}")
  set(relevant FALSE)
  foreach(line IN LISTS diagnostics)
    if(line MATCHES "^(.+):[0-9]+:[0-9]+: [a-z]+: .*\\[readability-identifier-naming")
      get_filename_component(where "${CMAKE_MATCH_1}" ABSOLUTE)
      foreach(folder IN LISTS folders)
        string(FIND "${where}" "${folder}/" at)
        if(at EQUAL 0)
          list(APPEND failed "${where}")
          set(relevant TRUE)
        endif()
      endforeach()
    elseif(line MATCHES "error: ")
      list(APPEND failed "${source}")
      set(relevant TRUE)
    endif()
  endforeach()
  if(NOT rc EQUAL 0 AND NOT diagnostics)
    list(APPEND failed "${source}")
    set(relevant TRUE)
  endif()
  if(relevant)
    string(APPEND report "--- ${source}\n${log}\n")
  endif()
endforeach()

if(failed)
  list(REMOVE_DUPLICATES failed)
  list(SORT failed)
  list(JOIN failed "\n  " failed)
  message(NOTICE "${report}")
  message(FATAL_ERROR "check_naming: names to fix as .clang-tidy says (or clang-tidy could not "
                      "compile the file):\n  ${failed}")
endif()
message(STATUS "check_naming: ${count} files under ${DIRS}: names as agreed")
