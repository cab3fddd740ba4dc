# Options of the WebAssembly build (Emscripten): C++ exceptions thrown and caught by
# WebAssembly's own exception handling (much faster than the JavaScript emulation), a heap
# that grows with the look.
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1)
