cmake_minimum_required(VERSION 3.25)
# Runs the layering check over small trees written here: a clean one must pass, and one
# that breaks every rule must fail with each fault named and the allowed includes left
# alone.  -DCHECK=CheckLayers.cmake -DWORK=dir

# Writes a tree under `root` from pairs "path|included path" ("-": no include) and
# runs the check over it, giving its exit code and its output.
function(check_tree root out_rc out_text)
  file(REMOVE_RECURSE ${root})
  foreach(entry IN LISTS ARGN)
    string(REPLACE "|" ";" pair "${entry}")
    list(GET pair 0 path)
    list(GET pair 1 included)
    set(text "#pragma once\n")
    if(NOT included STREQUAL "-")
      string(APPEND text "#include \"${included}\"\n")
    endif()
    file(APPEND ${root}/${path} "${text}")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} -P ${CHECK}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  set(${out_rc} ${rc} PARENT_SCOPE)
  set(${out_text} "${out}${err}" PARENT_SCOPE)
endfunction()

# Looking down, sideways within a layer, at a library's header written with quotes,
# from a file directly in frame/, and from tests: all allowed.
set(clean
  "frame/automation/string.h|-"
  "frame/container/font.h|frame/automation/string.h"
  "frame/ui/control.h|frame/container/font.h"
  "frame/ui/control.cpp|control.h"
  "frame/com/dispatch.h|frame/registry/store.h"
  "frame/host/hosted_control.h|frame/ui/control.h"
  "frame/qt/view.h|frame/host/hosted_control.h"
  "frame/qt/view.cpp|QtWidgets/QWidget"
  "frame/platform_version.cpp|frame/automation/string.h"
  "kalendo/kalendo.h|about/frm_info.h"
  "about/frm_info.h|frame/ui/control.h"
  "server/exports.cpp|kalendo/kalendo.h"
  "tools/zeprova/host.cpp|server/exports.cpp"
  "tests/ui/test.cpp|tools/zeprova/host.cpp")
check_tree(${WORK}/clean rc text ${clean})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the clean tree should pass, but the check said:\n${text}")
endif()

set(bad ${clean}
  "frame/container/picture.h|frame/ui/control.h"
  "frame/ui/form.h|kalendo/kalendo.h"
  "frame/automation/clock.cpp|server/exports.cpp"
  "frame/registry/store.h|frame/com/dispatch.h"
  "frame/extra/thing.h|frame/automation/string.h"
  "about/frm_info.cpp|tools/zeprova/host.cpp"
  "kalendo/kalendo.cpp|tests/ui/test.cpp")
check_tree(${WORK}/bad rc text ${bad})
if(rc EQUAL 0)
  message(FATAL_ERROR "the tree with bad includes passed the check:\n${text}")
endif()
foreach(expected
    "frame/container/picture.h includes frame/ui/control.h: frame/container includes the higher layer frame/ui"
    "frame/ui/form.h includes kalendo/kalendo.h: frame/ includes a component"
    "frame/automation/clock.cpp includes server/exports.cpp: frame/ includes a component"
    "frame/com and frame/registry include each other"
    "frame/extra/ holds code and has no place in the layer table"
    "about/frm_info.cpp includes tools/zeprova/host.cpp: about includes the higher layer tools"
    "kalendo/kalendo.cpp includes tests/ui/test.cpp: tests/ is outside the layers"
    "layers: 7 include(s) against the layer order")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not say \"${expected}\"; it said:\n${text}")
  endif()
endforeach()
message(STATUS "the check passes the clean tree and names each of the 7 bad includes")
