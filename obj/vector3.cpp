// The library's normalisation of three-float vectors (see vector3.h).
#include "obj/vector3.h"

#include <cmath>

namespace obj {

namespace {

// How far the squared length of a float vector may be from 1 and still count as unit length:
// a few float epsilons (1.19e-7), the error of a unit vector rounded to floats, or written
// with 8 decimals and read back.
constexpr double kUnitTolerance = 4e-7;

}  // namespace

Vec3 normalize3(Vec3 v) {
    // In double, so that a unit vector read back from 8-decimal text normalises to the same
    // floats again, and squares of large or tiny floats neither overflow nor vanish.
    double squares = double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z;
    // A vector that is of unit length to float precision stays as it is: rescaling it would
    // only move its last bits, and a model written out and read again would change each time.
    if (std::fabs(squares - 1.0) <= kUnitTolerance) return v;
    if (squares > 0 && std::isfinite(squares)) {
        double reciprocal = 1.0 / std::sqrt(squares);
        return {static_cast<float>(v.x * reciprocal), static_cast<float>(v.y * reciprocal),
                static_cast<float>(v.z * reciprocal)};
    }
    return {};
}

}  // namespace obj
