# Checks that the library exports exactly the 23 vbmp3_ entry points.
# Usage: cmake -DLIBRARY=path/libvbmp3.so -P check_exports.cmake
set(expected
  vbmp3_close vbmp3_free vbmp3_getDecodeOption vbmp3_getFileInfo vbmp3_getFileType
  vbmp3_getMpegInfo vbmp3_getPlayBitRate vbmp3_getState vbmp3_getTagInfo
  vbmp3_getVbmp3Option vbmp3_init vbmp3_open vbmp3_pause vbmp3_play vbmp3_reload
  vbmp3_restart vbmp3_seek vbmp3_setDecodeOption vbmp3_setEqualizer vbmp3_setTagInfo
  vbmp3_setVbmp3Option vbmp3_setVolume vbmp3_stop)

execute_process(COMMAND nm -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

set(exported)
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # "address type name": only code and data count, not version nodes (type A).
  if(line MATCHES "^[0-9a-fA-F]+ ([A-Za-z]) ([^ @]+)")
    if(NOT CMAKE_MATCH_1 STREQUAL "A")
      list(APPEND exported ${CMAKE_MATCH_2})
    endif()
  endif()
endforeach()
list(SORT exported)
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "exported: ${exported}\nexpected: ${expected}")
endif()
list(LENGTH exported count)
message(STATUS "exactly ${count} entry points exported")
