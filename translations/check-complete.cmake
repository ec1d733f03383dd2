# Fails when a text of a translation file (TS) has no translation: an empty or unfinished entry.
# Usage: cmake -DTS=file.ts [-DSTAMP=file] -P check-complete.cmake
file(READ "${TS}" ts)
# Entries dropped from the sources (obsolete, vanished) need none.
string(REGEX MATCHALL "<message[^>]*>([^<]|<[^/]|</[^m])*</message>" messages "${ts}")
set(missing "")
foreach(m IN LISTS messages)
  if(m MATCHES "type=\"(obsolete|vanished)\"")
    continue()
  endif()
  if(m MATCHES "type=\"unfinished\"" OR m MATCHES "<translation></translation>"
     OR m MATCHES "<translation/>")
    string(REGEX MATCH "<source>([^<]*)</source>" source "${m}")
    string(APPEND missing "\n  ${CMAKE_MATCH_1}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "${TS}: texts without a translation:${missing}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
