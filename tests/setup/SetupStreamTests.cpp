#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "setup/SetupStream.h"

namespace
{
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Every byte of the block random, so that a field that should not change shows when it does.
BikeSetup RandomSetup(unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(sizeof(BikeSetup));
    for (uint8_t& byte : bytes)
    {
        byte = static_cast<uint8_t>(random());
    }
    BikeSetup setup;
    std::memcpy(&setup, bytes.data(), sizeof setup);
    return setup;
}

// A set-up the screens could have made, on top of random physics fields.
BikeSetup TunedSetup(unsigned seed)
{
    BikeSetup setup = RandomSetup(seed);
    setup.ignitionA = 0.97f;
    setup.ignitionB = 1.02f;
    setup.ignitionC = 1.05f;
    setup.coolingOpening = 0.3f;
    setup.frontCompression = 3.0f;
    setup.frontRebound = 17.0f;
    setup.rearCompression = 1.0f;
    setup.rearRebound = 19.0f;
    setup.frontLevelA = 0;
    setup.frontLevelB = 1;
    setup.rearLevelA = 3;
    setup.rearLevelB = 4;
    setup.tuningValue1 = 12.5f;
    setup.tuningValue2 = -0.75f;
    setup.tuningValue3 = 3e-5f;
    setup.brakeValueA = 0.01f;
    setup.brakeValueB = 2.0f;
    setup.brakeCharacteristic = 2;
    setup.gearChoice = {0, 5, 11, 16, 22, 28};
    setup.rearSprocket = 38;
    setup.frontSprocket = -2;
    setup.frontTyre = 7;
    setup.rearTyre = 100;
    return setup;
}

void CopyStreamedFields(const BikeSetup& from, BikeSetup& to)
{
    to.ignitionA = from.ignitionA;
    to.ignitionB = from.ignitionB;
    to.ignitionC = from.ignitionC;
    to.coolingOpening = from.coolingOpening;
    to.frontCompression = from.frontCompression;
    to.frontRebound = from.frontRebound;
    to.rearCompression = from.rearCompression;
    to.rearRebound = from.rearRebound;
    to.frontLevelA = from.frontLevelA;
    to.frontLevelB = from.frontLevelB;
    to.rearLevelA = from.rearLevelA;
    to.rearLevelB = from.rearLevelB;
    to.tuningValue1 = from.tuningValue1;
    to.tuningValue2 = from.tuningValue2;
    to.tuningValue3 = from.tuningValue3;
    to.brakeValueA = from.brakeValueA;
    to.brakeValueB = from.brakeValueB;
    to.brakeCharacteristic = from.brakeCharacteristic;
    to.gearChoice = from.gearChoice;
    to.rearSprocket = from.rearSprocket;
    to.frontSprocket = from.frontSprocket;
    to.frontTyre = from.frontTyre;
    to.rearTyre = from.rearTyre;
}

bool SameBytes(const BikeSetup& a, const BikeSetup& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void PutFloat(std::vector<uint8_t>& bytes, float value)
{
    const uint32_t word = std::bit_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
    {
        bytes.push_back(static_cast<uint8_t>(word >> shift));
    }
}

TEST(SetupStreamTest, FieldsGoOutInTheirOrderLittleEndian)
{
    const BikeSetup setup = TunedSetup(1);
    std::vector<uint8_t> expected;
    for (const float value : {0.97f, 1.02f, 1.05f, 0.3f, 3.0f, 17.0f, 1.0f, 19.0f})
    {
        PutFloat(expected, value);
    }
    expected.insert(expected.end(), {0, 1, 3, 4});
    for (const float value : {12.5f, -0.75f, 3e-5f, 0.01f, 2.0f})
    {
        PutFloat(expected, value);
    }
    expected.insert(expected.end(), {2, 0, 5, 11, 16, 22, 28, 38, 0xFE, 7, 100});
    ASSERT_EQ(expected.size(), kSetupStreamSize);

    const SetupStream stream = StoreSetupStream(setup);
    EXPECT_EQ(std::vector<uint8_t>(stream.begin(), stream.end()), expected);
}

// Loading changes exactly the streamed fields, bit for bit, and nothing else.
TEST(SetupStreamTest, StreamedFieldsRoundTripAndTheRestStays)
{
    const BikeSetup source = TunedSetup(2);
    BikeSetup target = RandomSetup(3);
    BikeSetup expected = target;
    CopyStreamedFields(source, expected);

    ASSERT_TRUE(LoadSetupStream(StoreSetupStream(source), target));
    EXPECT_TRUE(SameBytes(target, expected));
    EXPECT_EQ(StoreSetupStream(target), StoreSetupStream(source));
}

TEST(SetupStreamTest, ShortStreamChangesNothingAndLongerOneIsReadToItsLength)
{
    const SetupStream stream = StoreSetupStream(TunedSetup(4));
    const BikeSetup original = TunedSetup(5);
    for (const size_t length : {size_t{0}, size_t{1}, kSetupStreamSize - 1})
    {
        BikeSetup target = original;
        EXPECT_FALSE(LoadSetupStream(std::span(stream).first(length), target));
        EXPECT_TRUE(SameBytes(target, original));
    }
    std::vector<uint8_t> longer(stream.begin(), stream.end());
    longer.insert(longer.end(), 30, 0xEE);
    BikeSetup fromLonger = original;
    BikeSetup fromExact = original;
    EXPECT_TRUE(LoadSetupStream(longer, fromLonger));
    EXPECT_TRUE(LoadSetupStream(stream, fromExact));
    EXPECT_TRUE(SameBytes(fromLonger, fromExact));
}

// A loaded value the set-up screens could not have made is brought back into its range; one
// that is no number at all keeps what the set-up had.
TEST(SetupStreamTest, OutOfRangeValuesAreBroughtBackIntoRange)
{
    struct FloatCase
    {
        const char* name;
        float BikeSetup::*field;
        float stored;
        float loaded;
    };
    const FloatCase floatCases[] = {
        {"ignition A low", &BikeSetup::ignitionA, 0.5f, 0.95f},
        {"ignition A infinite", &BikeSetup::ignitionA, kInfinity, 0.97f},
        {"ignition B high", &BikeSetup::ignitionB, 2.0f, 1.05f},
        {"ignition C NaN", &BikeSetup::ignitionC, kNaN, 1.05f},
        {"ignition C in range", &BikeSetup::ignitionC, 0.95f, 0.95f},
        {"cooling negative", &BikeSetup::coolingOpening, -1.0f, 0.0f},
        {"cooling above full", &BikeSetup::coolingOpening, 1.5f, 1.0f},
        {"front compression", &BikeSetup::frontCompression, 0.0f, 1.0f},
        {"front rebound", &BikeSetup::frontRebound, 25.0f, 19.0f},
        {"rear compression", &BikeSetup::rearCompression, -kInfinity, 1.0f},
        {"rear rebound", &BikeSetup::rearRebound, 0.5f, 1.0f},
        {"tuning NaN", &BikeSetup::tuningValue1, kNaN, 12.5f},
        {"tuning has no range", &BikeSetup::tuningValue2, -1e30f, -1e30f},
        {"brake A none", &BikeSetup::brakeValueA, 0.0f, 0.01f},
        {"brake A high", &BikeSetup::brakeValueA, 3.0f, 1.0f},
        {"brake B high", &BikeSetup::brakeValueB, 5.0f, 2.0f},
        {"brake B low", &BikeSetup::brakeValueB, 0.001f, 0.01f},
    };
    for (const FloatCase& c : floatCases)
    {
        SCOPED_TRACE(c.name);
        BikeSetup source = TunedSetup(6);
        source.*c.field = c.stored;
        BikeSetup target = TunedSetup(6);
        ASSERT_TRUE(LoadSetupStream(StoreSetupStream(source), target));
        EXPECT_EQ(target.*c.field, c.loaded);
    }

    struct ByteCase
    {
        const char* name;
        uint8_t BikeSetup::*field;
        uint8_t stored;
        uint8_t loaded;
    };
    const ByteCase byteCases[] = {
        {"front level", &BikeSetup::frontLevelA, 5, 4},
        {"rear level", &BikeSetup::rearLevelB, 255, 4},
        {"brake characteristic", &BikeSetup::brakeCharacteristic, 3, 2},
        {"front tyre unknown", &BikeSetup::frontTyre, 11, 7},
        {"rear tyre unknown", &BikeSetup::rearTyre, 99, 100},
        {"front tyre automatic", &BikeSetup::frontTyre, 100, 100},
        {"front tyre last rain", &BikeSetup::frontTyre, 10, 10},
        {"rear tyre first slick", &BikeSetup::rearTyre, 0, 0},
    };
    for (const ByteCase& c : byteCases)
    {
        SCOPED_TRACE(c.name);
        BikeSetup source = TunedSetup(7);
        source.*c.field = c.stored;
        BikeSetup target = TunedSetup(7);
        ASSERT_TRUE(LoadSetupStream(StoreSetupStream(source), target));
        EXPECT_EQ(target.*c.field, c.loaded);
    }
}
}  // namespace
