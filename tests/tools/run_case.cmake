# Runs one geomap case: PROGRAM with ARGS ("|"-separated) on the text in INPUT_FILE; the standard
# output must equal EXPECTED_FILE (or match the regular expression in it when OUTPUT_IS_REGEX is
# set), the exit status STATUS and standard error match STDERR_REGEX (empty standard error when
# none is given).
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${args} INPUT_FILE ${INPUT_FILE}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(READ ${EXPECTED_FILE} expected)
set(failures "")
if(OUTPUT_IS_REGEX)
  if(NOT out MATCHES "${expected}")
    string(APPEND failures
      "standard output does not match\n--- expected\n${expected}--- got\n${out}")
  endif()
elseif(NOT out STREQUAL expected)
  string(APPEND failures "standard output differs\n--- expected\n${expected}--- got\n${out}")
endif()
if(NOT status STREQUAL STATUS)
  string(APPEND failures "exit status ${status}, expected ${STATUS}\n")
endif()
if(STDERR_REGEX)
  if(NOT err MATCHES "${STDERR_REGEX}")
    string(APPEND failures "standard error does not match \"${STDERR_REGEX}\":\n${err}")
  endif()
elseif(NOT err STREQUAL "")
  string(APPEND failures "unexpected standard error:\n${err}")
endif()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
