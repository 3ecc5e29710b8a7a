#include "kit/race/DemoRiders.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "race/BikeRecord.h"

namespace kit
{
namespace
{
// clang-format off
constexpr std::array<std::string_view, kRiderCount> kFirstNames = {
    "Ansgar", "Bruno", "Carlo", "Dario", "Emil", "Fabio", "Gerd", "Hugo", "Ivo", "Jens",
    "Kai", "Luca", "Mats", "Nils", "Olaf", "Pavel", "Quirin", "Rui", "Sven", "Timo",
    "Udo", "Vito", "Wim", "Xaver", "Yann", "Zeno"};
constexpr std::array<std::string_view, kRiderCount> kLastNames = {
    "Brehm", "Castell", "D\xFCrr", "Eckart", "Falk", "Gr\xE4""ber", "Horvat", "Ibarra",
    "Jansen", "Kolb", "Lindqvist", "Moreau", "Nowak", "Orsini", "Pietsch", "Quast",
    "Rinaldi", "Sauter", "Toma", "Ulrich", "Varga", "Wendt", "Xandry", "Yoshida",
    "Zanetti", "Almeida"};
// clang-format on

template <size_t N>
void CopyText(std::array<char, N>& field, std::string_view text)
{
    field = {};
    std::memcpy(field.data(), text.data(), std::min(text.size(), N));
}

// Spread over 0..1 by the rider and the class, the same each time the kit runs.
float Spread(size_t rider, size_t bikeClass, size_t salt)
{
    return static_cast<float>((rider * 7 + bikeClass * 5 + salt * 11) % kRiderCount) /
           static_cast<float>(kRiderCount - 1);
}
}  // namespace

std::vector<RiderProfile> DemoRiderProfiles(BikeClass bikeClass)
{
    const size_t classIndex = ToIndex(bikeClass);
    std::vector<RiderProfile> riders(kRiderCount);
    for (size_t i = 0; i < kRiderCount; ++i)
    {
        RiderProfile& rider = riders[i];
        rider.paceBase = 0.92f + 0.13f * Spread(i, classIndex, 0);
        rider.performance = 0.85f + 0.15f * Spread(i, classIndex, 1);
        rider.launchFactor = 0.5f + 0.5f * Spread(i, classIndex, 2);
        rider.rangeBase = 1.0f + 9.0f * Spread(i, classIndex, 3);
        rider.racingNumber = static_cast<uint8_t>(i + 1 + 30 * classIndex);
        const std::string_view first = kFirstNames[(i + 3 * classIndex) % kRiderCount];
        const std::string_view last = kLastNames[(i + 5 * classIndex) % kRiderCount];
        rider.setupFileChars = {first[0], last[0]};
        rider.year = 1998;
        CopyText(rider.firstName, first);
        CopyText(rider.lastName, last);
        CopyText(rider.infoText, "Werksfahrer");
        CopyText(rider.profileText1, "Team Demo");
        CopyText(rider.profileText2, "Zarvo Racing");
    }
    return riders;
}
}  // namespace kit
