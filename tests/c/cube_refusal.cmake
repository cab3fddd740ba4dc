# Runs the C host on .cube files it must refuse and checks what reaches standard error:
# the host's own line, with the library's reason (file, line, why), and nothing else.
#   cmake -DHOST=... -DWORK_DIR=... -P this
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/bad.cube "TITLE \"Bad\"\nLUT_3D_SIZE 2\n0 0 0\n1 0 x\n")

# case: file, what its refusal must say
set(cases
  "missing.cube|cannot open .*missing.cube \\(the file cannot be opened\\)"
  "bad.cube|bad.cube, line 4: \"1 0 x\": 'x' is not a number \\(")
foreach(case ${cases})
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 file)
  list(GET parts 1 expected)
  execute_process(COMMAND ${HOST} ${WORK_DIR}/${file} ${WORK_DIR}/out.zel CAMB-001
    RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_VARIABLE output)
  string(STRIP "${errors}" errors)
  if(status EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "${file}: the host should fail quietly (${status}): ${output}")
  endif()
  if(NOT errors MATCHES "^[^\n]*${expected}[^\n]*$")
    message(FATAL_ERROR "${file}: standard error is not the host's one line:\n${errors}")
  endif()
endforeach()
message(STATUS "refusals reach the host in its message, the library prints nothing")
