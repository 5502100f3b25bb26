// Drawing primitives of the procedural pictures. Shapes are antialiased by their distance to
// the edge (one pixel of soft edge), which keeps lettering and tubes smooth at any size.
#include "tools/texture_generator/canvas.h"

#include <algorithm>
#include <cmath>

#include "pictures/picture_scale.h"

namespace texgen {

Color mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Color scale(Color c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
Color add(Color a, Color b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Color hex(std::uint32_t rgb) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}
float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
float smoothstep(float edge0, float edge1, float x) {
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

float segmentDistance(Point p, Point a, Point b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = clamp01(t);
    float ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

Canvas::Canvas(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Canvas::shade(const std::function<Color(float, float)>& colorAt) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) at(x, y) = colorAt(x + 0.5f, y + 0.5f);
}

void Canvas::blend(int x, int y, Color color, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    Color& pixel = at(x, y);
    pixel = mix(pixel, color, std::min(alpha, 1.0f));
}

void Canvas::paint(float x0, float y0, float x1, float y1, Color color,
                   const std::function<float(float, float)>& coverageAt) {
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    int ix1 = std::min(width_, static_cast<int>(std::ceil(x1)));
    int iy1 = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) blend(x, y, color, coverageAt(x + 0.5f, y + 0.5f));
}

void Canvas::fillRect(float x0, float y0, float x1, float y1, Color color, float alpha) {
    paint(x0, y0, x1, y1, color, [&](float x, float y) {
        float cx = clamp01(std::min(x - x0, x1 - x) + 0.5f);
        float cy = clamp01(std::min(y - y0, y1 - y) + 0.5f);
        return cx * cy * alpha;
    });
}

void Canvas::fillCircle(Point centre, float radius, Color color, float alpha) {
    fillRing(centre, -1, radius, color, alpha);
}

void Canvas::fillRing(Point centre, float inner, float outer, Color color, float alpha) {
    paint(centre.x - outer - 1, centre.y - outer - 1, centre.x + outer + 1, centre.y + outer + 1,
          color, [&](float x, float y) {
              float d = std::hypot(x - centre.x, y - centre.y);
              return clamp01(outer - d + 0.5f) * clamp01(d - inner + 0.5f) * alpha;
          });
}

void Canvas::fillPolygon(const std::vector<Point>& points, Color color, float alpha) {
    if (points.size() < 3) return;
    float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (Point p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    paint(x0 - 1, y0 - 1, x1 + 1, y1 + 1, color, [&](float x, float y) {
        bool inside = false;
        float edge = 1e9f;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            Point a = points[i], b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
            edge = std::min(edge, segmentDistance({x, y}, a, b));
        }
        return clamp01(inside ? 0.5f + edge : 0.5f - edge) * alpha;
    });
}

void Canvas::strokeSegment(Point a, Point b, float width, Color color, float alpha) {
    float r = width / 2;
    paint(std::min(a.x, b.x) - r - 1, std::min(a.y, b.y) - r - 1, std::max(a.x, b.x) + r + 1,
          std::max(a.y, b.y) + r + 1, color, [&](float x, float y) {
              return clamp01(r - segmentDistance({x, y}, a, b) + 0.5f) * alpha;
          });
}

void Canvas::strokePolyline(const std::vector<Point>& points, float width, Color color,
                            float alpha) {
    if (points.empty()) return;
    float r = width / 2;
    float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (Point p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    // One coverage for the whole line, so joints are not painted twice.
    paint(x0 - r - 1, y0 - r - 1, x1 + r + 1, y1 + r + 1, color, [&](float x, float y) {
        float d = 1e9f;
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            d = std::min(d, segmentDistance({x, y}, points[i], points[i + 1]));
        if (points.size() == 1) d = segmentDistance({x, y}, points[0], points[0]);
        return clamp01(r - d + 0.5f) * alpha;
    });
}

void Canvas::composite(const Canvas& mask, const std::function<Color(float, float)>& colorAt) {
    for (int y = 0; y < height_ && y < mask.height_; ++y)
        for (int x = 0; x < width_ && x < mask.width_; ++x) {
            float alpha = mask.at(x, y).r;
            if (alpha > 0) blend(x, y, colorAt(x + 0.5f, y + 0.5f), alpha);
        }
}

void Canvas::addScaled(const Canvas& other, float k) {
    for (std::size_t i = 0; i < pixels_.size() && i < other.pixels_.size(); ++i)
        pixels_[i] = add(pixels_[i], scale(other.pixels_[i], k));
}

namespace {

// One box pass along rows (step 1) or columns (step width) with clamped edges.
void boxPass(std::vector<Color>& pixels, int count, int lines, int stride, int lineStride,
             int radius) {
    std::vector<Color> line(count);
    float norm = 1.0f / (2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        Color* base = pixels.data() + static_cast<std::size_t>(l) * lineStride;
        for (int i = 0; i < count; ++i) line[i] = base[static_cast<std::size_t>(i) * stride];
        Color sum{};
        for (int i = -radius; i <= radius; ++i) sum = add(sum, line[std::clamp(i, 0, count - 1)]);
        for (int i = 0; i < count; ++i) {
            base[static_cast<std::size_t>(i) * stride] = scale(sum, norm);
            sum = add(sum, line[std::min(i + radius + 1, count - 1)]);
            sum = add(sum, scale(line[std::max(i - radius, 0)], -1));
        }
    }
}

}  // namespace

void Canvas::blur(int radius) {
    if (radius <= 0) return;
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(pixels_, width_, height_, 1, width_, radius);
        boxPass(pixels_, height_, width_, width_, 1, radius);
    }
}

std::vector<std::uint8_t> Canvas::toRgbBottomUp() const {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels_.size() * 3);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255)); };
    for (int y = height_ - 1; y >= 0; --y)
        for (int x = 0; x < width_; ++x) {
            const Color& c = at(x, y);
            rgb.push_back(byte(c.r));
            rgb.push_back(byte(c.g));
            rgb.push_back(byte(c.b));
        }
    return rgb;
}

Canvas areaDownscale(const Canvas& source, int width, int height) {
    if (width <= 0 || height <= 0 || width > source.width() || height > source.height())
        return source;
    const std::vector<AreaFootprint> columns = areaFootprints(source.width(), width);
    const std::vector<AreaFootprint> rows = areaFootprints(source.height(), height);
    // Rows first, then columns: two one-axis passes give the same area mean as one 2D pass.
    Canvas narrowed(width, source.height());
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < width; ++x) {
            const AreaFootprint& f = columns[static_cast<std::size_t>(x)];
            Color sum;
            for (std::size_t i = 0; i < f.weights.size(); ++i)
                sum = add(sum, scale(source.at(f.first + static_cast<int>(i), y), f.weights[i]));
            narrowed.at(x, y) = sum;
        }
    Canvas result(width, height);
    for (int y = 0; y < height; ++y) {
        const AreaFootprint& f = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            Color sum;
            for (std::size_t i = 0; i < f.weights.size(); ++i)
                sum = add(sum, scale(narrowed.at(x, f.first + static_cast<int>(i)), f.weights[i]));
            result.at(x, y) = sum;
        }
    }
    return result;
}

}  // namespace texgen
