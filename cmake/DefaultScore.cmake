# Writes an empty high-score record (name, score 0, comment, Extra Stage locked; CR LF lines)
# to SCORE_FILE, but only when no file is there: an existing Score.dtf is the player's record.
if(NOT DEFINED SCORE_FILE)
  message(FATAL_ERROR "DefaultScore.cmake: SCORE_FILE is not set")
endif()
if(NOT EXISTS "${SCORE_FILE}")
  file(WRITE "${SCORE_FILE}" "\r\n0\r\n\r\n0\r\n")
  message(STATUS "Wrote a default ${SCORE_FILE}")
endif()
