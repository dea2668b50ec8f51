# Cross-compiles the Windows x64 program with mingw-w64 (posix threads) and runs
# test executables through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(EK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${EK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${EK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${EK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The scripts export the prefix, locale and display before ctest runs.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Fully static: the .exe needs nothing but the system's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
