# Whole runs of the program, checked through its event log and screenshots.
# Each test is a script in tests/e2e/ run with the program's path and a scratch folder.
if(TARGET kalvento)
  set(KV_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
  function(kv_e2e_test name script)
    add_test(NAME e2e.${name}
      COMMAND bash ${KV_E2E_DIR}/${script} $<TARGET_FILE:kalvento> ${CMAKE_BINARY_DIR}/e2e/${name} ${ARGN})
    set_tests_properties(e2e.${name} PROPERTIES ENVIRONMENT "SDL_AUDIODRIVER=dummy" ${KV_E2E_PROPERTIES})
  endfunction()
  kv_e2e_test(headless_run headless_run.sh)
  kv_e2e_test(command_line command_line.sh)
  kv_e2e_test(window_run window_run.sh)
  set_tests_properties(e2e.window_run PROPERTIES TIMEOUT 300)
endif()
if(TARGET kalvento)
  kv_e2e_test(autopilot_run autopilot_run.sh)
endif()
