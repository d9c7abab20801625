# Starts a Wine server that stays until it is told to stop, and Wine's
# services, with all their output in LOG rather than in ctest's pipes.
#   cmake -DWINE=... -DWINESERVER=... -DLOG=... -P start_wine.cmake
# WINE and WINESERVER are commands with their words joined by "|".
string(REPLACE "|" ";" WINE "${WINE}")
string(REPLACE "|" ";" WINESERVER "${WINESERVER}")
execute_process(COMMAND ${WINESERVER} -p OUTPUT_FILE "${LOG}" ERROR_FILE "${LOG}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wineserver -p failed: ${result}; see ${LOG}")
endif()
execute_process(COMMAND ${WINE} wineboot -i OUTPUT_FILE "${LOG}.boot" ERROR_FILE "${LOG}.boot"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wineboot -i failed: ${result}; see ${LOG}.boot")
endif()
