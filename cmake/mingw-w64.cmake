# Cross toolchain for Windows with MinGW-w64 (posix threads variant, static runtime).
# ZR_ARCH selects the target: i686 (the product, PE32) or x86_64 (PE32+, for hosts
# whose kernel cannot execute 32-bit code).
if(NOT DEFINED ZR_ARCH)
  set(ZR_ARCH i686)
endif()
set(ZR_ARCH ${ZR_ARCH} CACHE STRING "Windows target architecture: i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZR_ARCH})
set(_zr_triple ${ZR_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER   ${_zr_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_zr_triple}-g++-posix)
set(CMAKE_RC_COMPILER  ${_zr_triple}-windres)
set(CMAKE_DLLTOOL      ${_zr_triple}-dlltool CACHE FILEPATH "dlltool")
set(CMAKE_FIND_ROOT_PATH /usr/${_zr_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every test and build-time tool runs through Wine, via a wrapper that owns the
# build folder's private prefix (written by the top-level CMakeLists).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-emu)
