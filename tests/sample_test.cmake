# The sample image of the Quick start: d88info must find every item whole,
# d88cut must write the twelve files with each sector's label where the plan
# puts it, and a sample with a sector left out must show that item short and
# the sectors marked as damaged.
#   cmake [-DEMULATOR=...] -DMAKE_SAMPLE=... -DD88CUT=... -DD88INFO=... -DWORK=...
#         -P sample_test.cmake

# The emulator of a cross build, its words joined by "|".
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")

function(run)
  execute_process(COMMAND ${EMULATOR} ${ARGN} WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}: status ${result}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

run("${MAKE_SAMPLE}" sample.d88)
run("${D88INFO}" sample.d88)
string(REGEX MATCHALL "\n  [A-Z0-9]+ +[0-9]+ bytes, [^\n]*" items "${out}")
list(LENGTH items count)
string(REGEX MATCHALL ": cut whole" whole "${out}")
list(LENGTH whole wholeCount)
if(NOT count EQUAL 12 OR NOT wholeCount EQUAL 12 OR out MATCHES "does not look|[0-9]\\(")
  message(FATAL_ERROR "d88info on the sample: ${count} items, ${wholeCount} cut whole:\n${out}")
endif()

run("${D88CUT}" sample.d88)
foreach(check "PROG;0;PROG     track  2 sector  1" "PROG;32512;PROG     track  9 sector 16"
              "OP;3584;OP       track 29 sector 15" "MUS07;512;MUS07    track 28 sector  1")
  list(GET check 0 name)
  list(GET check 1 offset)
  list(GET check 2 label)
  string(LENGTH "${label}" length)
  file(READ "${WORK}/${name}" content)
  string(SUBSTRING "${content}" ${offset} ${length} text)
  if(NOT text STREQUAL label)
    message(FATAL_ERROR "${name} at ${offset}: \"${text}\", not \"${label}\"")
  endif()
endforeach()

run("${MAKE_SAMPLE}" damaged.d88 27:14 9:3:crc 29:5:deleted)
run("${D88INFO}" damaged.d88)
if(NOT out MATCHES "\n  MUS06   768 bytes, track 27 C 13 H 1 R 12 to track 27 C 13 H 1 R 14: cut short, 512 of 768 bytes read, the rest zeros; track 27 C 13 H 1 R 14 N 1 not found\r?\n")
  message(FATAL_ERROR "d88info on the damaged sample:\n${out}")
endif()

if(NOT out MATCHES " 16 3\\(data CRC error\\) 6 " OR NOT out MATCHES " 2 5\\(deleted data, deleted\\) 8 ")
  message(FATAL_ERROR "d88info does not mark the damaged sample's sectors:\n${out}")
endif()

file(REMOVE_RECURSE "${WORK}")
