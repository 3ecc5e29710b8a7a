#include "view/hud/NetPlayerNames.h"

#include <algorithm>
#include <string>

#include "race/BikeRecord.h"
#include "race/RiderProfile.h"
#include "view/hud/HudFrame.h"

namespace
{
constexpr float kNearest = 1.0f;
constexpr float kFarthest = 200.0f;
constexpr float kHeadHeight = 1.0f;  // above the bike's node
constexpr int32_t kRaise = 10;
}  // namespace

std::string_view SplitFirstWord(std::string_view name)
{
    const size_t space = name.find(' ');
    if (space == std::string_view::npos || space + 1 == name.size())
    {
        return name;
    }
    return name.substr(space + 1);
}

void DrawNetPlayerNames(const HudFrame& frame, uint32_t netRiders,
                        std::span<const Vector3> bikeViews, const ProjectionValues& projection,
                        HudCanvas& canvas)
{
    const size_t riders = std::min({static_cast<size_t>(frame.riderCount), frame.bikes.size(),
                                    frame.profiles.size(), bikeViews.size(), size_t{32}});
    canvas.SetFont(HudFont::Name);
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        const BikeRecord& bike = frame.bikes[rider];
        const Vector3& view = bikeViews[rider];
        if (rider == frame.playerRider || (netRiders >> rider & 1) == 0 || bike.IsDown() ||
            bike.IsInactive() || !(view.z >= kNearest && view.z <= kFarthest))
        {
            continue;
        }
        const auto x =
            static_cast<int32_t>(projection.centreX + view.x * projection.scaleX / view.z);
        const auto y = static_cast<int32_t>(projection.centreY -
                                            (view.y + kHeadHeight) * projection.scaleY / view.z) -
                       kRaise;
        const std::string name(SplitFirstWord(frame.profiles[rider].ShownName()));
        canvas.ColourText(x, y, kNetNameColour, name.c_str(), TextAlign::Centre);
    }
}
