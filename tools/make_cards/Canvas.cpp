// Shapes, the sampled fill, FreeType text and the PNG writer of the card tool.
#include "tools/make_cards/Canvas.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace cards {

namespace {

constexpr int kSamples = 4;  // per axis
constexpr int kSteps = 4;    // coverage steps above 0

}  // namespace

Shape roundedRect(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) {
        if (x < x0 || x > x1 || y < y0 || y > y1) return false;
        float const cx = std::fmin(std::fmax(x, x0 + radius), x1 - radius);
        float const cy = std::fmin(std::fmax(y, y0 + radius), y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Shape ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        float const dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    };
}

Shape ring(float cx, float cy, float outer, float inner) {
    return subtract(circle(cx, cy, outer), circle(cx, cy, inner));
}

Shape arc(float cx, float cy, float outer, float inner, float from, float to) {
    constexpr float kTurn = 6.28318531f;
    float const span = std::fmod(std::fmod(to - from, kTurn) + kTurn, kTurn);
    Shape const band = ring(cx, cy, outer, inner);
    return [=](float x, float y) {
        if (!band(x, y)) return false;
        float const angle = std::fmod(std::fmod(std::atan2(y - cy, x - cx) - from, kTurn) + kTurn, kTurn);
        return angle <= span;
    };
}

Shape capsule(float x0, float y0, float x1, float y1, float width) {
    float const dx = x1 - x0, dy = y1 - y0;
    float const length2 = dx * dx + dy * dy;
    float const r2 = width * width / 4.0f;
    return [=](float x, float y) {
        float t = length2 > 0.0f ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0.0f;
        t = std::fmin(std::fmax(t, 0.0f), 1.0f);
        float const ex = x - x0 - t * dx, ey = y - y0 - t * dy;
        return ex * ex + ey * ey <= r2;
    };
}

Shape polygon(std::vector<std::pair<float, float>> points) {
    return [points = std::move(points)](float x, float y) {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            auto const [xi, yi] = points[i];
            auto const [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    };
}

Shape unite(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](float x, float y) {
        for (Shape const& s : shapes)
            if (s(x, y)) return true;
        return false;
    };
}

Shape subtract(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return a(x, y) && !b(x, y); };
}

Shape intersect(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](float x, float y) { return a(x, y) && b(x, y); };
}

Shape suitShape(int suit, float cx, float cy, float s) {
    switch (suit) {
        case 0:  // KREUZ: three leaves and a foot
            return unite({circle(cx, cy - 0.24f * s, 0.2f * s), circle(cx, cy, 0.12f * s),
                          circle(cx - 0.23f * s, cy + 0.06f * s, 0.2f * s),
                          circle(cx + 0.23f * s, cy + 0.06f * s, 0.2f * s),
                          polygon({{cx - 0.05f * s, cy},
                                   {cx + 0.05f * s, cy},
                                   {cx + 0.16f * s, cy + 0.45f * s},
                                   {cx - 0.16f * s, cy + 0.45f * s}})});
        case 1:  // KARO
            return polygon({{cx, cy - 0.5f * s}, {cx + 0.36f * s, cy}, {cx, cy + 0.5f * s}, {cx - 0.36f * s, cy}});
        case 2:  // PIK: a heart upside down with a foot
            return unite(
                {circle(cx - 0.2f * s, cy + 0.08f * s, 0.21f * s), circle(cx + 0.2f * s, cy + 0.08f * s, 0.21f * s),
                 polygon({{cx - 0.4f * s, cy + 0.04f * s}, {cx + 0.4f * s, cy + 0.04f * s}, {cx, cy - 0.48f * s}}),
                 polygon({{cx - 0.05f * s, cy + 0.1f * s},
                          {cx + 0.05f * s, cy + 0.1f * s},
                          {cx + 0.16f * s, cy + 0.48f * s},
                          {cx - 0.16f * s, cy + 0.48f * s}})});
        default:  // HERZ
            return unite(
                {circle(cx - 0.2f * s, cy - 0.16f * s, 0.22f * s), circle(cx + 0.2f * s, cy - 0.16f * s, 0.22f * s),
                 polygon({{cx - 0.415f * s, cy - 0.1f * s}, {cx + 0.415f * s, cy - 0.1f * s}, {cx, cy + 0.45f * s}})});
    }
}

