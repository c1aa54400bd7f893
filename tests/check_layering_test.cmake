cmake_minimum_required(VERSION 3.25)
# Runs check_layering.cmake on small trees of folders, one row per case: the files added to a
# sound base tree ("path|text|path|text"), and what the check must say (or PASS). The base:
# src/core/ depends on nothing, src/link/ on core (its qt/ also on view), src/view/ on core, sim/
# on core.
#
#   cmake -DCHECK=<check_layering.cmake> -DWORK=<scratch folder> -P check_layering_test.cmake

set(base
  src/core/README.md "May depend on: nothing\nbut the standard library.\n"
  src/core/a.h "#pragma once\n"
  src/link/README.md "Text.\n\nMay depend on: `core/`.\nIts qt/ may also depend on: view\n"
  src/link/b.cpp "#include \"core/a.h\"\n#include <vector>\n"
  src/view/README.md "May depend on: core\n(prose that names no folders, link).\n"
  src/view/c.cpp "#include \"core/a.h\"\n"
  sim/README.md "May depend on: core\n"
  sim/d.cpp "#include \"sim/d.h\"\n#include \"core/a.h\"\n")

set(cases
  "sound tree" PASS ""
  "a listed folder's qt/ extra" PASS "src/link/qt/v.cpp|#include \"view/v.h\"\n"
  "Qt in the logic" "src/link/b2.cpp includes <QString>" "src/link/b2.cpp|#include <QString>\n"
  "Qt in a qt/ folder" PASS "src/view/qt/w.cpp|#include <QWidget>\n"
  "unlisted folder" "src/core/a.cpp includes \"link/b.h\": core/ may depend on nothing \\(src/core/README.md\\)"
      "src/core/a.cpp|#include \"link/b.h\"\n"
  "qt/ extra outside qt/" "src/link/b3.cpp includes \"view/v.h\": link/ may depend on core \\("
      "src/link/b3.cpp|  #  include \"view/v.h\"\n"
  "sim/ beyond its list" "sim/e.cpp includes \"link/b.h\": sim/ may depend on core"
      "sim/e.cpp|#include \"link/b.h\"\n"
  "no list in a README" "src/new/README.md: needs one line starting 'May depend on:'"
      "src/new/README.md|Depends on core.\n"
  "no README" "src/new/README.md: needs one line"
      "src/new/x.cpp|#include \"core/a.h\"\n"
  "unknown folder in a list" "src/core/README.md: 'kore' in 'May depend on:' is no folder"
      "src/core/README.md|May depend on: kore\n"
  "empty list" "src/core/README.md: 'May depend on:' names no folder"
      "src/core/README.md|May depend on:\n"
  "a circle the lists allow" "folders include each other in a circle:.*core -> link"
      "src/core/README.md|May depend on: link\n|src/core/a.cpp|#include \"link/b.h\"\n")

set(failures "")
set(index 0)
list(LENGTH cases count)
while(index LESS count)
  math(EXPR expect_at "${index} + 1")
  math(EXPR files_at "${index} + 2")
  list(GET cases ${index} name)
  list(GET cases ${expect_at} expect)
  list(GET cases ${files_at} extra)
  math(EXPR index "${index} + 3")

  set(tree "${WORK}/case${index}")
  file(REMOVE_RECURSE "${tree}")
  set(files ${base})
  string(REPLACE "|" ";" extra "${extra}")
  list(APPEND files ${extra})
  list(LENGTH files n)
  math(EXPR last "${n} - 1")
  foreach(at RANGE 0 ${last} 2)
    math(EXPR text_at "${at} + 1")
    list(GET files ${at} path)
    list(GET files ${text_at} text)
    file(WRITE "${tree}/${path}" "${text}")
  endforeach()

  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${tree} -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expect STREQUAL "PASS")
    if(NOT rc EQUAL 0)
      string(APPEND failures "\n${name}: the check failed on a sound tree:\n${out}")
    endif()
  elseif(rc EQUAL 0 OR NOT out MATCHES "${expect}")
    string(APPEND failures "\n${name}: expected a failure saying '${expect}', got (${rc}):\n${out}")
  endif()
endwhile()
if(failures)
  message(FATAL_ERROR "the layering check misjudged:${failures}")
endif()
