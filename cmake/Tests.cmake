# SPDX-License-Identifier: GPL-3.0-or-later
# velitar_test(NAME name SECONDS seconds COMMAND program [arg...]): a test
# bounded in time. On Linux it runs under tests/watch/watchdog.sh: a test
# that has not ended within SECONDS is shown where it is (its processes,
# every thread's backtrace, its D-Bus names, its session's logs) and stopped,
# and a test that leaves anything running fails; CTest's own TIMEOUT, two
# minutes later, is only a backstop. PROGRAM may name a target of the build.
# The Windows build's tests run under Wine (its emulator,
# tests/windows/wine-run.sh), which is given SECONDS likewise: a program
# that has not ended by then is shown where it is (every thread's backtrace)
# and stopped.
function(velitar_test)
  cmake_parse_arguments(T "" "NAME;SECONDS" "COMMAND" ${ARGN})
  math(EXPR backstop "${T_SECONDS} + 120")
  if(WIN32)
    add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${backstop}
      ENVIRONMENT_MODIFICATION "VELITAR_TEST_SECONDS=set:${T_SECONDS}")
    return()
  endif()
  list(POP_FRONT T_COMMAND program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  add_test(NAME ${T_NAME}
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/watch/watchdog.sh ${T_SECONDS} ${program} ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${backstop})
endfunction()
