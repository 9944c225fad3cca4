#include "tests/gui/screenshot.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace rallinox::guitest {

bool saveScreenshot(const std::string& file) {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &width, &height);
    cv::Mat rgba(height, width, CV_8UC4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data);
    // OpenGL's rows start at the bottom.
    cv::Mat upright;
    cv::flip(rgba, upright, 0);
    cv::Mat bgr;
    cv::cvtColor(upright, bgr, cv::COLOR_RGBA2BGR);
    return cv::imwrite(file, bgr);
}

}  // namespace rallinox::guitest
