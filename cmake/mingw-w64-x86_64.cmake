# Cross build of the 64-bit Windows library on Debian with mingw-w64:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The compilers are the "posix" thread-model variant. The library itself
# reaches threads, locks and thread-local storage only through the Win32
# calls of foundation/platform/windows, but GCC 12's libstdc++ offers
# std::thread, std::mutex and std::condition_variable only in the posix
# model, and the tests drive our locks from several std::threads. The
# winpthread library that model needs is linked statically (below), so no
# runtime DLL travels with the plug-in either way.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HALVANE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HALVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HALVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${HALVANE_MINGW_TRIPLET}-windres)

# Headers and libraries of the target (zlib from libz-mingw-w64-dev) come
# from the mingw-w64 tree only; programs run on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${HALVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib goes into the library rather than beside it as zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

# libgcc, libstdc++ and winpthread linked in: the DLL and the test programs
# depend on system DLLs only (KERNEL32, msvcrt, USER32, SHELL32, ...).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine, headless, in a Wine prefix of the build's
# own (made on first use).
find_program(HALVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(HALVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix ${HALVANE_WINE})
endif()
