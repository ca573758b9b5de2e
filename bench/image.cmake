# The image object's benchmark driver; image-bench.sh runs it.
if(NOT QV_FUZZ)  # also under Wine: the same paths beside the native run
  add_executable(qv_image_bench ${CMAKE_CURRENT_LIST_DIR}/image_bench.cpp)
  target_include_directories(qv_image_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(qv_image_bench PRIVATE qv_thumbs qv_boot_picture)
endif()
