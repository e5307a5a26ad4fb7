# SPDX-License-Identifier: GPL-3.0-or-later
# What only the Windows program needs from the build (MinGW-w64, static Qt):
#   - one file: the C++ runtime, libgcc and winpthreads linked in, so that
#     nothing but Windows' own DLLs is needed beside velitar.exe;
#   - the same bytes from every build of the same sources: no time stamp in
#     the PE header, no build folder in the objects;
#   - Qt's plugins (the "windows" platform) linked into each program: Qt built
#     from Debian's source leaves that to the program;
#   - small: unused functions and data dropped at link time (Qt is compiled
#     for it), no symbols in optimised builds.
if(NOT WIN32 OR MSVC)
  return()
endif()
set(QT_SKIP_AUTO_PLUGIN_INCLUSION OFF)
add_link_options(-static -static-libgcc -static-libstdc++ LINKER:--no-insert-timestamp)
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(LINKER:--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
# The fonts the windows are laid out for travel inside the program: a Windows
# machine has none of them.
set(VELITAR_BUNDLE_FONTS ON CACHE BOOL "Carry the windows' fonts inside the program")
