#include "core/util/FormatRaceTime.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(FormatRaceTimeTest, MinutesSecondsAndMillisecondsInTenBytes)
{
    const struct
    {
        int32_t ms;
        const char* text;
    } kCases[] = {
        {0, "00:00:000"},       {83456, "01:23:456"},   {3599999, "59:59:999"},
        {5999999, "99:59:999"}, {6000000, "99:59:999"}, {INT32_MAX, "99:59:999"},
        {-1, "--:--:---"},      {-1000, "--:--:---"},   {INT32_MIN, "--:--:---"},
    };
    for (const auto& c : kCases)
    {
        const RaceTimeText text = FormatRaceTime(c.ms);
        EXPECT_EQ(std::string(text.data()), c.text) << c.ms;
        EXPECT_EQ(text[9], '\0');
    }
}

}  // namespace
