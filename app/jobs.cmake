# Background jobs: the analysis and export threads as the application sees
# them, and the merge of a finished analysis into its project. No GUI.
add_library(rallinox_jobs STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/analysis_job.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/analysis_merge.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/background_jobs.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/export_job.cpp
)
target_include_directories(rallinox_jobs PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(rallinox_jobs PUBLIC rallinox_engine rallinox_core rallinox_platform Threads::Threads)
