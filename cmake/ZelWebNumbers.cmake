# Emscripten's standard library has no floating-point std::from_chars: in the WebAssembly
# build the library and the tool's number reading go through fast_float (header only), so
# the values stay the same as in the native build. Only this build compiles it into the
# library; the native library keeps to the standard library.
if(NOT TARGET FastFloat::fast_float)
  include(${PROJECT_SOURCE_DIR}/cmake/ZelCrossHeaderPackages.cmake)
endif()
if(NOT TARGET FastFloat::fast_float)
  message(FATAL_ERROR "The WebAssembly build needs fast_float (Debian: libfast-float-dev)")
endif()
foreach(target zel_objects zel_decode zelgen_core)
  if(TARGET ${target})
    target_link_libraries(${target} PRIVATE FastFloat::fast_float)
    target_compile_definitions(${target} PRIVATE ZEL_FROM_CHARS_THROUGH_FAST_FLOAT)
  endif()
endforeach()

# Nor has it the floating-point std::to_chars: the .cube writer finds the shortest digits of
# a float through {fmt} (header only, Debian: libfmt-dev) and writes them as std::to_chars
# does. Its headers are staged alone, as fast_float's are, so that the build machine's C
# library headers stay out of the target's include path.
if(TARGET zelgen_core)
  find_package(fmt QUIET)
  if(NOT TARGET fmt::fmt-header-only AND EXISTS ${ZEL_HOST_HEADER_PREFIX}/include/fmt/compile.h)
    set(fmt_staging ${PROJECT_BINARY_DIR}/host-header-packages/fmt/include)
    file(MAKE_DIRECTORY ${fmt_staging})
    if(NOT EXISTS ${fmt_staging}/fmt)
      file(CREATE_LINK ${ZEL_HOST_HEADER_PREFIX}/include/fmt ${fmt_staging}/fmt SYMBOLIC)
    endif()
    add_library(fmt::fmt-header-only INTERFACE IMPORTED GLOBAL)
    set_target_properties(fmt::fmt-header-only PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES ${fmt_staging}
      INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY=1)
  endif()
  if(NOT TARGET fmt::fmt-header-only)
    message(FATAL_ERROR "The WebAssembly build needs {fmt} (Debian: libfmt-dev)")
  endif()
  target_link_libraries(zelgen_core PRIVATE fmt::fmt-header-only)
  target_compile_definitions(zelgen_core PRIVATE ZEL_FLOAT_TEXT_THROUGH_FMT)
endif()
