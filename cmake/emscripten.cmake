# The page: C++ to WebAssembly with Debian's Emscripten. The build presets set
# EM_CACHE to a folder of the build tree and NODE_PATH for the linker's
# JavaScript optimiser.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Debian's prebuilt system libraries stay where they are; the cache folder of
# the build tree holds only emcc's lock beside a link to them, so nothing is
# written under /usr/share and no root is needed.
if(DEFINED ENV{EM_CACHE} AND NOT EXISTS "$ENV{EM_CACHE}/sysroot")
  file(MAKE_DIRECTORY "$ENV{EM_CACHE}")
  file(CREATE_LINK /usr/share/emscripten/cache/sysroot "$ENV{EM_CACHE}/sysroot" SYMBOLIC)
  file(COPY /usr/share/emscripten/cache/sysroot_install.stamp DESTINATION "$ENV{EM_CACHE}")
endif()

# Without -fexceptions at compile and link time a thrown error aborts the
# program. Every program is one file (the test programs too: node cannot
# fetch a .wasm beside them).
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1")
