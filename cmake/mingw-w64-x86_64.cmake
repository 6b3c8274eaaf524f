# Cross-build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64):
#   cmake --preset windows      (CMakePresets.json: build-win with this file)
# Test programs run as Windows programs under Wine. What every Windows compiler needs (the
# wide-character API, static runtime) is set by the project itself, under if(WIN32).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUIRN_MINGW_TRIPLET x86_64-w64-mingw32)
# The -posix thread model gives std::thread, std::mutex and std::condition_variable; the
# -win32 variant lacks them in this compiler generation.
find_program(CMAKE_C_COMPILER NAMES ${QUIRN_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUIRN_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUIRN_MINGW_TRIPLET}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${QUIRN_MINGW_TRIPLET}-ar)
find_program(CMAKE_RANLIB NAMES ${QUIRN_MINGW_TRIPLET}-ranlib)
find_program(CMAKE_OBJDUMP NAMES ${QUIRN_MINGW_TRIPLET}-objdump)

# Headers and libraries come from the cross sysroot only; programs (python, wine) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QUIRN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Built test programs run under Wine, in a Wine prefix of this build directory's own (see
# tools/wine-run.sh); CTest, gtest discovery and add_test commands that name a target go through
# it. The Wine prefix is made on first use.
get_filename_component(QUIRN_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${QUIRN_SOURCE_DIR}/tools/wine-run.sh;${CMAKE_BINARY_DIR}/wine")
