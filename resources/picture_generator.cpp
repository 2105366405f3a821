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

// ---------------------------------------------------------------------------------------------
// State pictures of the Command button: 64 x 25 pixels each, of which only the outer four rows and
// columns are ever drawn (the button cuts its border out of them). Ring 0 is the outermost row or
// column, ring 1 the next one inward, and so on.

constexpr int kStateWidth = 64;
constexpr int kStateHeight = 25;

Rgb Hex(uint32_t rrggbb) {
    return {static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8),
            static_cast<uint8_t>(rrggbb)};
}

Rgb Blend(Rgb a, Rgb b, int t255) {
    auto mix = [t255](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>((x * (255 - t255) + y * t255 + 127) / 255);
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// The colours of one ring: its top row, bottom row and its two columns; a column fades from
// its `...Top` colour to its `...Bottom` colour downwards, a row from `...Left` to `...Right`.
struct Ring {
    Rgb topLeft, topRight, bottomLeft, bottomRight;
    Rgb leftTop, leftBottom, rightTop, rightBottom;
};

Ring Plain(uint32_t colour) {
    const Rgb c = Hex(colour);
    return {c, c, c, c, c, c, c, c};
}

// Draws ring `n` (0 outermost): rows first, then the columns between them.
void DrawRing(Canvas& c, int n, const Ring& ring) {
    const int left = n, right = kStateWidth - 1 - n, top = n, bottom = kStateHeight - 1 - n;
    for (int x = left; x <= right; ++x) {
        const int t = (x - left) * 255 / (right - left);
        c.Fill(x, top, 1, 1, Blend(ring.topLeft, ring.topRight, t));
        c.Fill(x, bottom, 1, 1, Blend(ring.bottomLeft, ring.bottomRight, t));
    }
    for (int y = top + 1; y < bottom; ++y) {
        const int t = (y - top) * 255 / (bottom - top);
        c.Fill(left, y, 1, 1, Blend(ring.leftTop, ring.leftBottom, t));
        c.Fill(right, y, 1, 1, Blend(ring.rightTop, ring.rightBottom, t));
    }
}

// Rounds the four corners of the frame on ring `n`: the corner pixel takes the colour outside
// the frame blended with a little of the frame, its two neighbours on the frame soften it.
void RoundFrame(Canvas& c, int n, Rgb frame) {
    const int xs[2] = {n, kStateWidth - 1 - n}, ys[2] = {n, kStateHeight - 1 - n};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            const int x = xs[i], y = ys[j], dx = i ? -1 : 1, dy = j ? -1 : 1;
            const Rgb outside = c.At(x - dx, y - dy);
            c.Fill(x, y, 1, 1, Blend(outside, frame, 40));
            c.Fill(x + dx, y, 1, 1, Blend(outside, frame, 140));
            c.Fill(x, y + dy, 1, 1, Blend(outside, frame, 140));
            c.Fill(x + 2 * dx, y, 1, 1, Blend(outside, frame, 215));
            c.Fill(x, y + 2 * dy, 1, 1, Blend(outside, frame, 215));
        }
    }
}

// Ring 0 and the dark blue frame of ring 1, shared by Normal, HighLight and Selected.
Canvas FramedPicture() {
    Canvas c(kStateWidth, kStateHeight, Hex(0xF3F3EE));
    DrawRing(c, 0,
             {Hex(0xE0DCC9), Hex(0xE0DCC9), Hex(0xFAFAF6), Hex(0xFAFAF6), Hex(0xE2DECB),
              Hex(0xE2DECB), Hex(0xF0EEE0), Hex(0xF0EEE0)});
    DrawRing(c, 1, Plain(0x003C74));
    return c;
}

// Rings 2 and 3: the rows as given, the side columns fading downwards.
void DrawInnerRings(Canvas& c, Rgb top2, Rgb top3, Rgb bottom2, Rgb bottom3, Rgb leftFrom,
                    Rgb leftTo, Rgb rightFrom, Rgb rightTo) {
    DrawRing(c, 2, {top2, top2, bottom2, bottom2, leftFrom, leftTo, rightFrom, rightTo});
    DrawRing(c, 3, {top3, top3, bottom3, bottom3, leftFrom, leftTo, rightFrom, rightTo});
}

Canvas NormalPicture() {
    Canvas c = FramedPicture();
    DrawInnerRings(c, Hex(0xF3F3EE), Hex(0xF3F3EE), Hex(0xD6D0C5), Hex(0xE2DFD6), Hex(0xFDFDFC),
                   Hex(0xECEBE6), Hex(0xFBFBFA), Hex(0xE0DDD4));
    RoundFrame(c, 1, Hex(0x003C74));
    // The corners as they were drawn by hand for this picture.
    c.Fill(1, 1, 1, 1, Hex(0xE6E1D0));
    c.Fill(2, 1, 1, 1, Hex(0x7A95A8));
    c.Fill(1, 2, 1, 1, Hex(0x7A95A8));
    c.Fill(3, 1, 1, 1, Hex(0x255783));
    c.Fill(1, 3, 1, 1, Hex(0x255783));
    c.Fill(62, 23, 1, 1, Hex(0x6A8BA2));
    c.Fill(61, 23, 1, 1, Hex(0x486E90));
    c.Fill(62, 22, 1, 1, Hex(0x6C8CA4));
    c.Fill(60, 23, 1, 1, Hex(0x164D7E));
    c.Fill(62, 21, 1, 1, Hex(0x164D7E));
    return c;
}

