# A build rule for OUTPUT that fails saying which tool WHAT needs and how to get it, so that
# configuring works without the tool and only building what needs it stops.
function(kv_missing_tool_rule output what tool)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E echo "${what}: ${tool} is missing; run scripts/install-deps.sh"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endfunction()
