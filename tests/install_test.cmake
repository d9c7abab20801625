# Installs the build into a fresh prefix and checks that both programs and
# both manual pages land where the usual layout puts them, that the installed
# d88info runs, and, where groff is found, that the pages format without a
# warning.
#   cmake [-DEMULATOR=...] [-DSUFFIX=.exe] -DBUILD_DIR=... -DPREFIX=... -P install_test.cmake

# The emulator of a cross build, its words joined by "|".
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(program d88cut d88info)
  if(NOT EXISTS "${PREFIX}/bin/${program}${SUFFIX}"
     OR IS_DIRECTORY "${PREFIX}/bin/${program}${SUFFIX}")
    message(FATAL_ERROR "not installed: bin/${program}${SUFFIX}")
  endif()
  set(page "${PREFIX}/share/man/man1/${program}.1")
  if(NOT EXISTS "${page}")
    message(FATAL_ERROR "not installed: share/man/man1/${program}.1")
  endif()
  find_program(GROFF groff)
  if(GROFF)
    execute_process(COMMAND "${GROFF}" -man -ww -z -Tutf8 "${page}"
                    RESULT_VARIABLE result ERROR_VARIABLE warnings)
    if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
      message(FATAL_ERROR "${program}.1 does not format cleanly:\n${warnings}")
    endif()
  endif()
endforeach()

# With no argument the installed program must print its usage line and fail.
execute_process(COMMAND ${EMULATOR} "${PREFIX}/bin/d88info${SUFFIX}" RESULT_VARIABLE result
                ERROR_VARIABLE err)
if(NOT result EQUAL 1 OR NOT err MATCHES "^Usage: .*d88info(\\.exe)? d88file\r?\n$")
  message(FATAL_ERROR "installed d88info: status ${result}, said: ${err}")
endif()

file(REMOVE_RECURSE "${PREFIX}")
