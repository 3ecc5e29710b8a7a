#include "core/util/MathUtils.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace
{

TEST(MathUtilsTest, SqrtFloatIsTheCorrectlyRoundedSingleRoot)
{
    EXPECT_EQ(SqrtFloat(4.0f), 2.0f);
    EXPECT_EQ(SqrtFloat(0.0f), 0.0f);
    EXPECT_TRUE(std::signbit(SqrtFloat(-0.0f)));
    EXPECT_EQ(std::bit_cast<uint32_t>(SqrtFloat(2.0f)), 0x3FB504F3u);
    EXPECT_EQ(SqrtFloat(std::numeric_limits<float>::infinity()),
              std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(SqrtFloat(-1.0f)));
}

TEST(MathUtilsTest, SqrtDoubleRoundsItsArgumentToSingleFirst)
{
    // The root of the double itself rounds to a neighbouring float.
    constexpr double x = 2.4122563974706974;
    ASSERT_NE(static_cast<float>(std::sqrt(x)), std::sqrt(static_cast<float>(x)));
    EXPECT_EQ(SqrtDouble(x), std::sqrt(static_cast<float>(x)));
    EXPECT_EQ(SqrtDouble(16.0), 4.0f);
    EXPECT_TRUE(std::isnan(SqrtDouble(-4.0)));
}

TEST(MathUtilsTest, TruncateToInt32ChopsAndSaturates)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const struct
    {
        float x;
        int32_t expected;
    } cases[] = {
        {2.9f, 2},
        {-2.9f, -2},
        {-0.5f, 0},
        {2147483520.0f, 2147483520},  // the largest float below 2^31
        {2147483648.0f, std::numeric_limits<int32_t>::max()},
        {-2147483648.0f, std::numeric_limits<int32_t>::min()},
        {-3e9f, std::numeric_limits<int32_t>::min()},
        {kInfinity, std::numeric_limits<int32_t>::max()},
        {std::nanf(""), 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(TruncateToInt32(c.x), c.expected) << c.x;
    }
}

}  // namespace
