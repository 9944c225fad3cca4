# Application core without GUI: data folder and log, JSON, settings, the
# project model, the project store, the window-free part of its flows and
# the worker that makes the project-card pictures.
add_library(rallinox_core STATIC
  data_paths.cpp
  file_io.cpp
  json.cpp
  json_parse.cpp
  log.cpp
  project.cpp
  project_flows.cpp
  project_repair.cpp
  project_store.cpp
  settings.cpp
  thumbnail_worker.cpp
  utf8.cpp
)
target_include_directories(rallinox_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(rallinox_core PUBLIC rallinox_video opencv Threads::Threads)
