# Header-only packages for a cross build. CLI11 and nlohmann-json are the same for every
# target, so when the target's root lacks them, the build machine's copies are used.
# Their package configs are reached through a staging prefix under the build folder
# that holds only these packages' headers and configs: adding the build machine's whole
# include folder would put its C library headers in front of the target's.
set(ZEL_HOST_HEADER_PREFIX /usr CACHE PATH
  "Prefix of the build machine's header-only packages used when cross-compiling")
set(staging ${PROJECT_BINARY_DIR}/host-header-packages)

function(zel_stage_header_package package header_dir)
  find_package(${package} QUIET)
  if(${package}_FOUND)
    return()
  endif()
  set(config_dir ${ZEL_HOST_HEADER_PREFIX}/share/cmake/${package})
  set(header_path ${ZEL_HOST_HEADER_PREFIX}/include/${header_dir})
  if(NOT EXISTS ${config_dir} OR NOT EXISTS ${header_path})
    return()
  endif()
  file(MAKE_DIRECTORY ${staging}/include ${staging}/share/cmake)
  if(NOT EXISTS ${staging}/include/${header_dir})
    file(CREATE_LINK ${header_path} ${staging}/include/${header_dir} SYMBOLIC)
  endif()
  if(NOT EXISTS ${staging}/share/cmake/${package})
    file(CREATE_LINK ${config_dir} ${staging}/share/cmake/${package} SYMBOLIC)
  endif()
  set(${package}_DIR ${staging}/share/cmake/${package} CACHE PATH "" FORCE)
endfunction()

zel_stage_header_package(CLI11 CLI)
zel_stage_header_package(nlohmann_json nlohmann)

# fast_float's package config leads back to the build machine's own include folder, so its
# header folder is staged alone and given an imported target here.
find_package(FastFloat QUIET)
if(NOT TARGET FastFloat::fast_float AND EXISTS ${ZEL_HOST_HEADER_PREFIX}/include/fast_float)
  file(MAKE_DIRECTORY ${staging}/fast-float/include)
  if(NOT EXISTS ${staging}/fast-float/include/fast_float)
    file(CREATE_LINK ${ZEL_HOST_HEADER_PREFIX}/include/fast_float
      ${staging}/fast-float/include/fast_float SYMBOLIC)
  endif()
  add_library(FastFloat::fast_float INTERFACE IMPORTED GLOBAL)
  set_target_properties(FastFloat::fast_float PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${staging}/fast-float/include)
endif()