Shape star(float cx, float cy, float outer, float inner) {
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < 10; ++i) {
        float const angle = static_cast<float>(i) * 3.14159265f / 5.0f - 3.14159265f / 2.0f;
        float const r = i % 2 == 0 ? outer : inner;
        points.emplace_back(cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    return polygon(std::move(points));
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void Canvas::blend(int x, int y, Colour c, int coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
    Colour& d = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    int const sa = c.a * coverage / kSteps;
    int const da = d.a * (255 - sa) / 255;
    int const oa = sa + da;
    if (oa == 0) return;
    auto mix = [&](int s, int t) { return static_cast<uint8_t>((s * sa + t * da + oa / 2) / oa); };
    d = Colour{mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), static_cast<uint8_t>(oa)};
}

void Canvas::fill(Shape const& shape, Colour colour) {
    // Pixel centres first; only pixels whose 3 x 3 neighbourhood is mixed are sampled finely.
    std::vector<uint8_t> centre(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            centre[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
                shape(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f) ? 1 : 0;
    auto at = [&](int x, int y) {
        x = x < 0 ? 0 : x >= width_ ? width_ - 1 : x;
        y = y < 0 ? 0 : y >= height_ ? height_ - 1 : y;
        return centre[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            int const own = at(x, y);
            bool mixed = false;
            for (int dy = -1; dy <= 1 && !mixed; ++dy)
                for (int dx = -1; dx <= 1; ++dx) mixed = mixed || at(x + dx, y + dy) != own;
            if (!mixed) {
                if (own) blend(x, y, colour, kSteps);
                continue;
            }
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += shape(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples,
                                  static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples);
            blend(x, y, colour, (hits * kSteps + kSamples * kSamples / 2) / (kSamples * kSamples));
        }
}

void Canvas::text(FT_Face face, std::string const& text, float cx, float cy, int pixelHeight, Colour colour) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight))) return;
    long advance = 0;
    for (char ch : text) {
        if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_DEFAULT)) continue;
        advance += face->glyph->advance.x;
    }
    int penX = static_cast<int>(std::lround(cx - static_cast<float>(advance) / 128.0f));
    // Capitals and digits stand about 0.73 of the pixel height above the baseline.
    int const baseline = static_cast<int>(std::lround(cy + 0.365f * static_cast<float>(pixelHeight)));
    for (char ch : text) {
        if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_RENDER)) continue;
        FT_Bitmap const& bitmap = face->glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int const grey = bitmap.buffer[static_cast<long>(row) * bitmap.pitch + col];
                blend(penX + face->glyph->bitmap_left + static_cast<int>(col),
                      baseline - face->glyph->bitmap_top + static_cast<int>(row), colour, (grey * kSteps + 127) / 255);
            }
        penX += static_cast<int>(face->glyph->advance.x / 64);
    }
}

void Canvas::mirrorCorner(int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels_[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(width_ - 1 - x)] =
                pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

bool Canvas::savePng(std::string const& path) const {
    // Palette in the order colours first appear; RGBA when there are more than 256.
    std::vector<Colour> palette;
    std::map<uint32_t, uint8_t> index;
    for (Colour const& c : pixels_) {
        uint32_t const key = static_cast<uint32_t>(c.r) << 24 | c.g << 16 | c.b << 8 | c.a;
        if (index.count(key)) continue;
        if (palette.size() == 256) {
            palette.clear();
            break;
        }
        index[key] = static_cast<uint8_t>(palette.size());
        palette.push_back(c);
    }
    // volatile: the error path after setjmp closes it, so it must not live in a register.
    std::FILE* volatile const out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        std::fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_compression_level(png, 9);
    int const depth = palette.empty()        ? 8
                      : palette.size() <= 2  ? 1
                      : palette.size() <= 4  ? 2
                      : palette.size() <= 16 ? 4
                                             : 8;
    std::size_t const w = static_cast<std::size_t>(width_);
    std::vector<png_byte> row;
    if (palette.empty()) {
        png_set_IHDR(png, info, static_cast<png_uint_32>(width_), static_cast<png_uint_32>(height_), 8,
                     PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    } else {
        std::vector<png_color> colours;
        std::vector<png_byte> alphas;
        bool translucent = false;
        for (Colour const& c : palette) {
            colours.push_back(png_color{c.r, c.g, c.b});
            alphas.push_back(c.a);
            translucent = translucent || c.a != 255;
        }
        png_set_IHDR(png, info, static_cast<png_uint_32>(width_), static_cast<png_uint_32>(height_), depth,
                     PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
        if (translucent) png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    png_write_info(png, info);
    for (int y = 0; y < height_; ++y) {
        Colour const* line = &pixels_[static_cast<std::size_t>(y) * w];
        row.assign(palette.empty() ? w * 4 : (w * static_cast<std::size_t>(depth) + 7) / 8, 0);
        for (std::size_t x = 0; x < w; ++x) {
            Colour const& c = line[x];
            if (palette.empty()) {
                row[x * 4] = c.r;
                row[x * 4 + 1] = c.g;
                row[x * 4 + 2] = c.b;
                row[x * 4 + 3] = c.a;
                continue;
            }
            uint32_t const key = static_cast<uint32_t>(c.r) << 24 | c.g << 16 | c.b << 8 | c.a;
            std::size_t const bit = x * static_cast<std::size_t>(depth);
            row[bit / 8] |= static_cast<png_byte>(index[key] << (8 - depth - static_cast<int>(bit % 8)));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

}  // namespace cards
