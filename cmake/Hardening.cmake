# SPDX-License-Identifier: GPL-3.0-or-later
# Hardening of the program's binaries:
#   - a position-independent executable (PIE), so that ASLR moves it too;
#   - -fstack-protector-strong and -fstack-clash-protection;
#   - -D_FORTIFY_SOURCE (checked libc calls; it needs optimisation, so only
#     optimised configurations get it);
#   - -D_GLIBCXX_ASSERTIONS (bounds-checked standard containers);
#   - -Wl,-z,relro,-z,now (read-only relocations, immediate binding).
# A Windows program (PE) is hardened the Windows way instead of the last two
# and PIE, which are ELF's: --dynamicbase (ASLR), --high-entropy-va (ASLR over
# the whole 64-bit address space) and --nxcompat (DEP). _FORTIFY_SOURCE is
# glibc's and is left out there.
#
# On by default; -DVELITAR_HARDENING=OFF turns all of it off. A packager who
# sets one of these in CXXFLAGS or LDFLAGS (or CMAKE_CXX_FLAGS,
# CMAKE_EXE_LINKER_FLAGS), in either sense (-fno-stack-protector, -no-pie,
# -U_FORTIFY_SOURCE, -z,lazy ...), keeps exactly that: it is not added again
# nor overridden.
option(VELITAR_HARDENING "Harden the binaries: PIE, stack protector, fortified libc calls, RELRO" ON)

if(NOT VELITAR_HARDENING OR MSVC)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckPIESupported)

# What was set from outside, for every configuration this build may use.
set(_hardening_cflags "${CMAKE_CXX_FLAGS}")
set(_hardening_ldflags "${CMAKE_EXE_LINKER_FLAGS}")
foreach(_config ${CMAKE_CONFIGURATION_TYPES} ${CMAKE_BUILD_TYPE})
  string(TOUPPER "${_config}" _config)
  string(APPEND _hardening_cflags " ${CMAKE_CXX_FLAGS_${_config}}")
  string(APPEND _hardening_ldflags " ${CMAKE_EXE_LINKER_FLAGS_${_config}}")
endforeach()

set(_hardened "")

if(WIN32)
  foreach(_flag dynamicbase high-entropy-va nxcompat)
    if(NOT _hardening_ldflags MATCHES "--(disable-)?${_flag}")
      add_link_options(LINKER:--${_flag})
      list(APPEND _hardened "--${_flag}")
    endif()
  endforeach()
endif()

# PIE. Qt compiles everything with -fPIC already; what matters is that the
# executable is linked as PIE.
if(NOT WIN32 AND NOT DEFINED CMAKE_POSITION_INDEPENDENT_CODE AND NOT _hardening_ldflags MATCHES "(^| )-(no-)?pie( |$)")
  check_pie_supported(OUTPUT_VARIABLE _pie_output LANGUAGES CXX)
  if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    list(APPEND _hardened "PIE")
  endif()
endif()

if(NOT _hardening_cflags MATCHES "-f(no-)?stack-protector")
  add_compile_options(-fstack-protector-strong)
  list(APPEND _hardened "-fstack-protector-strong")
endif()

if(NOT _hardening_cflags MATCHES "-f(no-)?stack-clash-protection")
  check_cxx_compiler_flag(-fstack-clash-protection VELITAR_HAS_STACK_CLASH_PROTECTION)
  if(VELITAR_HAS_STACK_CLASH_PROTECTION)
    add_compile_options(-fstack-clash-protection)
    list(APPEND _hardened "-fstack-clash-protection")
  endif()
endif()

if(NOT WIN32 AND NOT _hardening_cflags MATCHES "_FORTIFY_SOURCE")
  # Level 3 where the compiler can size objects at run time, 2 elsewhere.
  set(_fortify 2)
  if((CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
     OR (CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 9))
    set(_fortify 3)
  endif()
  # Only with optimisation: without it glibc ignores it, with a warning.
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=${_fortify}>)
  list(APPEND _hardened "-D_FORTIFY_SOURCE=${_fortify} (optimised builds)")
endif()

if(NOT _hardening_cflags MATCHES "_GLIBCXX_ASSERTIONS")
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  list(APPEND _hardened "-D_GLIBCXX_ASSERTIONS")
endif()

if(NOT WIN32 AND NOT _hardening_ldflags MATCHES "relro")
  add_link_options(LINKER:-z,relro)
  list(APPEND _hardened "-z relro")
endif()
if(NOT WIN32 AND NOT _hardening_ldflags MATCHES "(-z,|-z )(now|lazy)|-znow|-zlazy")
  add_link_options(LINKER:-z,now)
  list(APPEND _hardened "-z now")
endif()

list(JOIN _hardened ", " _hardened)
message(STATUS "Hardening: ${_hardened}")
