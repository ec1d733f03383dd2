# Fails when a text of a translation file (TS) has no translation: an empty or unfinished entry.
# Usage: cmake -DTS=file.ts [-DSTAMP=file] -P check-complete.cmake
#    or: cmake -DTS=file.ts -DLUPDATE=lupdate -DSOURCES=dir -DWORK=dir -P check-complete.cmake
#        checks a copy brought up to date with the sources first: a text
#        written in the sources but never added to the file fails too.
if(LUPDATE)
  file(MAKE_DIRECTORY "${WORK}")
  get_filename_component(name "${TS}" NAME)
  configure_file("${TS}" "${WORK}/${name}" COPYONLY)
  set(TS "${WORK}/${name}")
  execute_process(COMMAND "${LUPDATE}" -recursive "${SOURCES}" -no-obsolete -locations none
                          -tr-function-alias translate+=Tr -ts "${TS}"
                  RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "lupdate failed")
  endif()
endif()
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
