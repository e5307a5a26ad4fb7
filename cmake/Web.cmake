# SPDX-License-Identifier: GPL-3.0-or-later
# What only the web program needs from the build (Emscripten, static Qt for
# WebAssembly, single-threaded):
#   - Qt's plugins (the "wasm" platform) linked into the program: Qt built
#     from Debian's source leaves that to the program;
#   - the windows' fonts carried inside the program: a browser lends none;
#   - no hardening of ELF's kind (wasm-ld knows no -z relro; WebAssembly has
#     no writable code and no return addresses in its memory);
#   - no JavaScript made from strings at run time (Emscripten's bindings
#     would use new Function), so that the page's Content-Security-Policy
#     need not allow 'unsafe-eval';
#   - the page, the loader and the service worker beside the program
#     (web/, put together by scripts/web/build.sh).
# The test suites are desktop ones: the browser takes the program through
# the same runs from outside (tests/web/).
if(NOT EMSCRIPTEN)
  return()
endif()
set(QT_SKIP_AUTO_PLUGIN_INCLUSION OFF)
add_link_options(-sDYNAMIC_EXECUTION=0)
set(VELITAR_HARDENING OFF CACHE BOOL "" FORCE)
set(VELITAR_BUNDLE_FONTS ON CACHE BOOL "Carry the windows' fonts inside the program")
set(VELITAR_BUILD_TESTS OFF CACHE BOOL "" FORCE)
