#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "frontend/season/NetworkRiderName.h"

namespace
{
TEST(NetworkRiderName, SplitAtTheLastSpaceEachPartCut)
{
    struct Case
    {
        std::string_view name;
        std::string first;
        std::string last;
    };
    for (const Case& c :
         {Case{"Hans Peter Meier", "Hans Peter", "Meier"},
          Case{"Kurt Schmidt   ", "Kurt", "Schmidt"}, Case{"Solo", "", "Solo"}, Case{"   ", "", ""},
          Case{"", "", ""},
          Case{"Maximilianusgustav Sonnenscheinberger", "Maximilianusgust", "Sonnenscheinberg"},
          Case{"J\xFCrgen M\xFCller", "J\xFCrgen", "M\xFCller"}})
    {
        const SplitName split = SplitNetworkName(c.name);
        EXPECT_EQ(split.first, c.first) << c.name;
        EXPECT_EQ(split.last, c.last) << c.name;
    }
}

TEST(NetworkRiderName, TheProfileShowsTheWholeName)
{
    RiderProfile profile;
    TakeNetworkName(profile, "Kurt Schmidt  ");
    EXPECT_EQ(std::string(profile.firstName.data()), "Kurt");
    EXPECT_EQ(std::string(profile.lastName.data()), "Schmidt");
    EXPECT_EQ(profile.ShownName(), "Kurt Schmidt");

    TakeNetworkName(profile, "Ab Sonnenscheinberger");
    EXPECT_EQ(std::string(profile.lastName.begin(), profile.lastName.end()), "Sonnenscheinberg")
        << "a full field has no end byte";
    EXPECT_EQ(profile.firstName[2], '\0') << "the earlier name is gone";
}
}  // namespace
