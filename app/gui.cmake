# The window application: the App and its frame loop as a library (the GUI
# tests drive the same code), and the executable around it.
add_library(rallinox_app STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/app.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/run_application.cpp
)
target_include_directories(rallinox_app PUBLIC ${CMAKE_SOURCE_DIR})
# The screens in ui/ use the App and the App draws them: the two static
# libraries name each other and CMake repeats them when linking.
target_link_libraries(rallinox_app PUBLIC rallinox_ui rallinox_jobs rallinox_core rallinox_platform_window
  PkgConfig::IMGUI PkgConfig::SDL2 OpenGL::GL)

add_executable(rallinox ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(rallinox PRIVATE rallinox_app)
# The about screen shows the notices from the program's own folder.
add_custom_command(TARGET rallinox POST_BUILD COMMAND ${CMAKE_COMMAND} -E copy_if_different
  ${CMAKE_SOURCE_DIR}/THIRD_PARTY_NOTICES.md $<TARGET_FILE_DIR:rallinox>)
