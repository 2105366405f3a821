// Draws the program's pictures (icon, preview pictures) at build time, so that no binary picture
// is kept in the source tree. Usage: picture_generator OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t r, g, b;
};

// A top-down RGB canvas with the few shapes the pictures are made of.
class Canvas {
  public:
    Canvas(int width, int height, Rgb fill)
        : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), fill) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }

    void Fill(int left, int top, int width, int height, Rgb colour) {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                if (x >= 0 && y >= 0 && x < width_ && y < height_)
                    pixels_[static_cast<size_t>(y * width_ + x)] = colour;
    }

    // A vertical gradient from `top` to `bottom` colour.
    void Gradient(int left, int top, int width, int height, Rgb from, Rgb to) {
        for (int row = 0; row < height; ++row) {
            const int t = height > 1 ? row * 255 / (height - 1) : 0;
            const Rgb c{Mix(from.r, to.r, t), Mix(from.g, to.g, t), Mix(from.b, to.b, t)};
            Fill(left, top + row, width, 1, c);
        }
    }

  private:
    static uint8_t Mix(uint8_t a, uint8_t b, int t) {
        return static_cast<uint8_t>((a * (255 - t) + b * t) / 255);
    }

    int width_, height_;
    std::vector<Rgb> pixels_;
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER plus bottom-up pixel rows; `alpha` makes 32-bit rows (for icons).
std::vector<uint8_t> DibOf(const Canvas& c, bool forIcon) {
    std::vector<uint8_t> out;
    const int bits = forIcon ? 32 : 24;
    const uint32_t stride = static_cast<uint32_t>((c.Width() * bits / 8 + 3) & ~3);
    const uint32_t maskStride = static_cast<uint32_t>(((c.Width() + 31) / 32) * 4);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(c.Width()));
    Put32(out, static_cast<uint32_t>(forIcon ? c.Height() * 2 : c.Height()));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);
    Put32(out, stride * static_cast<uint32_t>(c.Height()));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = c.Height() - 1; y >= 0; --y) {
        size_t rowStart = out.size();
        for (int x = 0; x < c.Width(); ++x) {
            const Rgb p = c.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            if (forIcon)
                out.push_back(0xFF);
        }
        while (out.size() - rowStart < stride)
            out.push_back(0);
    }
    if (forIcon)
        out.insert(out.end(), maskStride * static_cast<uint32_t>(c.Height()), 0);
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool WriteBmp(const std::string& path, const Canvas& c) {
    const std::vector<uint8_t> dib = DibOf(c, false);
    std::vector<uint8_t> out{'B', 'M'};
    Put32(out, static_cast<uint32_t>(14 + dib.size()));
    Put32(out, 0);
    Put32(out, 54);
    out.insert(out.end(), dib.begin(), dib.end());
    return WriteFile(path, out);
}

bool WriteIco(const std::string& path, const std::vector<Canvas>& images) {
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(images.size()));
    std::vector<std::vector<uint8_t>> dibs;
    for (const Canvas& c : images)
        dibs.push_back(DibOf(c, true));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].Width()));
        out.push_back(static_cast<uint8_t>(images[i].Height()));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(dibs[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(dibs[i].size());
    }
    for (const auto& dib : dibs)
        out.insert(out.end(), dib.begin(), dib.end());
    return WriteFile(path, out);
}

const Rgb kBlack{0, 0, 0};
const Rgb kStillColours[9] = {{200, 60, 60},  {60, 170, 80},  {60, 90, 200},
                              {220, 180, 50}, {170, 70, 190}, {50, 180, 190},
                              {230, 120, 40}, {120, 200, 90}, {150, 150, 220}};

// A 3 x 3 mosaic of small "video stills" on black: the program's own motif.
Canvas Mosaic(int width, int height, int gap) {
    Canvas c(width, height, kBlack);
    const int tileW = (width - 4 * gap) / 3, tileH = (height - 4 * gap) / 3;
    const int left = (width - 3 * tileW - 2 * gap) / 2, top = (height - 3 * tileH - 2 * gap) / 2;
    for (int i = 0; i < 9; ++i) {
        const int x = left + (i % 3) * (tileW + gap), y = top + (i / 3) * (tileH + gap);
        const Rgb base = kStillColours[i];
        const Rgb sky{static_cast<uint8_t>(base.r / 2 + 100),
                      static_cast<uint8_t>(base.g / 2 + 100),
                      static_cast<uint8_t>(base.b / 2 + 120)};
        c.Gradient(x, y, tileW, tileH, sky, base);
        if (tileW >= 12)
            c.Fill(x + tileW / 3, y + tileH / 2, tileW / 3, tileH / 3, kBlack);
    }
    return c;
}

