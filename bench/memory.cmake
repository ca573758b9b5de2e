# The resident agent's private memory beside a minimal resident program's (agent-memory.sh).
if(QV_WINDOWS)
  add_executable(qv_minimal_resident WIN32 MinimalResident.cpp)
  # Linked and stripped like the shipped program, so that only what the programs do differs.
  target_link_options(qv_minimal_resident PRIVATE ${QV_PAGE_ALIGNED_FILE})
  add_custom_command(TARGET qv_minimal_resident POST_BUILD
                     COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:qv_minimal_resident>)
  add_executable(qv_private_memory PrivateMemory.cpp)
  target_link_libraries(qv_private_memory PRIVATE psapi)
endif()
