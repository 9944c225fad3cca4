#pragma once
// Points and directions in court coordinates, metres: x across the court
// (0..9), y along it (0..18, net at 9), z up from the floor.
#include <cmath>

namespace rallinox::synth {

struct Vec3 {
    double x = 0, y = 0, z = 0;

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
    Vec3& operator+=(const Vec3& o) { return *this = *this + o; }
    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double length() const { return std::sqrt(dot(*this)); }
    Vec3 normalized() const { const double l = length(); return l > 0 ? *this * (1.0 / l) : *this; }
    Vec3 flat() const { return {x, y, 0}; }
};

inline Vec3 lerp(const Vec3& a, const Vec3& b, double t) { return a + (b - a) * t; }
inline Vec3 raised(Vec3 p, double z) { return {p.x, p.y, z}; }

constexpr double kCourtWidth = 9.0;
constexpr double kCourtLength = 18.0;
constexpr double kNetY = 9.0;
constexpr double kNetHeight = 2.43;
constexpr double kBallRadius = 0.105;
constexpr double kGravity = 9.81;

}  // namespace rallinox::synth
