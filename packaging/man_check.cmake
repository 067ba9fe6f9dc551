# The manual page formats without a single complaint of groff or man.
execute_process(COMMAND "${MAN}" --warnings -E UTF-8 -l "${PAGE}"
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE complaints)
if(NOT result EQUAL 0 OR NOT complaints STREQUAL "")
  message(FATAL_ERROR "man: ${complaints}")
endif()
