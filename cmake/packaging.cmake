# The installed files, and the packages CPack makes of them: from a Linux build a .deb and a
# .tar.gz of the same tree, from a Windows build a .zip. With PENDRIK_PACKAGES, the target
# `packages` builds the Windows programs too and writes all three with SHA256SUMS.

# Writes text as the build's file name with CR LF line ends, as Windows editors expect, and
# installs it beside the programs.
function(install_windows_text name text)
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name} "${text}")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name} DESTINATION .)
endfunction()

# Compresses input into the build's file name as Debian does: gzip -9, no name or time stamp.
function(gzip_file input name)
  execute_process(COMMAND gzip -9n INPUT_FILE ${input} OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/${name}
    COMMAND_ERROR_IS_FATAL ANY)
endfunction()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS windows/README.txt LICENSE docs/changelog
  tools/locale_data/LICENSE tools/holiday_data/LICENSE)
file(READ LICENSE license)
# Its table of public holidays is date-holidays' data, under CC BY-SA 3.0.
file(READ tools/holiday_data/LICENSE holiday_license)
string(STRIP "${holiday_license}" holiday_license)
# ostavel's locale table is data of the Unicode CLDR, under its own license.
file(READ tools/locale_data/LICENSE data_license)
string(STRIP "${data_license}" data_license)


if(WIN32)
  # One folder for people without man: the programs, their manual pages as plain text, a
  # README of their own and the license.
  install(TARGETS ${programs} RUNTIME DESTINATION .)
  foreach(program IN LISTS programs)
    execute_process(COMMAND groff -man -Tascii -P-cbou ${CMAKE_CURRENT_BINARY_DIR}/${program}.1
      OUTPUT_VARIABLE manual COMMAND_ERROR_IS_FATAL ANY)
    install_windows_text(${program}.txt "${manual}")
  endforeach()
  file(READ windows/README.txt readme)
  install_windows_text(README.txt "${readme}")
  install_windows_text(LICENSE.txt "${license}
ostavel's table of locales is made from the Unicode CLDR by ${locale_data_source}, under this license:

${data_license}

${holiday_license}
")
  set(CPACK_GENERATOR ZIP)
else()
  install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  foreach(program IN LISTS programs)
    gzip_file(${CMAKE_CURRENT_BINARY_DIR}/${program}.1 ${program}.1.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  # The license in Debian's machine-readable copyright format: its terms indented by one
  # space, a blank line written as " .".
  string(REGEX REPLACE "^.*\n(Permission)" "\\1" terms "${license}")
  string(STRIP "${terms}" terms)
  string(REPLACE "\n\n" "\n.\n" terms "${terms}")
  string(REPLACE "\n" "\n " terms "${terms}")
  string(REPLACE "Copyright (c) " "" holders "${copyright}")
  string(REGEX MATCH "Copyright [^\n]*Unicode, Inc\\." data_holders "${data_license}")
  string(REGEX REPLACE "^Copyright (© )?" "" data_holders "${data_holders}")
  string(REPLACE "\n\n" "\n.\n" data_terms "${data_license}")
  string(REPLACE "\n" "\n " data_terms "${data_terms}")
  string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" holiday_terms "${holiday_license}")
  string(REPLACE "\n" "\n " holiday_terms "${holiday_terms}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: ${PROJECT_NAME}\n\n"
    "Files: *\nCopyright: ${holders}\nLicense: Expat\n ${terms}\n\n"
    "Files: src/locale/locale_data.cpp\nCopyright: ${data_holders}\n"
    "Comment: ostavel's table of locales, made from the Unicode CLDR by ${locale_data_source}.\n"
    "License: Unicode-DFS-2016\n ${data_terms}\n\n"
    "Files: src/holidays/holiday_data.cpp\nCopyright: 2015-present commenthol and the date-holidays contributors\n"
    "Comment: ostavel's table of public holidays, made from npm date-holidays 3.37.0.\n"
    "License: CC-BY-SA-3.0\n ${holiday_terms}\n")
  foreach(program IN LISTS programs)
    install(FILES completion/${program}.bash RENAME ${program}
      DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  endforeach()
  gzip_file(${CMAKE_CURRENT_SOURCE_DIR}/docs/changelog changelog.gz)
  # What the programs need of the system, for an install from the .tar.gz.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/README
    "pendrik and ostavel write calendars as static HTML pages: see pendrik(1) and ostavel(1).\n\n"
    "ostavel reads iCalendar files with libical, a library of the system: on Debian and\n"
    "Ubuntu the package libical3 (sudo apt install libical3). Nothing else is needed beyond\n"
    "the C library.\n")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README ${CMAKE_CURRENT_BINARY_DIR}/copyright
    ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR DEB TGZ)
endif()

string(TOLOWER "${PROJECT_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}"
  CPACK_PACKAGE_FILE_NAME)
set(CPACK_PACKAGE_VENDOR "the pendrik authors")
set(CPACK_PACKAGE_CONTACT "the pendrik authors <pendrik@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calendars of many months as static HTML pages")
set(CPACK_PACKAGE_DESCRIPTION [[
pendrik writes consecutive month tables, from the current month on, into
one static HTML page: each month a Sunday-to-Saturday table under its name
and year, today in red, four tables to a row. ostavel writes the same page
from any month of the years 1701 to 2500, for 1 to 120 months, also in any
language of the Unicode CLDR and with events from text and iCalendar files.

The pages are plain ASCII with CR LF line ends, the same bytes on every
platform.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# ostavel loads libical itself, at its first calendar file: no link names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libical3 (>= 3.0)")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/repack.cmake)
include(CPack)

if(PENDRIK_PACKAGES AND NOT CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  ExternalProject_Add(windows
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows
    CMAKE_ARGS --toolchain ${CMAKE_CURRENT_SOURCE_DIR}/cmake/mingw-w64.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DPENDRIK_LINK_HOST=${PENDRIK_LINK_HOST}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
  add_custom_target(packages
    COMMAND ${CMAKE_COMMAND} -D build=${CMAKE_BINARY_DIR} -D source=${CMAKE_CURRENT_SOURCE_DIR}
            -P ${CMAKE_CURRENT_LIST_DIR}/make-packages.cmake
    VERBATIM)
  add_dependencies(packages ${programs} windows)
endif()
