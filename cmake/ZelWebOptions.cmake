# Options of the WebAssembly build (Emscripten): C++ exceptions thrown and caught, a heap
# that grows with the look.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sDISABLE_EXCEPTION_CATCHING=0 -sALLOW_MEMORY_GROWTH=1)
