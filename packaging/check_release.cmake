# Checks the release's files in FOLDER as players get them, before the archive is written
# (and again once a test has unpacked it): every text has CRLF line ends, its last line too,
# and the changelog's top entry is VERSION with its date, "1.0 (2026-12-09)".
cmake_policy(VERSION 3.25)
file(GLOB texts ${FOLDER}/*.txt ${FOLDER}/*.example)
list(LENGTH texts count)
if(count LESS 4)
  message(FATAL_ERROR "${FOLDER} holds ${count} texts, expected 4")
endif()
foreach(text IN LISTS texts)
  get_filename_component(name ${text} NAME)
  # The line ends in the file's bytes, a space after each byte (file(READ) drops carriage
  # returns from text).
  file(READ ${text} bytes HEX)
  string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
  string(REPLACE "0d 0a " "" bare "${bytes}")
  if(bare MATCHES "(^| )0[ad] ")
    message(FATAL_ERROR "${name} has a line end other than CRLF")
  endif()
  if(NOT bytes MATCHES "0d 0a $")
    message(FATAL_ERROR "${name}'s last line has no line end")
  endif()
endforeach()

# The changelog's entries are its headings underlined with dashes.
file(STRINGS ${FOLDER}/Rotorstrike-CHANGELOG.txt changelog)
set(previous "")
foreach(line IN LISTS changelog)
  string(STRIP "${line}" line)
  if(line MATCHES "^-+$" AND NOT previous STREQUAL "")
    string(REPLACE "." "\\." escaped "${VERSION}")
    if(NOT previous MATCHES "^${escaped} \\([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\\)$")
      message(FATAL_ERROR "the changelog's top entry is \"${previous}\", not version ${VERSION} with its date")
    endif()
    return()
  endif()
  set(previous "${line}")
endforeach()
message(FATAL_ERROR "the changelog has no entry")
