# Shared part of the two MinGW-w64 toolchain files. QV_TRIPLE is set by the including file.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model gives std::thread and std::mutex (winpthreads, linked statically).
set(CMAKE_C_COMPILER   ${QV_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${QV_TRIPLE}-windres)
set(CMAKE_AR           /usr/bin/${QV_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${QV_TRIPLE}-ranlib CACHE FILEPATH "")

# The cross-built third-party libraries live in a cache outside the work tree.
if(DEFINED ENV{QV_CACHE})
  set(QV_CACHE "$ENV{QV_CACHE}")
else()
  set(QV_CACHE "$ENV{HOME}/.cache/quorvex")
endif()
set(QV_THIRDPARTY_PREFIX "${QV_CACHE}/${QV_TRIPLE}")

set(CMAKE_FIND_ROOT_PATH /usr/${QV_TRIPLE} "${QV_THIRDPARTY_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows test programs run under Wine; scripts/wine-env.sh picks the loader and the prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
