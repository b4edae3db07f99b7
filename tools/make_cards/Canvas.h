// The card tool's picture: RGBA pixels, shapes given as inside-tests drawn with 4 x 4 samples per
// pixel (coverage kept to five steps, so pictures keep few colours), text through FreeType, and
// the PNG writer (a palette with transparency when 256 colours suffice, else RGBA).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace cards {

struct Colour {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(Colour const& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Inside-test at a point in pixel coordinates (pixel centres at .5).
using Shape = std::function<bool(float, float)>;

Shape roundedRect(float x0, float y0, float x1, float y1, float radius);
Shape circle(float cx, float cy, float radius);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape ring(float cx, float cy, float outer, float inner);
// The piece of a ring from angle `from` to `to` (radians, clockwise on screen from +x).
Shape arc(float cx, float cy, float outer, float inner, float from, float to);
// A stroke from (x0, y0) to (x1, y1) of that width with round ends.
Shape capsule(float x0, float y0, float x1, float y1, float width);
Shape polygon(std::vector<std::pair<float, float>> points);
Shape unite(std::vector<Shape> shapes);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
// The four suits (0 KREUZ, 1 KARO, 2 PIK, 3 HERZ) centred at (cx, cy), about size high.
Shape suitShape(int suit, float cx, float cy, float size);
// A five-pointed star.
Shape star(float cx, float cy, float outer, float inner);

class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    void fill(Shape const& shape, Colour colour);
    // Text centred at (cx, cy) with that pixel height.
    void text(FT_Face face, std::string const& text, float cx, float cy, int pixelHeight, Colour colour);
    // Copies the rectangle [0, w) x [0, h) turned by 180 degrees into the opposite corner.
    void mirrorCorner(int w, int h);
    // Writes a PNG; false when the file cannot be written.
    bool savePng(std::string const& path) const;

private:
    void blend(int x, int y, Colour colour, int coverage);  // coverage 0 .. 4

    int width_, height_;
    std::vector<Colour> pixels_;
};

}  // namespace cards
