# The C host's check of a look gives the very JSON text zelgen check --json prints for it.
#   cmake -DZELGEN=... -DHOST=... -DLOOK=x.cube -DWORK_DIR=... -P this
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# The library's reader takes the data lines right after LUT_3D_SIZE: the domain lines go.
file(STRINGS ${LOOK} lines)
list(FILTER lines EXCLUDE REGEX "^DOMAIN_")
list(JOIN lines "\n" text)
file(WRITE ${WORK_DIR}/look.cube "${text}\n")

execute_process(COMMAND ${HOST} ${WORK_DIR}/look.cube ${WORK_DIR}/Warm.zel ${WORK_DIR}/c.json
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the C host failed: ${status}")
endif()
execute_process(COMMAND ${ZELGEN} check ${WORK_DIR}/Warm.zel --look ${WORK_DIR}/look.cube --json
    OUTPUT_FILE ${WORK_DIR}/zelgen.json RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zelgen check failed: ${status}")
endif()

file(READ ${WORK_DIR}/c.json c_json)
file(READ ${WORK_DIR}/zelgen.json zelgen_json)
if(NOT "${c_json}\n" STREQUAL "${zelgen_json}")
  message(FATAL_ERROR "zel_check's JSON differs from zelgen check --json's")
endif()
string(LENGTH "${c_json}" length)
message(STATUS "the same JSON report (${length} characters)")
