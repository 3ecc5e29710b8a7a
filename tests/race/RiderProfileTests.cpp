// Rider profiles: the stored form and its clamps, the names, the shuffles and the three
// derivations of the active parameters.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "core/util/LittleEndian.h"
#include "race/RiderProfile.h"
#include "race/RiderProfileFile.h"

namespace
{
std::array<uint8_t, RiderProfile::kStoredSize> StoredOf(const RiderProfile& profile)
{
    std::array<uint8_t, RiderProfile::kStoredSize> bytes{};
    profile.Store(bytes);
    return bytes;
}

void SetName(std::array<char, RiderProfile::kNameSize>& field, const std::string& name)
{
    field = {};
    std::memcpy(field.data(), name.data(), std::min(name.size(), field.size()));
}

TEST(RiderProfileTest, TheStoredFormKeepsEveryByte)
{
    RiderProfile profile;
    profile.rangeBase = 5.0f;
    profile.paceBase = 0.97f;
    profile.racingNumber = 46;
    profile.setupFileChars = {'V', 'R'};
    profile.careerCounters = {1, 2, 3, 4, 5};
    profile.classWord = 0x1234;
    SetName(profile.firstName, "Valentino");
    SetName(profile.lastName, "Rossa");
    profile.profileText2[79] = 'x';
    const auto bytes = StoredOf(profile);
    EXPECT_EQ(bytes[24], 46);
    EXPECT_EQ(bytes[25], 'V');
    EXPECT_EQ(LoadLe16(&bytes[28]), 1997) << "year";
    EXPECT_EQ(LoadLe16(&bytes[38]), 5);
    EXPECT_EQ(LoadLe16(&bytes[40]), 0x1234);
    EXPECT_EQ(bytes[42], 'V');
    EXPECT_EQ(bytes[58], 'R');
    EXPECT_EQ(bytes[195], 'x');

    RiderProfile loaded;
    ASSERT_TRUE(loaded.Load(bytes));
    EXPECT_EQ(StoredOf(loaded), bytes);
    EXPECT_FALSE(loaded.Load(std::span(bytes).first(195)));
}

struct ClampCase
{
    const char* name;
    float RiderProfile::*field;
    float stored;
    float loaded;
};

class ProfileClampTest : public ::testing::TestWithParam<ClampCase>
{
};

TEST_P(ProfileClampTest, LoadingBringsTheParameterIntoItsRange)
{
    RiderProfile profile;
    profile.rangeBase = 5.0f;
    profile.*GetParam().field = GetParam().stored;
    RiderProfile loaded;
    ASSERT_TRUE(loaded.Load(StoredOf(profile)));
    EXPECT_EQ(loaded.*GetParam().field, GetParam().loaded);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Clamps, ProfileClampTest,
    ::testing::Values(ClampCase{"RangeBaseOfAResetRecord", &RiderProfile::rangeBase, 100.0f, 10.0f},
                      ClampCase{"RangeBaseBelowOne", &RiderProfile::rangeBase, 0.2f, 1.0f},
                      ClampCase{"PerformanceAboveOne", &RiderProfile::performance, 1.2f, 1.0f},
                      ClampCase{"PerformanceTooLow", &RiderProfile::performance, 0.5f, 0.85f},
                      ClampCase{"PerformanceInRange", &RiderProfile::performance, 0.9f, 0.9f},
                      ClampCase{"LaunchFactorTooLow", &RiderProfile::launchFactor, 0.3f, 0.5f},
                      ClampCase{"PaceBaseTooHigh", &RiderProfile::paceBase, 1.2f, 1.05f},
                      ClampCase{"PaceBaseTooLow", &RiderProfile::paceBase, 0.5f, 0.92f},
                      ClampCase{"PaceBaseNoNumber", &RiderProfile::paceBase, kNaN, 1.0f},
                      ClampCase{"RangeBaseNoNumber", &RiderProfile::rangeBase, kNaN, 10.0f},
                      ClampCase{"AvoidDistanceNoNumber", &RiderProfile::avoidDistanceSq,
                                std::numeric_limits<float>::infinity(), 6.25f}),
    [](const ::testing::TestParamInfo<ClampCase>& info) { return info.param.name; });

TEST(RiderProfileTest, NamesAreBoundedByTheirFields)
{
    RiderProfile profile;
    // Twenty characters run over the 16-byte field into the last name.
    const std::string first = "Maximilianus-Johann";
    std::memcpy(profile.firstName.data(), first.data(), 16);
    SetName(profile.lastName, "Huber");
    profile.classWord = 0x0307;
    RiderProfile loaded;
    ASSERT_TRUE(loaded.Load(StoredOf(profile)));
    loaded.TakeStoredForClass(BikeClass::Class250);
    EXPECT_EQ(loaded.firstNameLength[1], 15);
    EXPECT_EQ(loaded.displayNames[1], "Maximilianus-Joh Huber");
    EXPECT_EQ(loaded.ShownName(), loaded.displayNames[1]);
    EXPECT_EQ(loaded.classByte[1], 7);
    EXPECT_TRUE(loaded.displayNames[0].empty()) << "other classes untouched";
}

TEST(RiderProfileTest, CopyTakesTheStoredFieldsAndStartsTheActiveOnes)
{
    RiderProfile source;
    source.baseAngle = 0.02f;
    source.rangeBase = 4.0f;
    source.paceBase = 0.95f;
    SetName(source.firstName, "Kenny");
    SetName(source.lastName, "Roberto");
    source.activeRange = 99.0f;
    RiderProfile copy;
    copy.CopyFrom(source, BikeClass::Class500);
    EXPECT_EQ(StoredOf(copy), StoredOf(source));
    EXPECT_EQ(copy.activeAngle, 0.02f);
    EXPECT_EQ(copy.activeRange, 4.0f);
    EXPECT_EQ(copy.pace, 0.95f);
    EXPECT_EQ(copy.ShownName(), "Kenny Roberto");
    EXPECT_EQ(copy.firstNameLength[2], 5);
}

TEST(RiderProfileTest, ResetAndDefaults)
{
    RiderProfile profile;
    profile.SetDefaults();
    EXPECT_EQ(profile.avoidDistanceSq, 16.0f);
    EXPECT_EQ(profile.activeRange, 100.0f);
    EXPECT_EQ(profile.pace, 1.0f);
    profile.racingNumber = 9;
    profile.Reset();
    EXPECT_EQ(profile.avoidDistanceSq, 6.25f);
    EXPECT_EQ(profile.rangeBase, 100.0f);
    EXPECT_EQ(profile.racingNumber, 0);
    EXPECT_EQ(profile.gradeChar, '0');
    EXPECT_EQ(profile.year, 1997);
    EXPECT_EQ(profile.pace, 1.0f) << "the active parameters stay";
}

TEST(RiderProfileTest, SwappingShufflesTheParametersRoundThreeRiders)
{
    RiderProfile self, a, b;
    const auto set = [](RiderProfile& p, float v)
    {
        p.baseAngle = v;
        p.launchFactor = v + 0.1f;
        p.paceBase = v + 0.2f;
        p.avoidDistanceSq = v + 0.3f;
        p.rangeBase = v + 0.4f;
        p.performance = 0.9f;
    };
    set(self, 1.0f);
    set(a, 2.0f);
    set(b, 3.0f);
    self.SwapParameters(a, b);
    // baseAngle, launchFactor, paceBase: this <- a <- b <- this.
    EXPECT_EQ(self.baseAngle, 2.0f);
    EXPECT_EQ(a.baseAngle, 3.0f);
    EXPECT_EQ(b.baseAngle, 1.0f);
    EXPECT_EQ(b.paceBase, 1.2f);
    // avoidDistanceSq, rangeBase: this <- b <- a <- this.
    EXPECT_EQ(self.rangeBase, 3.4f);
    EXPECT_EQ(b.rangeBase, 2.4f);
    EXPECT_EQ(a.avoidDistanceSq, 1.3f);
    for (const RiderProfile* p : {&self, &a, &b})
    {
        EXPECT_EQ(p->performance, 1.0f);
        EXPECT_EQ(p->activeRange, p->rangeBase);
        EXPECT_EQ(p->pace, p->paceBase);
    }
}

struct DerivationCase
{
    const char* name;
    char derivation;  // 'A', 'B' or 'C'
    uint32_t a, b;
    float paceBase, rangeBase;
    float pace, activeAngle, activeRange;
};

class DerivationTest : public ::testing::TestWithParam<DerivationCase>
{
};

TEST_P(DerivationTest, GivesTheActiveParameters)
{
    const DerivationCase& c = GetParam();
    RiderProfile profile;
    profile.paceBase = c.paceBase;
    profile.rangeBase = c.rangeBase;
    switch (c.derivation)
    {
        case 'A':
            profile.DeriveParameters(c.a);
            break;
        case 'B':
            profile.DeriveParametersFromPair(c.a, c.b);
            break;
        default:
            profile.DeriveParametersFromBits(c.a);
            break;
    }
    EXPECT_NEAR(profile.pace, c.pace, 1e-5f);
    EXPECT_NEAR(profile.activeAngle, c.activeAngle, 1e-7f);
    EXPECT_NEAR(profile.activeRange, c.activeRange, 1e-5f);
}

constexpr float kAngle = RiderProfile::kBaseAngle;

INSTANTIATE_TEST_SUITE_P(
    Figures, DerivationTest,
    ::testing::Values(
        // pace = 0.9 + (v AND 0x427) x 0.00025
        DerivationCase{"AAllBits", 'A', 0xFFFF, 0, 1.0f, 5.0f, 0.9f + 1063 * 0.00025f,
                       0.75f * kAngle, 20.0f},
        DerivationCase{"ANoBits", 'A', 0x3D8, 0, 1.0f, 5.0f, 0.9f, 0.75f * kAngle, 20.0f},
        // a < 16000: x = 0.05, band 0 -> 0.95
        DerivationCase{"BEarlyPair", 'B', 1000, 1500, 1.0f, 5.0f, 0.95f, 3.95f * kAngle * 0.25f,
                       1.1875f * 5.0f},
        // a >= 48000: x = 0.0125, band 2 -> 0.93875; b < 1000 -> 0.4 + 0.6 x
        DerivationCase{"BLatePairCloseBehind", 'B', 50000, 700, 1.0f, 5.0f, 0.96325f,
                       3.96325f * kAngle * 0.25f, 1.0875f * 5.0f},
        // b < 500: x = 1.1, pace limited to 1.0
        DerivationCase{"BRightBehind", 'B', 20000, 100, 1.0f, 5.0f, 1.0f, 4.1f * kAngle * 0.25f,
                       1.0125f * 5.0f},
        // band 3: 0.8 x + 0.92, pace at least 0.7; b mod 8000 = 7000 gives 0.625, at least 0.7
        DerivationCase{"BFarRange", 'B', 20000, 7000, 0.72f, 1.0f, 0.7f, 3.96f * kAngle * 0.25f,
                       0.7f},
        // band 1 of the early pairs: 0.5 x + 0.95 with x = 0.0; pace at least 0.7
        DerivationCase{"BSlowBase", 'B', 2000, 2000, 0.7f, 2.0f, 0.7f, 3.95f * kAngle * 0.25f,
                       1.25f * 2.0f},
        // range = ((v AND 31) + 32) x base / 32; pace = base - (v >> 3) x 0.01
        DerivationCase{"CSmallGap", 'C', 37, 0, 1.02f, 4.0f, 0.98f, 0.75f * kAngle,
                       37.0f * 4.0f / 32.0f},
        DerivationCase{"CAtMostOne", 'C', 0, 0, 1.05f, 4.0f, 1.0f, 0.75f * kAngle, 4.0f}),
    [](const ::testing::TestParamInfo<DerivationCase>& info) { return info.param.name; });

TEST(RiderProfileFileTest, ReadsItsRidersAndRefusesAFileThatCountsWrong)
{
    std::array<RiderProfile, 3> written;
    for (RiderProfile& profile : written)
    {
        profile.rangeBase = 3.0f;
    }
    SetName(written[2].firstName, "Third");
    written[1].paceBase = 0.93f;
    const std::vector<uint8_t> file = EncodeRiderProfiles(written);
    ASSERT_EQ(file.size(), 2 + 3 * RiderProfile::kStoredSize);

    auto profiles = std::make_unique<std::array<RiderProfile, kRiderCount>>();
    (*profiles)[3].paceBase = 0.99f;
    EXPECT_EQ(DecodeRiderProfiles(file, BikeClass::Class125, *profiles), 3);
    EXPECT_EQ((*profiles)[1].pace, 0.93f);
    EXPECT_EQ((*profiles)[2].ShownName(), "Third ");
    EXPECT_EQ((*profiles)[3].paceBase, 0.99f) << "beyond the count untouched";
    EXPECT_EQ(EncodeRiderProfiles(std::span(*profiles).first(3)), file);

    std::vector<uint8_t> damaged = file;
    damaged.pop_back();
    EXPECT_EQ(DecodeRiderProfiles(damaged, BikeClass::Class125, *profiles), -1) << "short";
    damaged = file;
    StoreLe16(damaged.data(), 27);
    damaged.resize(2 + 27 * RiderProfile::kStoredSize);
    EXPECT_EQ(DecodeRiderProfiles(damaged, BikeClass::Class125, *profiles), -1) << "27 riders";
    EXPECT_EQ(DecodeRiderProfiles(std::span(file).first(1), BikeClass::Class125, *profiles), -1);
    EXPECT_EQ((*profiles)[1].paceBase, 0.93f);
}
}  // namespace
