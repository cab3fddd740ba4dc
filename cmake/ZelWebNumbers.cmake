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
