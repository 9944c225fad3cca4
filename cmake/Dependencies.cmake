# Imported targets for every external library, so subsystems link by name.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET
  libavformat libavcodec libavutil libswscale libswresample libavfilter)
pkg_check_modules(OPENSSL REQUIRED IMPORTED_TARGET libcrypto)
pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0 glib-2.0)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo pangocairo pango)
pkg_check_modules(FRIBIDI REQUIRED IMPORTED_TARGET fribidi)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)

# Debian's OpenCV module packages ship no pkg-config or CMake files.
add_library(opencv INTERFACE)
target_include_directories(opencv SYSTEM INTERFACE /usr/include/opencv4)
target_link_libraries(opencv INTERFACE opencv_videoio opencv_imgcodecs opencv_imgproc opencv_core)

# ONNX Runtime, unpacked by scripts/setup into third_party/onnxruntime.
set(ORT_ROOT ${CMAKE_SOURCE_DIR}/third_party/onnxruntime)
add_library(onnxruntime SHARED IMPORTED)
set_target_properties(onnxruntime PROPERTIES
  IMPORTED_LOCATION ${ORT_ROOT}/lib/libonnxruntime.so.1.21.0
  IMPORTED_SONAME libonnxruntime.so.1
  INTERFACE_INCLUDE_DIRECTORIES ${ORT_ROOT}/include)

# SDL2 also plays the preview's sound, which is built and tested without
# the window as well (the sanitizer builds).
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
if(RALLINOX_GUI)
  pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
  # The desktop's font DPI is read from the X resources.
  pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
  find_package(OpenGL REQUIRED)
endif()

find_package(GTest REQUIRED)
