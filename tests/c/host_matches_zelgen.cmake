# Makes one look with zelgen and with the C host and compares the two files, time stamp
# (8 bytes at offset 180) aside.
#   cmake -DZELGEN=... -DHOST=... -DLOOK=x.cube -DCAMERA=... -DWORK_DIR=... [-DSHAPER=ON] -P this
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/zelgen ${WORK_DIR}/c)

# Both read the look as zelgen reads it: title, domain lines and all. With SHAPER, the
# look's table stands behind a 1D shaper and its numbers are two spaces apart: both makers
# sample the look through the shaper.
if(SHAPER)
  file(STRINGS ${LOOK} lines REGEX "^[-0-9]")
  list(JOIN lines "\n" rows)
  string(REPLACE " " "  " rows "${rows}")
  file(WRITE ${WORK_DIR}/look.cube "TITLE \"Shaped\"\nLUT_1D_SIZE 3\nLUT_3D_SIZE 17\n"
    "0 0 0\n0.6 0.55 0.5\n1 1 1\n${rows}\n")
else()
  configure_file(${LOOK} ${WORK_DIR}/look.cube COPYONLY)
endif()

execute_process(COMMAND ${ZELGEN} make ${WORK_DIR}/look.cube -o ${WORK_DIR}/zelgen/Warm.zel
    --camera ${CAMERA} -q RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zelgen failed: ${status}")
endif()
execute_process(COMMAND ${HOST} ${WORK_DIR}/look.cube ${WORK_DIR}/c/Warm.zel ${CAMERA}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the C host failed: ${status}")
endif()

foreach(maker zelgen c)
  file(READ ${WORK_DIR}/${maker}/Warm.zel hex HEX)
  string(SUBSTRING "${hex}" 0 360 head)
  string(SUBSTRING "${hex}" 376 -1 tail)
  set(${maker}_bytes "${head}${tail}")
endforeach()
string(LENGTH "${zelgen_bytes}" length)
if(length LESS 1000 OR NOT zelgen_bytes STREQUAL c_bytes)
  message(FATAL_ERROR "the C host's look file differs from zelgen's (${CAMERA})")
endif()
message(STATUS "same look file (${CAMERA}, ${length} hex digits)")
