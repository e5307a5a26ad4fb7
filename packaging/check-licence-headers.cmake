# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the program, its tests, benchmark and scripts names its
# licence in its first lines, as an SPDX identifier that tools read.
#   cmake -DSOURCE_DIR=... -P check-licence-headers.cmake
set(tag "SPDX-License-Identifier: GPL-3.0-or-later")
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/CMakeLists.txt ${SOURCE_DIR}/.ci/run
  ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.sh ${SOURCE_DIR}/*.py ${SOURCE_DIR}/*.cmake)
set(missing "")
set(count 0)
foreach(f IN LISTS files)
  if(f MATCHES "^(build[^/]*|out)/" OR f MATCHES "/CMakeFiles/")
    continue()
  endif()
  math(EXPR count "${count} + 1")
  file(STRINGS ${SOURCE_DIR}/${f} head LIMIT_COUNT 2)
  string(FIND "${head}" "${tag}" at)
  if(at EQUAL -1)
    list(APPEND missing ${f})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " shown)
  message(FATAL_ERROR "no '${tag}' in the first two lines of:\n  ${shown}")
endif()
message(STATUS "${count} source files name their licence")
