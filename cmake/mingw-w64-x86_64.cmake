# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads
# variant: the win32 one has no std::thread or std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KALVIOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KALVIOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALVIOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KALVIOR_MINGW_PREFIX}-windres)
set(CMAKE_AR ${KALVIOR_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KALVIOR_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${KALVIOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: the module and the test programs
# import Windows system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# GCC cannot give 32-byte AVX values on the stack their alignment on Windows
# x64 (the unwinder allows only 16): the assembler makes every aligned vector
# move an unaligned one, so that a spilled register can never fault.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
