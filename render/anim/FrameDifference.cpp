#include "render/anim/FrameDifference.h"

#include "core/util/LittleEndian.h"

namespace render
{

void SubtractDifference(std::span<uint8_t> picture, std::span<const uint8_t> difference)
{
    size_t at = 0;
    for (; at + 4 <= picture.size(); at += 4)
    {
        StoreLe32(&picture[at], LoadLe32(&picture[at]) - LoadLe32(&difference[at]));
    }
    if (at + 2 <= picture.size())
    {
        StoreLe16(&picture[at],
                  static_cast<uint16_t>(LoadLe16(&picture[at]) - LoadLe16(&difference[at])));
        at += 2;
    }
    if (at < picture.size())
    {
        picture[at] = static_cast<uint8_t>(picture[at] - difference[at]);
    }
}

}  // namespace render
