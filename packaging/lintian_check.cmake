# Makes the Debian package in a folder of its own and fails on every error
# or warning lintian reports (its informational notes are allowed).
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${CPACK}" -G DEB -B "${OUT}" --config "${CONFIG}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages "${OUT}/*.deb")
if(NOT packages)
  message(FATAL_ERROR "cpack made no package:\n${output}")
endif()
execute_process(COMMAND "${LINTIAN}" --fail-on error,warning --no-tag-display-limit ${packages}
  RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE ignored)
message("${report}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lintian found errors or warnings")
endif()