// ---- Settings dialog pictures: the band texture tiled over its panels, the two option
// bullets (magenta is their see-through colour) and the link's hand pointer. ----

const Rgb kSeeThrough{255, 0, 255};

// A light grey woven texture, 1030 x 23: soft horizontal ridges with a fine irregular grain.
Canvas BandTexture() {
    Canvas c(1030, 23, {200, 200, 200});
    uint32_t seed = 12345;
    for (int y = 0; y < c.Height(); ++y) {
        const int ridge = (y % 23 < 2) ? 18 : (y % 23 > 20 ? -14 : 0);
        for (int x = 0; x < c.Width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = static_cast<int>((seed >> 16) % 9) - 4;
            const int v = 204 + ridge + grain;
            c.Fill(x, y, 1, 1,
                   {static_cast<uint8_t>(v), static_cast<uint8_t>(v),
                    static_cast<uint8_t>(v + 4 > 255 ? 255 : v + 4)});
        }
    }
    return c;
}

// A round option bullet, 13 x 13: a white well with a grey rim, and a black dot when selected.
Canvas OptionBullet(bool selected) {
    Canvas c(13, 13, kSeeThrough);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            const int dx = 2 * x - 12, dy = 2 * y - 12, d = dx * dx + dy * dy;  // twice the offsets
            if (d <= 144)
                c.Fill(x, y, 1, 1, d >= 100 ? Rgb{96, 96, 96} : Rgb{255, 255, 255});
            if (selected && d <= 26)
                c.Fill(x, y, 1, 1, kBlack);
        }
    return c;
}

// A pointing hand, 32 x 32, drawn from rows of text: '#' outline, '.' white, ' ' see-through.
const char* const kHandRows[] = {
    "     ##         ", "    #..#        ", "    #..#        ", "    #..#        ",
    "    #..###      ", "    #..#..###   ", "    #..#..#..## ", " ## #..#..#..#.#",
    "#..##........#.#", "#...#..........#", " #.............#", "  #............#",
    "  #...........# ", "   #..........# ", "   #.........#  ", "    #........#  ",
    "    #........#  ", "    ##########  ",
};

// A cursor file (.cur): one 32 x 32 picture with alpha, its hot spot at the finger's tip.
bool WriteHandCursor(const std::string& path) {
    Canvas c(32, 32, kBlack);
    std::vector<uint8_t> alpha(32 * 32, 0);
    for (size_t row = 0; row < sizeof kHandRows / sizeof kHandRows[0]; ++row)
        for (int x = 0; kHandRows[row][x] != '\0'; ++x) {
            const char p = kHandRows[row][x];
            if (p == ' ')
                continue;
            c.Fill(x, static_cast<int>(row), 1, 1, p == '#' ? kBlack : Rgb{255, 255, 255});
            alpha[row * 32 + static_cast<size_t>(x)] = 0xFF;
        }
    std::vector<uint8_t> dib = DibOf(c, true);
    // DibOf writes opaque pixels; the rows are bottom-up after the 40-byte header.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            dib[40 + static_cast<size_t>((31 - y) * 32 + x) * 4 + 3] =
                alpha[static_cast<size_t>(y * 32 + x)];
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 2);  // a cursor
    Put16(out, 1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(0);
    out.push_back(0);
    Put16(out, 5);  // hot spot x
    Put16(out, 0);  // hot spot y
    Put32(out, static_cast<uint32_t>(dib.size()));
    Put32(out, 22);
    out.insert(out.end(), dib.begin(), dib.end());
    return WriteFile(path, out);
}

bool WriteSettingsDialogPictures(const std::string& folder) {
    bool ok = WriteBmp(folder + "/dialog_band.bmp", BandTexture());
    ok = WriteBmp(folder + "/option_off.bmp", OptionBullet(false)) && ok;
    ok = WriteBmp(folder + "/option_on.bmp", OptionBullet(true)) && ok;
    return WriteHandCursor(folder + "/link_hand.cur") && ok;
}

// ---- End of the settings dialog pictures. ----

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    Canvas background(152, 112, kBlack);
    background.Gradient(0, 0, 152, 112, {16, 24, 64}, {0, 0, 0});
    bool ok = WriteBmp(folder + "/preview_background.bmp", background);
    ok = WriteBmp(folder + "/preview_stills.bmp", Mosaic(152, 112, 4)) && ok;
    ok = WriteIco(folder + "/kineloop.ico", {Mosaic(32, 32, 1), Mosaic(16, 16, 1)}) && ok;
    ok = WriteSettingsDialogPictures(folder) && ok;
    return ok ? 0 : 1;
}
