#pragma once

// The centre line of a generated circuit by distance along the lap: straight k runs at heading
// k x 2 pi / n, each bend turns right (heading rising) by 2 pi / n on a constant radius. Lateral
// offsets are measured towards the inside of the bends, (cos h, -sin h) for heading h. Metres
// and radians, in double precision; the lap is centred on the origin.

#include <vector>

namespace kit
{
struct CentrePose
{
    double x = 0.0;
    double z = 0.0;
    double heading = 0.0;
    bool inBend = false;
    double toNextBend = 0.0;  // distance to the start of the next bend; 0 inside one

    // The point at the lateral offset (positive towards the inside of the bends).
    double LateralX(double offset) const;
    double LateralZ(double offset) const;
};

class CentreLine
{
public:
    CentreLine(int bends, double straightLength, double bendRadius);

    double LapLength() const { return bends_ * (straight_ + arc_); }
    double StraightLength() const { return straight_; }
    // The pose at the distance from the start of straight 0, wrapped into the lap.
    CentrePose At(double distance) const;
    // The middle of bend k.
    CentrePose BendMiddle(int bend) const;

private:
    int bends_;
    double straight_;
    double radius_;
    double arc_;
    double turn_;
    std::vector<double> startX_;  // of each straight
    std::vector<double> startZ_;
};
}  // namespace kit
