# Warning flags shared by every target of the project.
function(zel_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${ZEL_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
      $<$<BOOL:${ZEL_WERROR}>:-Werror>)
  endif()
  if(EMSCRIPTEN)
    # Emscripten's clang notes the raw area of the exported union record, which is there
    # only to be that size.
    target_compile_options(${target} PRIVATE -Wno-unused-private-field)
  endif()
endfunction()
