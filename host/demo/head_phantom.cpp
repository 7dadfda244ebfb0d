#include "host/demo/head_phantom.h"

#include <algorithm>
#include <cmath>

#include "host/demo/portable_math.h"

namespace host::demo {
namespace {

constexpr double kBackground = 30.0;
constexpr double kRim = 1040.0;
constexpr double kCoreDrop = 120.0;
constexpr double kCoreScale = 0.72;
constexpr double kCoreEdgeWidth = 4.0;  // mm

double logistic(double u) {
    return 1.0 / (1.0 + portableExp(-u));
}

// Approximate signed distance in mm from the surface of the ellipsoid with the given semi-axes
// (negative inside): the normalised radius minus 1, divided by the length of its gradient.
double signedDistance(const Point& p, const Point& axes) {
    double rho2 = 0.0;
    double grad2 = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double q = p[i] / axes[i];
        rho2 += q * q;
        grad2 += (q / axes[i]) * (q / axes[i]);
    }
    const double rho = std::sqrt(rho2);
    if (rho < 1e-9) return -std::min({axes[0], axes[1], axes[2]});
    return (rho - 1.0) * rho / std::sqrt(grad2);
}

}  // namespace

HeadPhantom::HeadPhantom(int dimX, int dimY, int dimZ, double voxelSize)
    : semiAxes_{0.40 * dimX * voxelSize, 0.45 * dimY * voxelSize, 0.42 * dimZ * voxelSize},
      centreOffset_{0.5 * (dimX - 1) * voxelSize, 0.5 * (dimY - 1) * voxelSize,
                    0.5 * (dimZ - 1) * voxelSize},
      voxelSize_(voxelSize),
      // Partial voluming spreads the skin over about half a voxel.
      edgeWidth_(0.5 * voxelSize),
      blobWidth_(std::max(0.09 * std::min(semiAxes_[0], semiAxes_[1]), voxelSize)),
      // Two posterior blobs, one in each hemisphere, well inside the head.
      blobs_{Point{-0.45 * semiAxes_[0], -0.5 * semiAxes_[1], 0.25 * semiAxes_[2]},
             Point{0.45 * semiAxes_[0], -0.5 * semiAxes_[1], 0.25 * semiAxes_[2]}} {}

Point HeadPhantom::position(int x, int y, int z) const {
    return {x * voxelSize_ - centreOffset_[0], y * voxelSize_ - centreOffset_[1],
            z * voxelSize_ - centreOffset_[2]};
}

double HeadPhantom::intensity(const Point& p) const {
    const Point core{kCoreScale * semiAxes_[0], kCoreScale * semiAxes_[1],
                     kCoreScale * semiAxes_[2]};
    const double tissue = kRim - kCoreDrop * logistic(-signedDistance(p, core) / kCoreEdgeWidth);
    return kBackground +
           (tissue - kBackground) * logistic(-signedDistance(p, semiAxes_) / edgeWidth_);
}

Point HeadPhantom::gradient(const Point& p) const {
    constexpr double h = 0.05;  // mm
    Point g{};
    for (int i = 0; i < 3; ++i) {
        Point ahead = p;
        Point behind = p;
        ahead[i] += h;
        behind[i] -= h;
        g[i] = (intensity(ahead) - intensity(behind)) / (2.0 * h);
    }
    return g;
}

double HeadPhantom::activation(const Point& p) const {
    double weight = 0.0;
    for (const Point& centre : blobs_) {
        double r2 = 0.0;
        for (int i = 0; i < 3; ++i) r2 += (p[i] - centre[i]) * (p[i] - centre[i]);
        weight += portableExp(-r2 / (2.0 * blobWidth_ * blobWidth_));
    }
    return std::min(weight, 1.0);
}

}  // namespace host::demo
