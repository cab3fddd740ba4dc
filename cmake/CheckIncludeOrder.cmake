# Fails when a library source includes a header of a later stage. The stages run
# platform -> cube_reader -> settings -> color -> camera -> regmaps -> io -> readback -> api
# (the .cube reader needs nothing but the standard library; reading a look file back needs
# the writers' tables); a file may include headers of its own stage, of earlier stages and
# the public zel/ headers.
#
#   cmake -DSOURCE_DIR=<dir holding the stage folders> -P CheckIncludeOrder.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(stages platform cube_reader settings color camera regmaps io readback api)
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(violations "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" stage "${file}")
  list(FIND stages "${stage}" rank)
  if(rank LESS 0)
    string(APPEND violations "\n  ${file}: not inside a stage folder")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" target "${header}")
    if(target STREQUAL "zel")
      continue()
    endif()
    list(FIND stages "${target}" targetRank)
    if(targetRank LESS 0 OR targetRank GREATER rank)
      string(APPEND violations "\n  ${file} includes ${header}")
    endif()
  endforeach()
endforeach()

if(violations)
  string(REPLACE ";" " -> " order "${stages}")
  message(FATAL_ERROR "Includes against the stage order ${order}:${violations}")
endif()
list(LENGTH files count)
message(STATUS "${count} files include only their own or earlier stages")
