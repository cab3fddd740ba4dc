# The one version the project sets answers alike everywhere it shows: the public header's
# ZEL_VERSION_STRING, `zelgen --version`, and (when the module is built) zel.__version__,
# which the library's zel_version() gives, and the module's installed metadata
# (importlib.metadata). The packages' versions are checked with the packages.
function(expect what actual)
  if(NOT actual STREQUAL EXPECTED)
    message(SEND_ERROR "${what} says \"${actual}\", the project's version is ${EXPECTED}")
  else()
    message(STATUS "${what}: ${actual}")
  endif()
endfunction()

file(STRINGS ${VERSION_HEADER} line REGEX "#define ZEL_VERSION_STRING")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" header_version "${line}")
expect("zel/version.h" "${header_version}")

execute_process(COMMAND ${ZELGEN} --version OUTPUT_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE)
# The first line names the version; a second says which look formats the build reads.
string(REGEX REPLACE "\n.*" "" out "${out}")
string(REGEX REPLACE "^zelgen " "" zelgen_version "${out}")
expect("zelgen --version" "${zelgen_version}")

if(PYTHON)
  set(ENV{PYTHONPATH} "${PYTHONPATH}")
  execute_process(
    COMMAND ${PYTHON} -c "import importlib.metadata, zel; print(zel.__version__); print(importlib.metadata.version('zel'))"
    OUTPUT_VARIABLE out ERROR_VARIABLE err OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" out "${out}")
  list(LENGTH out count)
  if(NOT count EQUAL 2)
    message(FATAL_ERROR "the Python module does not answer: ${out} ${err}")
  endif()
  list(GET out 0 module_version)
  list(GET out 1 metadata_version)
  expect("zel.__version__ (the library's zel_version())" "${module_version}")
  expect("importlib.metadata.version(\"zel\")" "${metadata_version}")
endif()
