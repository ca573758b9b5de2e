# The thumbnail view's responsiveness and first-screen time under Wine (thumbnail-bench.sh).
if(QV_WINDOWS)
  add_executable(qv_thumbnail_bench ${CMAKE_CURRENT_LIST_DIR}/ThumbnailBench.cpp
                 ${CMAKE_SOURCE_DIR}/tests/pages/PageTestSupport.cpp
                 ${CMAKE_SOURCE_DIR}/pages/Pages.rc ${CMAKE_SOURCE_DIR}/res/Quorvex.rc)
  target_include_directories(qv_thumbnail_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(qv_thumbnail_bench PRIVATE qv_pages qv_wintest_support)
  add_dependencies(qv_thumbnail_bench Quorvex kz)
endif()
