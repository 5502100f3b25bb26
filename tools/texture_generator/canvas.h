// A floating-point RGB drawing surface for the procedural pictures: per-pixel shading,
// antialiased shapes from distance functions, and blurs for glow. Row 0 is the top row.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace texgen {

struct Color {
    float r = 0, g = 0, b = 0;
};

Color mix(Color a, Color b, float t);
Color scale(Color c, float k);
Color add(Color a, Color b);
// 0xRRGGBB to a colour with components 0..1.
Color hex(std::uint32_t rgb);
float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

struct Point {
    float x = 0, y = 0;
};

class Canvas {
  public:
    Canvas(int width, int height, Color fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Color& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Color& at(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    }

    // Sets every pixel from a function of its centre (x + 0.5, y + 0.5).
    void shade(const std::function<Color(float x, float y)>& colorAt);
    // Blends colour over the pixels of the box [x0, x1) x [y0, y1) by a coverage function.
    void paint(float x0, float y0, float x1, float y1, Color color,
               const std::function<float(float x, float y)>& coverageAt);
    void blend(int x, int y, Color color, float alpha);

    void fillRect(float x0, float y0, float x1, float y1, Color color, float alpha = 1);
    void fillCircle(Point centre, float radius, Color color, float alpha = 1);
    void fillRing(Point centre, float inner, float outer, Color color, float alpha = 1);
    // Even-odd fill with a one-pixel antialiased edge.
    void fillPolygon(const std::vector<Point>& points, Color color, float alpha = 1);
    // A stroke of the given width with round ends.
    void strokeSegment(Point a, Point b, float width, Color color, float alpha = 1);
    void strokePolyline(const std::vector<Point>& points, float width, Color color,
                        float alpha = 1);

    // Blends colorAt over each pixel by the red channel of mask (same size) as coverage.
    void composite(const Canvas& mask, const std::function<Color(float x, float y)>& colorAt);
    // Adds another canvas of the same size, scaled by k (light adds up).
    void addScaled(const Canvas& other, float k);
    // Approximately Gaussian blur (three box passes) of standard deviation about radius / 1.7.
    void blur(int radius);

    // 8-bit R G B rows, bottom row first, as the BMP encoder takes them.
    std::vector<std::uint8_t> toRgbBottomUp() const;

  private:
    int width_, height_;
    std::vector<Color> pixels_;
};

// The canvas shrunk to width by height (each no larger than the source's) by an area filter:
// every target pixel is the mean of the source area it covers, partly covered pixels weighted
// by their share. Deterministic, so regenerated files stay the same bit for bit.
Canvas areaDownscale(const Canvas& source, int width, int height);

// Distance from p to the segment ab.
float segmentDistance(Point p, Point a, Point b);

}  // namespace texgen
