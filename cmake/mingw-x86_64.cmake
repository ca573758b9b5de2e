# The same sources built for 64-bit Windows, for Wine on hosts that cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QV_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
