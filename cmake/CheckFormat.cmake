# Fails when a source file differs from what clang-format makes of it with the repository's
# .clang-format, naming the files. Run as: cmake -DROOT=<source dir> -P cmake/CheckFormat.cmake
# Without clang-format the check is skipped (exit 77), except under CI, where it fails.
cmake_minimum_required(VERSION 3.25)
find_program(CLANG_FORMAT NAMES clang-format-14 clang-format)
if(NOT CLANG_FORMAT)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "clang-format is not installed (scripts/install-deps installs it)")
  endif()
  message("clang-format is not installed: the format check is skipped")
  cmake_language(EXIT 77)
endif()
file(GLOB_RECURSE files ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp)
set(faults "")
foreach(file IN LISTS files)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror --style=file ${file}
                  WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    file(RELATIVE_PATH shown ${ROOT} ${file})
    string(APPEND faults "  ${shown}\n")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "Not in the house format (run clang-format -i on them):\n${faults}")
endif()
