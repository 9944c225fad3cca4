#include "export/board_blend.h"

#include <algorithm>
#include <cmath>

namespace rallinox {

namespace {

// Luma weights of the colour matrix; green's is what is left.
struct ColourMatrix {
    double kr;
    double kb;
    double kg() const { return 1.0 - kr - kb; }
};

ColourMatrix matrixFor(int frameHeight) {
    if (frameHeight < 720) return {0.299, 0.114};  // BT.601
    return {0.2126, 0.0722};                        // BT.709
}

uint8_t toByte(double value) {
    return uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

int evenAtOrAbove(int value) {
    return value + (value & 1);
}

// The frame rectangle that gets blended: inside the frame and the bitmap,
// starting on even pixels and of even size, so that every 2 x 2 chroma
// block is covered by four bitmap pixels.
struct Area {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

Area blendArea(const Nv12Picture& frame, const BoardBitmap& bitmap, PixelPoint origin) {
    Area area;
    area.left = evenAtOrAbove(std::max(origin.x, 0));
    area.top = evenAtOrAbove(std::max(origin.y, 0));
    const int64_t right = std::min<int64_t>(int64_t(origin.x) + bitmap.width, frame.width);
    const int64_t bottom = std::min<int64_t>(int64_t(origin.y) + bitmap.height, frame.height);
    area.width = int(std::max<int64_t>(right - area.left, 0)) & ~1;
    area.height = int(std::max<int64_t>(bottom - area.top, 0)) & ~1;
    return area;
}

}  // namespace

PixelPoint boardOrigin(int bitmapWidth, int bitmapHeight, BoardPosition position, int frameWidth, int frameHeight) {
    const auto evenFloor = [](int value) { return std::max(value, 0) & ~1; };
    PixelPoint origin;
    if (position == BoardPosition::TopRight) origin.x = evenFloor(frameWidth - bitmapWidth);
    if (position == BoardPosition::BottomLeft) origin.y = evenFloor(frameHeight - bitmapHeight);
    return origin;
}

void blendBoard(const Nv12Picture& frame, const BoardBitmap& bitmap, PixelPoint origin, double opacity) {
    if (!(opacity > 0) || !frame.luma || !frame.chroma) return;
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.pixels.size() < size_t(bitmap.width) * size_t(bitmap.height) * 4) {
        return;
    }
    const double o = std::min(opacity, 1.0);
    const Area area = blendArea(frame, bitmap, origin);
    if (area.width <= 0 || area.height <= 0) return;

    const ColourMatrix m = matrixFor(frame.height);
    const auto pixelAt = [&](int x, int y) {
        return bitmap.pixels.data() + (size_t(y - origin.y) * size_t(bitmap.width) + size_t(x - origin.x)) * 4;
    };

    // Premultiplied colour scales the limited-range offsets by alpha too.
    for (int y = area.top; y < area.top + area.height; ++y) {
        uint8_t* luma = frame.luma + size_t(y) * size_t(frame.lumaPitch);
        for (int x = area.left; x < area.left + area.width; ++x) {
            const uint8_t* bgra = pixelAt(x, y);
            const double a = o * bgra[3] / 255.0;
            if (a <= 0) continue;
            const double colour = m.kr * bgra[2] + m.kg() * bgra[1] + m.kb * bgra[0];
            luma[x] = toByte(219.0 / 255.0 * o * colour + 16.0 * a + (1.0 - a) * luma[x]);
        }
    }

    for (int y = area.top; y < area.top + area.height; y += 2) {
        uint8_t* chroma = frame.chroma + size_t(y / 2) * size_t(frame.chromaPitch);
        for (int x = area.left; x < area.left + area.width; x += 2) {
            double b = 0, g = 0, r = 0, alpha = 0;
            for (const uint8_t* bgra : {pixelAt(x, y), pixelAt(x + 1, y), pixelAt(x, y + 1), pixelAt(x + 1, y + 1)}) {
                b += bgra[0];
                g += bgra[1];
                r += bgra[2];
                alpha += bgra[3];
            }
            const double a = o * alpha / 1020.0;
            if (a <= 0) continue;
            b *= o / 4;
            g *= o / 4;
            r *= o / 4;
            const double l = m.kr * r + m.kg() * g + m.kb * b;
            uint8_t* u = chroma + x;
            uint8_t* v = chroma + x + 1;
            *u = toByte((b - l) / (2 * (1 - m.kb)) * 224.0 / 255.0 + 128.0 * a + (1.0 - a) * *u);
            *v = toByte((r - l) / (2 * (1 - m.kr)) * 224.0 / 255.0 + 128.0 * a + (1.0 - a) * *v);
        }
    }
}

}  // namespace rallinox
