# Shared part of the two MinGW-w64 toolchain files. QV_TRIPLE is set by the including file.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model: the posix one links winpthreads, which imports functions that Windows
# 2000 and XP lack (GetTickCount64, AddVectoredExceptionHandler), so the program would not load
# there. The program's threads use platform/Threads.h instead of std::thread and std::mutex.
set(CMAKE_C_COMPILER   ${QV_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QV_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER  ${QV_TRIPLE}-windres)
set(CMAKE_AR           /usr/bin/${QV_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${QV_TRIPLE}-ranlib CACHE FILEPATH "")

# The cross-built third-party libraries live in a cache outside the work tree.
if(DEFINED ENV{QV_CACHE})
  set(QV_CACHE "$ENV{QV_CACHE}")
else()
  set(QV_CACHE "$ENV{HOME}/.cache/quorvex")
endif()
# Named by the thread model too: libraries of the posix model's compiler are not reused.
set(QV_THIRDPARTY_PREFIX "${QV_CACHE}/${QV_TRIPLE}-win32")

set(CMAKE_FIND_ROOT_PATH /usr/${QV_TRIPLE} "${QV_THIRDPARTY_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows test programs run under Wine; scripts/wine-env.sh picks the loader and the prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
