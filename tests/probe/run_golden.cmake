# Runs skyprobe against one scenario of the simulated receiver and compares
# its standard output and exit code with the expected ones, byte for byte.
#   cmake -DPROBE=<skyprobe> -DCASE=<dir>/<case> -DACTUAL=<file> -P run_golden.cmake
# reads <case>.ini (scenario), <case>.out (output, LF line ends) and
# <case>.exit (exit code). With -DEMULATOR=wine the program runs under Wine:
# the scenario path is handed over as a Z: path, CRLF is read as LF, and
# <case>.windows.out, where present, replaces <case>.out: Windows writes
# non-ASCII text in the code page of the "Japanese" locale (932), not UTF-8.
cmake_minimum_required(VERSION 3.25)

foreach(required PROBE CASE ACTUAL)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_golden.cmake needs -D${required}=...")
  endif()
endforeach()

if(NOT EXISTS ${PROBE})
  message(FATAL_ERROR "${PROBE} has not been built")
endif()

set(scenario ${CASE}.ini)
if(EMULATOR)
  string(REPLACE "/" "\\" scenario "Z:${scenario}")
endif()
set(ENV{SENSORSIM_SCENARIO} "${scenario}")

execute_process(COMMAND ${EMULATOR} ${PROBE}
                OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE exit_code)
if(EMULATOR)
  string(REPLACE "\r\n" "\n" actual "${actual}")
endif()

set(expected_file ${CASE}.out)
if(EMULATOR AND EXISTS ${CASE}.windows.out)
  set(expected_file ${CASE}.windows.out)
endif()
file(READ ${expected_file} expected)
file(READ ${CASE}.exit expected_exit)
string(STRIP "${expected_exit}" expected_exit)
file(WRITE ${ACTUAL} "${actual}")

set(failures "")
if(NOT "${actual}" STREQUAL "${expected}")
  string(APPEND failures "output differs from ${expected_file} (actual output in ${ACTUAL})\n")
  find_program(DIFF diff)
  if(DIFF)
    execute_process(COMMAND ${DIFF} -u ${expected_file} ${ACTUAL})
  endif()
endif()
if(NOT "${exit_code}" STREQUAL "${expected_exit}")
  string(APPEND failures "exit code ${exit_code}, expected ${expected_exit}\n")
endif()
if(failures)
  message(FATAL_ERROR "${failures}standard error:\n${errors}")
endif()
