# Cross-compiles the Windows build with MinGW-w64 (posix thread model) and runs
# its test executables under Wine.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-target.cmake)
set(CMAKE_C_COMPILER ${ZW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZW_MINGW_PREFIX}-g++-posix)

# One self-contained executable: no libstdc++, libgcc or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(ZW_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZW_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZW_WINE})
endif()
