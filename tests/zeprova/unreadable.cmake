cmake_minimum_required(VERSION 3.25)
# zeprova given what is no script: a folder, a FIFO, a device, and a script with a line
# that is not UTF-8 text. Each ends at once with its exit status and a message naming
# the problem; nothing of the bad script runs.
#   -DZEPROVA=... -DLIB=... -DWORK=dir
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{ZE_REGISTRO} ${WORK}/registro.db)
set(ENV{LC_ALL} C)
execute_process(COMMAND mkfifo ${WORK}/fifo.zp RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mkfifo failed")
endif()
# A save into a name with an invalid byte: it must never be written under U+FFFD.
string(ASCII 255 bad)
file(WRITE ${WORK}/notutf8.zp "register ${LIB}\nnew K1 zeKalendo.Kalendo\nsave K1 ${WORK}/k${bad}.bag\n")

function(expect script rc_wanted says)
  execute_process(COMMAND ${ZEPROVA} ${script} WORKING_DIRECTORY ${WORK} TIMEOUT 30
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(FIND "${err}" "${says}" at)
  if(NOT rc STREQUAL rc_wanted OR at EQUAL -1 OR NOT out STREQUAL "")
    message(FATAL_ERROR "zeprova ${script}: wanted ${rc_wanted} and '${says}', "
                        "got ${rc}: ${err}${out}")
  endif()
endfunction()

expect(${WORK} 2 "is not a regular file")
expect(${WORK}/fifo.zp 2 "is not a regular file")
expect(/dev/zero 2 "is not a regular file")
expect(${WORK}/notutf8.zp 1 "zeprova: line 3: not UTF-8 text")
file(GLOB saved ${WORK}/*.bag)
if(saved)
  message(FATAL_ERROR "a bag was saved: ${saved}")
endif()
