# GoogleTest for a cross build. A GoogleTest built for the target is used when the
# target's root has one; otherwise it is built from source as part of the project
# (Debian's googletest package ships the source in /usr/src/googletest).
find_package(GTest QUIET)
if(NOT GTest_FOUND)
  set(ZEL_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest source tree built with the project when cross-compiling")
  if(NOT EXISTS ${ZEL_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest for the target and no source in "
      "ZEL_GOOGLETEST_SOURCE_DIR (${ZEL_GOOGLETEST_SOURCE_DIR})")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ZEL_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Test discovery runs each test program through the emulator; doing it when ctest
# starts keeps the build itself free of the emulator.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
