# Cross-compiles the Windows build with Debian's clang for the MinGW-w64 target: the same
# headers, C runtime and libstdc++ as the GCC build, another compiler. It checks that the
# product is plain C++20 and Win32 that a second toolchain builds without warnings.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-target.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${ZW_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${ZW_MINGW_PREFIX})

# clang finds the MinGW-w64 headers, but libstdc++ only in the cross GCC's own folders
# (posix thread model, as in the GCC build).
file(GLOB ZW_MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${ZW_MINGW_PREFIX}/*-posix)
list(GET ZW_MINGW_GCC_DIRS -1 ZW_MINGW_GCC_DIR)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${ZW_MINGW_GCC_DIR}/include/c++ -isystem ${ZW_MINGW_GCC_DIR}/include/c++/${ZW_MINGW_PREFIX}")
# -pthread: the static winpthread inside the link group, where libgcc_eh needs it. lld: GNU ld
# warns about every type name that clang's objects and GCC's libstdc++ lay out in different
# sizes; lld in MinGW mode takes either, as GCC's own link does.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -pthread -fuse-ld=lld -L${ZW_MINGW_GCC_DIR}")
