# Checks the AppStream metadata against the project: with VERSION, that its
# newest release is the project's version; with SCREENSHOTS, that it shows
# screenshots and each is a file of that folder (docs/screenshots/).
# cmake -DMETAINFO=file [-DVERSION=x.y.z] [-DSCREENSHOTS=dir] -P check-metainfo.cmake
file(READ "${METAINFO}" xml)

if(DEFINED VERSION)
  string(REGEX MATCH "<release version=\"([^\"]+)\"" _ "${xml}")
  if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    message(FATAL_ERROR "newest release in the metadata is '${CMAKE_MATCH_1}', the project is ${VERSION}")
  endif()
  message(STATUS "release ${VERSION}: ok")
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
