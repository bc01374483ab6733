cmake_minimum_required(VERSION 3.25)
# Runs one zeprova script and compares its output with the expected transcript kept
# beside it. "@LIB@" in both stands for the component library's path, "@WORK@" for the
# test's own scratch folder. The registry store is a fresh file for every script.
# A script that stops at a line that cannot be parsed has an x.err beside it: then
# zeprova must exit 1 with that message on stderr; otherwise it must exit 0.
#   -DZEPROVA=... -DLIB=... -DSCRIPT=x.zp -DEXPECTED=x.out -DWORK=dir
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
foreach(f SCRIPT EXPECTED)
  file(READ ${${f}} text)
  string(REPLACE "@LIB@" "${LIB}" text "${text}")
  string(REPLACE "@WORK@" "${WORK}" text "${text}")
  set(${f}_TEXT "${text}")
endforeach()
file(WRITE ${WORK}/script.zp "${SCRIPT_TEXT}")
# Bag files the script loads live beside it.
get_filename_component(dir ${SCRIPT} DIRECTORY)
file(GLOB bags ${dir}/*.bag)
file(COPY ${bags} DESTINATION ${WORK})
set(ENV{ZE_REGISTRO} ${WORK}/registro.db)
set(ENV{LC_ALL} C)
execute_process(COMMAND ${ZEPROVA} ${WORK}/script.zp
                WORKING_DIRECTORY ${WORK}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
string(REGEX REPLACE "\\.out$" ".err" expected_err "${EXPECTED}")
if(EXISTS ${expected_err})
  file(READ ${expected_err} expected_err_text)
  if(NOT rc EQUAL 1 OR NOT err STREQUAL expected_err_text)
    message(FATAL_ERROR "zeprova should stop with 1 and\n${expected_err_text}but exited ${rc}: ${err}")
  endif()
elseif(NOT rc EQUAL 0)
  message(FATAL_ERROR "zeprova exited ${rc}: ${err}\n${out}")
endif()
if(NOT out STREQUAL EXPECTED_TEXT)
  file(WRITE ${WORK}/actual.out "${out}")
  execute_process(COMMAND diff -u ${EXPECTED} ${WORK}/actual.out)
  message(FATAL_ERROR "output differs from ${EXPECTED} (actual: ${WORK}/actual.out)")
endif()
