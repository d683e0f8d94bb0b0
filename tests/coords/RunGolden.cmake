# Runs the coordinate driver over an input file and compares its output with the expected file.
#   cmake -DDRIVER=... -DARGS="a;b" -DINPUT=... -DEXPECTED=... [-DREPEAT=n -DWORK=file] -P RunGolden.cmake
# REPEAT: the input and the expected output are taken n times over (inputs of 2000 lines or more
# are converted on several threads); the longer input is written to WORK, a file of this test.
# With -DREFUSED=text instead of EXPECTED, the driver must refuse its arguments: exit code 2 and
# the text in its error output.
if(DEFINED REPEAT)
  file(READ ${INPUT} once)
  string(REPEAT "${once}" ${REPEAT} repeated)
  set(INPUT ${WORK})
  file(WRITE ${INPUT} "${repeated}")
endif()
execute_process(COMMAND ${DRIVER} ${ARGS} INPUT_FILE ${INPUT} OUTPUT_VARIABLE got ERROR_VARIABLE said
                RESULT_VARIABLE rc)
if(DEFINED REPEAT)
  file(REMOVE ${INPUT})
endif()

if(DEFINED REFUSED)
  if(NOT rc EQUAL 2)
    message(FATAL_ERROR "${DRIVER} ${ARGS} exited with ${rc}, expected 2\n${said}")
  endif()
  string(FIND "${said}" "${REFUSED}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${DRIVER} ${ARGS} did not say \"${REFUSED}\"; it said:\n${said}")
  endif()
  return()
endif()

if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${DRIVER} ${ARGS} exited with ${rc}\n${said}")
endif()
file(READ ${EXPECTED} want)
if(DEFINED REPEAT)
  string(REPEAT "${want}" ${REPEAT} want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "Output differs from ${EXPECTED} taken ${REPEAT} times")
  endif()
elseif(NOT got STREQUAL want)
  file(WRITE ${EXPECTED}.actual "${got}")
  message(FATAL_ERROR "Output differs from ${EXPECTED}; see ${EXPECTED}.actual\n--- got:\n${got}")
endif()
