# What both Windows toolchains share: the x86_64 MinGW-w64 target, its resource compiler and
# its sysroot, searched for libraries and headers only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER ${ZW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
