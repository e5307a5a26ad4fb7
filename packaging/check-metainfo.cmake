# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the AppStream metadata against the project: with VERSION, that its
# newest release is the project's version (and, with CHANGELOG, the newest
# entry of the Debian changelog too); with SCREENSHOTS, that it shows
# screenshots and each is a file of that folder (docs/screenshots/); with
# HOMEPAGE and LICENSE, that it names that homepage, that project licence and
# a developer, which AppStream 0.16's validator does not ask for.
# cmake -DMETAINFO=file [-DVERSION=x.y.z [-DCHANGELOG=file]] [-DSCREENSHOTS=dir]
#       [-DHOMEPAGE=url -DLICENSE=spdx] -P check-metainfo.cmake
file(READ "${METAINFO}" xml)

if(DEFINED VERSION)
  string(REGEX MATCH "<release version=\"([^\"]+)\"" _ "${xml}")
  if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "newest release in the metadata is '${CMAKE_MATCH_1}', the project is ${VERSION}")
  endif()
  message(STATUS "release ${VERSION}: ok")
  if(DEFINED CHANGELOG)
    file(STRINGS "${CHANGELOG}" first LIMIT_COUNT 1)
    string(REGEX MATCH "^velitar \\(([^)]+)\\)" _ "${first}")
    if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
      message(FATAL_ERROR "newest entry of the changelog is '${CMAKE_MATCH_1}', the project is ${VERSION}")
    endif()
    message(STATUS "changelog ${VERSION}: ok")
  endif()
endif()

if(DEFINED HOMEPAGE)
  string(REGEX MATCH "<url type=\"homepage\">([^<]*)</url>" _ "${xml}")
  if(NOT CMAKE_MATCH_1 STREQUAL HOMEPAGE)
    message(FATAL_ERROR "the metadata's homepage is '${CMAKE_MATCH_1}', not ${HOMEPAGE}")
  endif()
  string(REGEX MATCH "<project_license>([^<]*)</project_license>" _ "${xml}")
  if(NOT CMAKE_MATCH_1 STREQUAL LICENSE)
    message(FATAL_ERROR "the metadata's project licence is '${CMAKE_MATCH_1}', not ${LICENSE}")
  endif()
  if(NOT xml MATCHES "<developer_name>[^<]+</developer_name>|<developer id=\"[^\"]+\">[ \t\r\n]*<name>[^<]+</name>")
    message(FATAL_ERROR "the metadata names no developer")
  endif()
  message(STATUS "homepage, licence and developer: ok")
endif()

if(DEFINED SCREENSHOTS)
  string(REGEX MATCHALL "<image[^>]*>[^<]+</image>" images "${xml}")
  if(NOT images)
    message(FATAL_ERROR "the metadata shows no screenshot")
  endif()
  foreach(image IN LISTS images)
    string(REGEX REPLACE "^.*/([^/<]+)</image>$" "\\1" name "${image}")
    if(NOT EXISTS "${SCREENSHOTS}/${name}")
      message(FATAL_ERROR "screenshot ${name} is not in ${SCREENSHOTS}")
    endif()
    message(STATUS "screenshot ${name}: ok")
  endforeach()
endif()
