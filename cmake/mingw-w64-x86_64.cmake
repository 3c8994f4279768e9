# Cross-compiles the Windows build with MinGW-w64 (posix thread model) and runs
# its test executables under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no libstdc++, libgcc or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(ZW_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZW_WINE})
endif()
