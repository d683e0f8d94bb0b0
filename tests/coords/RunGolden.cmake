# Runs the coordinate driver over an input file and compares its output with the expected file.
#   cmake -DDRIVER=... -DARGS="a;b" -DINPUT=... -DEXPECTED=... -P RunGolden.cmake
execute_process(COMMAND ${DRIVER} ${ARGS} INPUT_FILE ${INPUT} OUTPUT_VARIABLE got RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${DRIVER} ${ARGS} exited with ${rc}")
endif()
file(READ ${EXPECTED} want)
if(NOT got STREQUAL want)
  file(WRITE ${EXPECTED}.actual "${got}")
  message(FATAL_ERROR "Output differs from ${EXPECTED}; see ${EXPECTED}.actual\n--- got:\n${got}")
endif()
