# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers (the posix thread
# model, which Qt needs). Used for the Qt that scripts/windows builds and for our own build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TFP_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TFP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TFP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TFP_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TFP_MINGW_TRIPLE}-ar CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${TFP_MINGW_TRIPLE}-ranlib CACHE FILEPATH "Archive indexer")
set(CMAKE_STRIP ${TFP_MINGW_TRIPLE}-strip CACHE FILEPATH "Stripper")

# Libraries, headers and CMake packages come from the MinGW-w64 tree and from the roots
# given on the command line (the Windows Qt); programs from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TFP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
