# Cross-building for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix: the POSIX thread model, which std::thread needs).
# The libraries the programs link come from out/windows-deps (scripts/windows-deps
# builds them from Debian's source packages); nothing of the build machine's own
# libraries or headers is found.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(OVLET_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${OVLET_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OVLET_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OVLET_MINGW_TRIPLET}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# The dependencies' prefix; the deps script passes its own, the preset the
# default under the source folder.
get_filename_component(_ovlet_source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT OVLET_WINDOWS_DEPS)
  set(OVLET_WINDOWS_DEPS "${_ovlet_source_dir}/out/windows-deps/prefix")
endif()
# Passed on to try_compile projects, which see only listed variables.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OVLET_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH "${OVLET_WINDOWS_DEPS}" /usr/${OVLET_MINGW_TRIPLET})
set(CMAKE_PREFIX_PATH "${OVLET_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the dependencies' .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "${OVLET_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Each program runs alone: the C++ and C runtimes and the thread library are
# linked in, so the only DLLs it imports are Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
