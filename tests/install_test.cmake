# Installs the build into a fresh prefix and checks that both programs, both
# manual pages, the documentation and the reader library land where the
# usual layout puts them, that the installed d88info runs, and, where groff
# is found, that the pages format without a warning. Given CONSUMER, a
# program outside the project, it builds that against the installed library
# and runs it on SAMPLE.
#   cmake [-DEMULATOR=...] [-DSUFFIX=.exe] -DBUILD_DIR=... -DPREFIX=...
#         [-DCONSUMER=... -DSAMPLE=... -DCXX=...] -P install_test.cmake

# The emulator of a cross build, its words joined by "|".
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

# On Windows the programs and their documents lie flat in the prefix, the
# pages rendered as HTML.
if(SUFFIX STREQUAL ".exe")
  set(bindir .)
  set(files d88cut.html d88info.html LICENSE.txt README.md)
else()
  set(bindir bin)
  set(files share/doc/d88cut/LICENSE share/doc/d88cut/README.md)
endif()
list(APPEND files include/d88image/d88image.h)
foreach(file ${files})
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

foreach(program d88cut d88info)
  if(NOT EXISTS "${PREFIX}/${bindir}/${program}${SUFFIX}"
     OR IS_DIRECTORY "${PREFIX}/${bindir}/${program}${SUFFIX}")
    message(FATAL_ERROR "not installed: ${bindir}/${program}${SUFFIX}")
  endif()
  if(SUFFIX STREQUAL ".exe")
    continue()
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
execute_process(COMMAND ${EMULATOR} "${PREFIX}/${bindir}/d88info${SUFFIX}" RESULT_VARIABLE result
                ERROR_VARIABLE err)
if(NOT result EQUAL 1 OR NOT err MATCHES "^Usage: .*d88info(\\.exe)? d88file\r?\n$")
  message(FATAL_ERROR "installed d88info: status ${result}, said: ${err}")
endif()

if(CONSUMER)
  set(build "${PREFIX}-consumer")
  file(REMOVE_RECURSE "${build}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -S "${CONSUMER}" -B "${build}"
                          "-DCMAKE_PREFIX_PATH=${PREFIX}" "-DCMAKE_CXX_COMPILER=${CXX}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result EQUAL 0)
    execute_process(COMMAND "${CMAKE_COMMAND}" --build "${build}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  endif()
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the consumer does not build against the installed library:\n${out}")
  endif()
  execute_process(COMMAND "${build}/first_sector" "${SAMPLE}" RESULT_VARIABLE result
                  OUTPUT_VARIABLE out)
  if(NOT result EQUAL 0 OR NOT out STREQUAL "PROG     track  2 sector  1\n")
    message(FATAL_ERROR "the consumer: status ${result}, printed \"${out}\"")
  endif()
  file(REMOVE_RECURSE "${build}")
endif()

file(REMOVE_RECURSE "${PREFIX}")
