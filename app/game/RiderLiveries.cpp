#include "app/game/RiderLiveries.h"

std::array<std::array<RiderLivery, kLiveriesPerClass>, kLiveryClassCount> g_riderLiveries;

namespace
{
constexpr const char* kDefaultRiderName = "Hanno Wummelbach";

struct DefaultDesign
{
    uint32_t bikeModel;
    uint32_t wheelDesign;
    uint32_t paintDesign;
};

constexpr std::array<std::array<DefaultDesign, kDefaultLiveriesPerClass>, kLiveryClassCount>
    kDefaultDesigns = {{
        // 125 ccm
        {{
            {0, 1, 3},  {1, 1, 14}, {4, 2, 1},  {1, 1, 12}, {0, 2, 13}, {3, 2, 11}, {3, 5, 4},
            {2, 4, 10}, {1, 1, 2},  {2, 4, 15}, {1, 3, 7},  {1, 1, 5},  {1, 1, 2},  {4, 1, 0},
            {2, 4, 10}, {3, 5, 4},  {0, 4, 8},  {4, 2, 1},  {1, 1, 6},  {1, 2, 14}, {1, 1, 5},
            {2, 4, 15}, {0, 1, 9},  {0, 4, 8},  {0, 1, 13}, {0, 1, 0},
        }},
        // 250 ccm
        {{
            {0, 1, 8},  {0, 1, 8},  {2, 1, 4},  {3, 1, 17}, {2, 1, 10}, {2, 1, 3},  {2, 1, 6},
            {2, 1, 15}, {2, 4, 19}, {4, 3, 1},  {1, 1, 12}, {2, 1, 5},  {3, 1, 17}, {3, 1, 18},
            {0, 1, 5},  {4, 3, 1},  {3, 1, 18}, {1, 6, 13}, {1, 1, 11}, {2, 1, 0},  {0, 1, 14},
            {1, 1, 18}, {1, 1, 18}, {1, 1, 1},  {1, 1, 1},  {1, 1, 11},
        }},
        // 500 ccm
        {{
            {0, 0, 8}, {0, 0, 8},  {2, 1, 14}, {0, 6, 2},  {2, 1, 15}, {2, 5, 4},  {1, 0, 8},
            {0, 1, 7}, {0, 1, 7},  {3, 1, 5},  {2, 1, 14}, {3, 1, 5},  {4, 1, 0},  {2, 6, 9},
            {4, 1, 0}, {2, 1, 11}, {0, 4, 1},  {4, 1, 3},  {2, 1, 15}, {2, 1, 10}, {2, 6, 13},
            {2, 5, 4}, {1, 0, 8},  {2, 1, 6},  {0, 1, 12}, {0, 1, 0},
        }},
    }};
}  // namespace

void FillDefaultLiveries()
{
    for (size_t bikeClass = 0; bikeClass < kLiveryClassCount; ++bikeClass)
    {
        for (size_t row = 0; row < kDefaultLiveriesPerClass; ++row)
        {
            const DefaultDesign& design = kDefaultDesigns[bikeClass][row];
            g_riderLiveries[bikeClass][row] = {kDefaultRiderName, static_cast<uint32_t>(row + 1),
                                               design.bikeModel, design.wheelDesign,
                                               design.paintDesign};
        }
    }
}
