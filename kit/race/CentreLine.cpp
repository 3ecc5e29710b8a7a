#include "kit/race/CentreLine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kit
{
double CentrePose::LateralX(double offset) const
{
    return x + offset * std::cos(heading);
}

double CentrePose::LateralZ(double offset) const
{
    return z - offset * std::sin(heading);
}

CentreLine::CentreLine(int bends, double straightLength, double bendRadius)
    : bends_(bends),
      straight_(straightLength),
      radius_(bendRadius),
      arc_(bendRadius * 2.0 * std::numbers::pi / bends),
      turn_(2.0 * std::numbers::pi / bends)
{
    double x = 0.0;
    double z = 0.0;
    double centreX = 0.0;
    double centreZ = 0.0;
    for (int k = 0; k < bends_; ++k)
    {
        startX_.push_back(x);
        startZ_.push_back(z);
        const double heading = k * turn_;
        // The bend's centre lies inside, its end on the next straight's heading.
        const double bendX = x + straight_ * std::sin(heading) + radius_ * std::cos(heading);
        const double bendZ = z + straight_ * std::cos(heading) - radius_ * std::sin(heading);
        centreX += bendX / bends_;
        centreZ += bendZ / bends_;
        x = bendX - radius_ * std::cos(heading + turn_);
        z = bendZ + radius_ * std::sin(heading + turn_);
    }
    for (int k = 0; k < bends_; ++k)
    {
        startX_[k] -= centreX;
        startZ_[k] -= centreZ;
    }
}

CentrePose CentreLine::At(double distance) const
{
    const double segment = straight_ + arc_;
    double along = std::fmod(distance, LapLength());
    if (along < 0.0)
    {
        along += LapLength();
    }
    const int k = std::min(static_cast<int>(along / segment), bends_ - 1);
    along -= k * segment;
    const double heading = k * turn_;
    CentrePose pose;
    if (along < straight_)
    {
        pose.x = startX_[k] + along * std::sin(heading);
        pose.z = startZ_[k] + along * std::cos(heading);
        pose.heading = heading;
        pose.toNextBend = straight_ - along;
        return pose;
    }
    const double endX = startX_[k] + straight_ * std::sin(heading);
    const double endZ = startZ_[k] + straight_ * std::cos(heading);
    const double centreX = endX + radius_ * std::cos(heading);
    const double centreZ = endZ - radius_ * std::sin(heading);
    pose.heading = heading + (along - straight_) / radius_;
    pose.x = centreX - radius_ * std::cos(pose.heading);
    pose.z = centreZ + radius_ * std::sin(pose.heading);
    pose.inBend = true;
    return pose;
}

CentrePose CentreLine::BendMiddle(int bend) const
{
    return At(bend * (straight_ + arc_) + straight_ + arc_ / 2.0);
}
}  // namespace kit