Canvas HighLightPicture() {
    Canvas c = FramedPicture();
    DrawInnerRings(c, Hex(0xFFF0CF), Hex(0xFDD889), Hex(0xE59700), Hex(0xF8B330), Hex(0xFEDF9A),
                   Hex(0xF9B435), Hex(0xFEDF9A), Hex(0xF9B435));
    RoundFrame(c, 1, Hex(0x003C74));
    return c;
}

Canvas SelectedPicture() {
    Canvas c = FramedPicture();
    DrawInnerRings(c, Hex(0xCEE7FF), Hex(0xCEE7FF), Hex(0x6982EE), Hex(0x6982EE), Hex(0xB7D0F4),
                   Hex(0x8BADE4), Hex(0xB7D0F4), Hex(0x8BADE4));
    RoundFrame(c, 1, Hex(0x003C74));
    return c;
}

Canvas PressedPicture() {
    Canvas c(kStateWidth, kStateHeight, Hex(0xE6E4DB));
    DrawRing(c, 0, Plain(0xECE9D8));
    DrawRing(c, 1,
             {Hex(0xE0DCC9), Hex(0xE0DCC9), Hex(0xF6F5ED), Hex(0xFAFAF6), Hex(0xE2DECB),
              Hex(0xE2DECB), Hex(0xF0EEE0), Hex(0xF0EEE0)});
    // The frame one pixel further in, and a darker inner edge, greyer towards its ends.
    DrawRing(c, 2, Plain(0x003C74));
    DrawRing(c, 3,
             {Hex(0xD1CCC1), Hex(0xD1CCC1), Hex(0xF2F1EE), Hex(0xF2F1EE), Hex(0xD7D4CB),
              Hex(0xD7D4CB), Hex(0xE4E3DC), Hex(0xE4E3DC)});
    const Rgb grey = Hex(0x9DA8AC);
    for (int i = 0; i < 3; ++i) {
        const int t = 160 - 60 * i;
        c.Fill(3 + i, 3, 1, 1, Blend(c.At(3 + i, 3), grey, t));
        c.Fill(3, 3 + i, 1, 1, Blend(c.At(3, 3 + i), grey, t));
        c.Fill(60 - i, 3, 1, 1, Blend(c.At(60 - i, 3), grey, t / 2));
        c.Fill(3, 21 - i, 1, 1, Blend(c.At(3, 21 - i), grey, t / 2));
        c.Fill(60, 3 + i, 1, 1, Blend(c.At(60, 3 + i), grey, t / 2));
        c.Fill(3 + i, 21, 1, 1, Blend(c.At(3 + i, 21), grey, t / 3));
        c.Fill(60 - i, 21, 1, 1, Blend(c.At(60 - i, 21), grey, t / 3));
        c.Fill(60, 21 - i, 1, 1, Blend(c.At(60, 21 - i), grey, t / 3));
    }
    c.Fill(3, 3, 1, 1, grey);
    RoundFrame(c, 2, Hex(0x003C74));
    return c;
}

Canvas DisablePicture() {
    Canvas c(kStateWidth, kStateHeight, Hex(0xF5F4EA));
    DrawRing(c, 0, Plain(0xECE9D8));
    DrawRing(c, 1, Plain(0xC9C7BA));
    DrawRing(c, 2, Plain(0xF5F4EA));
    DrawRing(c, 3, Plain(0xF5F4EA));
    RoundFrame(c, 1, Hex(0xC9C7BA));
    return c;
}

// The six pictures in the order of the button's StatePicture; HighLightSelect has the same pixels
// as HighLight.
bool WriteStatePictures(const std::string& folder) {
    bool ok = WriteBmp(folder + "/command_normal.bmp", NormalPicture());
    ok = WriteBmp(folder + "/command_highlight.bmp", HighLightPicture()) && ok;
    ok = WriteBmp(folder + "/command_selected.bmp", SelectedPicture()) && ok;
    ok = WriteBmp(folder + "/command_highlightselect.bmp", HighLightPicture()) && ok;
    ok = WriteBmp(folder + "/command_pressed.bmp", PressedPicture()) && ok;
    ok = WriteBmp(folder + "/command_disable.bmp", DisablePicture()) && ok;
    return ok;
}
// ---------------------------------------------------------------------------------------------
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
    ok = WriteStatePictures(folder) && ok;
    return ok ? 0 : 1;
}
