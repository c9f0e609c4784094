# What both MinGW-w64 toolchain files share; each sets QUARENT_MINGW_PROCESSOR
# (i686 or x86_64) first. The posix-thread compilers are used because the
# Windows build of GoogleTest needs std::mutex.
set(triple ${QUARENT_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUARENT_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_MC_COMPILER ${triple}-windmc)
set(QUARENT_WIDL ${triple}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
