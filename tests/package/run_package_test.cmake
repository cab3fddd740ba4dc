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
  run(${emulator} ${WORK_DIR}/host/zel_package_c_host.exe)
else()
  run(${CMAKE_COMMAND} -S ${HOST_SOURCE_DIR} -B ${WORK_DIR}/host -G ${CMAKE_GENERATOR}
      -DCMAKE_PREFIX_PATH=${prefix})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/host)
  run(${WORK_DIR}/host/zel_package_host)
  run(${WORK_DIR}/host/zel_package_c_host)
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

# pkg-config: a C host compiled and linked with nothing but the flags it gives, first where
# the tree was installed, then after the tree was moved (the .pc file derives the prefix
# from its own folder).
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG AND NOT CMAKE_TOOLCHAIN_FILE AND C_COMPILER)
  set(moved ${WORK_DIR}/moved/elsewhere)
  file(MAKE_DIRECTORY ${WORK_DIR}/moved)
  file(COPY ${prefix}/ DESTINATION ${moved})
  foreach(tree ${prefix} ${moved})
    file(GLOB_RECURSE pc_file ${tree}/zel.pc)
    get_filename_component(pc_dir "${pc_file}" DIRECTORY)
    set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
    execute_process(COMMAND ${PKG_CONFIG} --cflags --libs zel
      RESULT_VARIABLE rc OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REGEX MATCH "-I([^ ]+)" include_flag "${flags}")
    get_filename_component(include_dir "${CMAKE_MATCH_1}" REALPATH)
    get_filename_component(expected_dir "${tree}/include" REALPATH)
    if(NOT rc EQUAL 0 OR NOT include_dir STREQUAL expected_dir OR NOT flags MATCHES "-lzel")
      message(FATAL_ERROR "pkg-config does not name the tree at ${tree}: ${flags}")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    run(${C_COMPILER} ${HOST_SOURCE_DIR}/host.c ${flags} -o ${WORK_DIR}/pkg_config_host)
    get_filename_component(libdir "${pc_dir}" DIRECTORY)
    set(ENV{LD_LIBRARY_PATH} "${libdir}")
    run(${WORK_DIR}/pkg_config_host)
    unset(ENV{LD_LIBRARY_PATH})
  endforeach()
endif()
