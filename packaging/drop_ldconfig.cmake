# CPack makes postinst and postrm run ldconfig whenever a shared object lies
# anywhere under /usr/lib, even in a private folder that is not on the
# linker's path, as the player's own library in /usr/lib/nuvo is. Such a
# call does nothing but cost time, so the scripts, which hold nothing else,
# are taken out of the package again.
find_program(DPKG_DEB dpkg-deb)
if(NOT DPKG_DEB)
  message(STATUS "dpkg-deb missing: the package keeps its ldconfig scripts")
  return()
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(tree "${package}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND "${DPKG_DEB}" -R "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    set(file "${tree}/DEBIAN/${script}")
    if(EXISTS "${file}")
      file(READ "${file}" text)
      string(REGEX REPLACE "#![^\n]*\n|set -e\n|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then\n|[ \t]*ldconfig\n|fi\n|[ \t\n]" "" rest "${text}")
      if(NOT rest STREQUAL "")
        message(FATAL_ERROR "${script} does more than ldconfig:\n${text}")
      endif()
      file(REMOVE "${file}")
    endif()
  endforeach()
  execute_process(COMMAND "${DPKG_DEB}" --root-owner-group -Zxz -b "${tree}" "${package}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
