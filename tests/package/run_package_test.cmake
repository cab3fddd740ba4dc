# Installs the built library into a scratch prefix, then configures, builds and runs a
# small host that finds it with find_package(zel) and with pkg-config.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "command failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${ZEL_BINARY_DIR} --prefix ${prefix})
if(CMAKE_TOOLCHAIN_FILE)
  # Cross build: the toolchain confines package searches to the target's root, so the
  # installed package is named directly; the host runs through the emulator and finds
  # zel.dll beside itself, as a deployed Windows host does.
  file(GLOB_RECURSE config ${prefix}/zelConfig.cmake)
  get_filename_component(config_dir "${config}" DIRECTORY)
  run(${CMAKE_COMMAND} -S ${HOST_SOURCE_DIR} -B ${WORK_DIR}/host -G ${CMAKE_GENERATOR}
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -Dzel_DIR=${config_dir})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/host)
  file(GLOB dlls ${prefix}/bin/*.dll)
  file(COPY ${dlls} DESTINATION ${WORK_DIR}/host)
  string(REPLACE "|" ";" emulator "${HOST_EMULATOR}")
  run(${emulator} ${WORK_DIR}/host/zel_package_host.exe)
else()
  run(${CMAKE_COMMAND} -S ${HOST_SOURCE_DIR} -B ${WORK_DIR}/host -G ${CMAKE_GENERATOR}
      -DCMAKE_PREFIX_PATH=${prefix})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/host)
  run(${WORK_DIR}/host/zel_package_host)
  # The installed tool starts as it is, its library found beside it in the tree.
  if(EXISTS ${prefix}/bin/zelgen)
    unset(ENV{LD_LIBRARY_PATH})
    execute_process(COMMAND ${prefix}/bin/zelgen --version
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT out MATCHES "^zelgen ")
      message(FATAL_ERROR "the installed zelgen does not start (${rc}): ${out}${err}")
    endif()
  endif()
endif()

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} "${prefix}/lib/pkgconfig:${prefix}/lib64/pkgconfig")
  foreach(dir lib lib64 lib/x86_64-linux-gnu)
    if(EXISTS ${prefix}/${dir}/pkgconfig/zel.pc)
      set(ENV{PKG_CONFIG_PATH} "${prefix}/${dir}/pkgconfig")
    endif()
  endforeach()
  run(${PKG_CONFIG} --exists zel)
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs zel OUTPUT_VARIABLE flags)
  if(NOT flags MATCHES "-lzel")
    message(FATAL_ERROR "pkg-config does not name the library: ${flags}")
  endif()
endif()
