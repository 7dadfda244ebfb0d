#pragma once
// The noiseless anatomy of the demo run: a head-shaped ellipsoid of tissue near 1000 over a dark
// background, with a darker core, and two blobs where the task activates. Positions are in mm
// from the centre of the grid, x to the right, y to the front, z up.

#include <array>

namespace host::demo {

using Point = std::array<double, 3>;

class HeadPhantom {
  public:
    HeadPhantom(int dimX, int dimY, int dimZ, double voxelSize);

    // Centre of voxel (x, y, z).
    Point position(int x, int y, int z) const;
    // Image intensity before motion, drift, task and noise.
    double intensity(const Point& p) const;
    // Spatial gradient of the intensity, per mm.
    Point gradient(const Point& p) const;
    // Task activation weight: 1 at the centre of either blob, falling off as a Gaussian.
    double activation(const Point& p) const;

  private:
    Point semiAxes_;
    Point centreOffset_;
    double voxelSize_;
    double edgeWidth_;
    double blobWidth_;
    std::array<Point, 2> blobs_;
};

}  // namespace host::demo
