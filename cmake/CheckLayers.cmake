cmake_minimum_required(VERSION 3.25)
# The layering check: every #include "..." of the project's code must look down or
# sideways in the layer table below, never up. It fails when
#   - a file of a lower layer includes one of a higher layer,
#   - anything under frame/ (the platform) includes a component or the component library,
#   - two folders of the same layer include each other (a cycle the ranks cannot show),
#   - a folder holding code has no place in the table (a new platform part must get one).
# tests/, bench/ and fuzz/ stand outside the layers and may include anything.
#   cmake -DROOT=<source tree> -P CheckLayers.cmake
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckLayers.cmake")
endif()

# The layers, lowest first; the folders of one entry (apart by blanks) are one layer.
# "frame" alone is the files directly in frame/, which make libzeplatform.so of the parts.
set(layers
  "frame/automation"
  "frame/sqlite"
  "frame/registry frame/system frame/com"
  "frame/container"
  "frame/ui"
  "frame/host frame/qt frame"
  "kalendo about calendar numeric utilita"
  "server"
  "tools sample examples")
set(outside_layers tests bench fuzz build cmake scripts)

set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE " " ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_of_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

# The folder a path belongs to: frame/<service> under frame/, else its top folder.
function(folder_of path out)
  if(path MATCHES "^frame/[^/]+$")
    set(${out} "frame" PARENT_SCOPE)
  elseif(path MATCHES "^frame/([^/]+)/")
    set(${out} "frame/${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(path MATCHES "^([^/]+)/")
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/*.h ${ROOT}/*.cpp)
list(SORT files)
set(faults "")
set(edges "")
set(unplaced "")
set(checked 0)
foreach(file IN LISTS files)
  folder_of("${file}" from)
  if(from STREQUAL "" OR file MATCHES "^\\.")
    continue()
  endif()
  string(REGEX REPLACE "/.*" "" top "${file}")
  if(top IN_LIST outside_layers)
    continue()
  endif()
  if(NOT DEFINED rank_of_${from} AND NOT from IN_LIST unplaced)
    list(APPEND unplaced ${from})
    list(APPEND faults "${from}/ holds code and has no place in the layer table")
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    folder_of("${included}" to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()  # a file beside it, or one of its own folder
    endif()
    string(REGEX REPLACE "/.*" "" to_top "${included}")
    if(to_top IN_LIST outside_layers)
      if(NOT to_top STREQUAL "build")
        list(APPEND faults "${file} includes ${included}: ${to_top}/ is outside the layers")
      endif()
      continue()
    endif()
    if(NOT DEFINED rank_of_${to})
      if(EXISTS ${ROOT}/${to_top})
        list(APPEND faults "${file} includes ${included}: ${to}/ has no place in the layer table")
      endif()
      continue()  # a library's own header written with quotes
    endif()
    if(from MATCHES "^frame" AND NOT to MATCHES "^frame")
      list(APPEND faults "${file} includes ${included}: frame/ includes a component")
    elseif(NOT DEFINED rank_of_${from})
      continue()
    elseif(rank_of_${to} GREATER rank_of_${from})
      list(APPEND faults "${file} includes ${included}: ${from} includes the higher layer ${to}")
    elseif(rank_of_${to} EQUAL rank_of_${from})
      list(APPEND edges "${from}>${to}")
    endif()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES edges)
foreach(edge IN LISTS edges)
  string(REPLACE ">" ";" pair "${edge}")
  list(GET pair 0 a)
  list(GET pair 1 b)
  if("${b}>${a}" IN_LIST edges AND a STRLESS b)
    list(APPEND faults "${a} and ${b} include each other")
  endif()
endforeach()

list(LENGTH faults count)
if(count GREATER 0)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "layers: ${count} include(s) against the layer order:\n  ${text}")
endif()
message(STATUS "layers: ${checked} files, no include against the layer order")
