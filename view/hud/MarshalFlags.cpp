#include "view/hud/MarshalFlags.h"

#include <array>

namespace
{
struct FlagBit
{
    uint32_t bit;
    int32_t flag;
};

constexpr std::array<FlagBit, 7> kOrder = {{
    {21, 5},
    {16, 1},
    {17, 2},
    {19, 3},
    {18, 0},
    {15, 6},
    {20, 4},
}};
constexpr uint32_t kAlwaysShownBit = 18;
constexpr uint32_t kBlinkingBit = 15;
}  // namespace

int32_t ChooseMarshalFlag(uint32_t flagBits, bool signalAid, uint16_t flagLaps, float raceTime)
{
    for (const FlagBit& entry : kOrder)
    {
        if ((flagBits & (1u << entry.bit)) == 0 || (!signalAid && entry.bit != kAlwaysShownBit))
        {
            continue;
        }
        if (entry.bit == kBlinkingBit && flagLaps >= 2 &&
            (static_cast<int32_t>(raceTime * 8.0f) & 7) > 4)
        {
            return kNoMarshalFlag;
        }
        return entry.flag;
    }
    return kNoMarshalFlag;
}
