# The soak benchmark's driver of the running agent (agent-soak.sh).
if(QV_WINDOWS)
  add_executable(qv_agent_soak AgentSoak.cpp)
  target_include_directories(qv_agent_soak PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(qv_agent_soak PRIVATE psapi shell32)
endif()
