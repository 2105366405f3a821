// The preview's stills picture as the generator drew it, and a comparison of a box on screen with
// that picture stretched over it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <windows.h>

#include "driver/driver.h"

namespace kineloop::test {

// A 24-bit bitmap file read into memory.
class StillsPicture {
  public:
    static std::optional<StillsPicture> Load(const std::wstring& path) {
        StillsPicture picture;
        picture.bytes_ = ReadFileBytes(path);
        const std::string& b = picture.bytes_;
        if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Read16(b, 28) != 24)
            return std::nullopt;
        picture.offset_ = Read32(b, 10);
        picture.width_ = static_cast<int>(Read32(b, 18));
        picture.height_ = static_cast<int>(Read32(b, 22));
        picture.stride_ = (static_cast<size_t>(picture.width_) * 3 + 3) & ~size_t{3};
        if (picture.width_ <= 0 || picture.height_ <= 0 ||
            b.size() < picture.offset_ + picture.stride_ * static_cast<size_t>(picture.height_))
            return std::nullopt;
        return picture;
    }
    // The picture that the build drew for the program.
    static std::optional<StillsPicture> Built() {
        return Load(WindowsPath(KINELOOP_STILLS_PICTURE));
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        const size_t row = static_cast<size_t>(height_ - 1 - y);  // rows are stored bottom-up
        const size_t at = offset_ + row * stride_ + static_cast<size_t>(x) * 3;
        const auto byte = [&](size_t i) { return static_cast<BYTE>(bytes_[at + i]); };
        return RGB(byte(2), byte(1), byte(0));
    }

  private:
    static uint32_t Read16(const std::string& b, size_t at) {
        return static_cast<BYTE>(b[at]) | static_cast<BYTE>(b[at + 1]) << 8;
    }
    static uint32_t Read32(const std::string& b, size_t at) {
        return Read16(b, at) | Read16(b, at + 2) << 16;
    }

    std::string bytes_;
    size_t offset_ = 0, stride_ = 0;
    int width_ = 0, height_ = 0;
};

inline std::string Hex(COLORREF c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Which sampled screen points of `box` differ from `picture` stretched over it: empty when none
// does, else their number and the first one. A point passes when one of the picture's pixels
// around its source point matches, so that the scaling's rounding does not matter.
inline std::string PictureMismatches(const StillsPicture& picture, const RECT& box) {
    const int width = box.right - box.left, height = box.bottom - box.top;
    int count = 0;
    std::string first;
    for (int y = 3; y < height; y += 9) {
        for (int x = 3; x < width; x += 11) {
            const int sx = x * picture.Width() / width, sy = y * picture.Height() / height;
            const COLORREF seen = ScreenPixel(box.left + x, box.top + y);
            bool matches = false;
            for (int dy = -1; dy <= 1 && !matches; ++dy)
                for (int dx = -1; dx <= 1 && !matches; ++dx) {
                    const int px = sx + dx, py = sy + dy;
                    if (px < 0 || py < 0 || px >= picture.Width() || py >= picture.Height())
                        continue;
                    const COLORREF want = picture.At(px, py);
                    matches = std::abs(GetRValue(seen) - GetRValue(want)) <= 2 &&
                              std::abs(GetGValue(seen) - GetGValue(want)) <= 2 &&
                              std::abs(GetBValue(seen) - GetBValue(want)) <= 2;
                }
            if (!matches && count++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") shows " + Hex(seen) +
                        " instead of " + Hex(picture.At(sx, sy));
        }
    }
    return count == 0 ? "" : std::to_string(count) + " points differ, first " + first;
}

}  // namespace kineloop::test
