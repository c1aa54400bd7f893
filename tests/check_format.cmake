# Fails when a C++ source differs from what clang-format makes of it with the project's settings.
file(GLOB_RECURSE sources ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/sim/*.h ${ROOT}/sim/*.cpp
     ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE problems)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "sources not formatted (run clang-format -i):\n${problems}")
endif()
