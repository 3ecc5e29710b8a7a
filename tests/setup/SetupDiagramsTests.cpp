#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "kit/race/ClassSetups.h"
#include "setup/GearboxTable.h"
#include "setup/SetupDiagrams.h"

namespace
{
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr ScreenRect kWholeScreen{0, 0, kWidth, kHeight};

class Screen
{
public:
    // Room right of the screen, as a frame buffer's pitch may leave it: nothing may land there.
    static constexpr int kStride = kWidth + 16;

    FrameBuffer16 Frame() { return {m_pixels.data(), kStride}; }
    uint16_t At(int x, int y) const { return m_pixels[static_cast<size_t>(y * kStride + x)]; }
    bool operator==(const Screen&) const = default;

    // The lit rows of a column: top and bottom, when any.
    std::optional<std::pair<int, int>> Run(int x, uint16_t colour = kDiagramWhite) const
    {
        std::optional<std::pair<int, int>> run;
        for (int y = 0; y < kHeight; ++y)
        {
            if (At(x, y) == colour)
            {
                run = run ? std::pair{run->first, y} : std::pair{y, y};
            }
        }
        return run;
    }
    int LitOutside(const ScreenRect& area) const
    {
        int lit = 0;
        for (int y = 0; y < kHeight; ++y)
        {
            for (int x = 0; x < kStride; ++x)
            {
                const bool inside =
                    x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                lit += !inside && At(x, y) != 0 ? 1 : 0;
            }
        }
        return lit;
    }

private:
    std::vector<uint16_t> m_pixels = std::vector<uint16_t>(kStride * kHeight, 0);
};

// Every column's pixels form one run that meets the previous column's run.
void ExpectClosedLine(const Screen& screen, int firstX, int lastX, uint16_t colour = kDiagramWhite)
{
    std::optional<std::pair<int, int>> previous;
    for (int x = firstX; x <= lastX; ++x)
    {
        const auto run = screen.Run(x, colour);
        ASSERT_TRUE(run.has_value()) << x;
        for (int y = run->first; y <= run->second; ++y)
        {
            ASSERT_EQ(screen.At(x, y), colour) << x << "," << y;
        }
        if (previous)
        {
            EXPECT_LE(run->first, previous->second + 1) << x;
            EXPECT_GE(run->second, previous->first - 1) << x;
        }
        previous = run;
    }
}

TEST(BrakeDiagram, RisesFromValueAOverValueBToTheTop)
{
    const struct
    {
        float a;
        float b;
        int startY;
        int riseEndX;
    } cases[] = {
        {1.0f, 0.01f, 134, 215},  // trunc(1.955) = 1 pixel of rise, starting at the top
        {0.5f, 1.0f, 246, 409},
        {0.01f, 2.0f, 356, 605},
    };
    for (const auto& c : cases)
    {
        Screen screen;
        DrawBrakeDiagram(screen.Frame(), kWholeScreen, c.a, c.b);
        ExpectClosedLine(screen, 214, 605);
        EXPECT_EQ(screen.LitOutside({214, 134, 606, 359}), 0);
        EXPECT_EQ(screen.Run(214)->first, c.startY) << c.a;
        EXPECT_FALSE(screen.Run(213).has_value());
        EXPECT_FALSE(screen.Run(606).has_value());
        // It reaches about y 134 where the rise ends; the rest is a two-pixel line there.
        const auto end = screen.Run(c.riseEndX);
        EXPECT_NEAR(end->first, 134, 1) << c.a;
        if (c.riseEndX == 605)
        {
            continue;  // the rise fills the whole width
        }
        const auto flat = screen.Run(c.riseEndX + 1);
        EXPECT_NEAR(flat->first, 134, 1) << c.a;
        EXPECT_EQ(flat->second, flat->first + 1);
        EXPECT_LE(end->first, flat->first);
        for (int x = c.riseEndX + 1; x <= 605; ++x)
        {
            EXPECT_EQ(screen.Run(x), flat) << x;
        }
    }
}

TEST(BrakeDiagram, ValuesOutsideTheRangesAreDrawnAtTheirLimits)
{
    Screen smallest;
    DrawBrakeDiagram(smallest.Frame(), kWholeScreen, 0.01f, 0.01f);
    for (const float b : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()})
    {
        Screen screen;
        DrawBrakeDiagram(screen.Frame(), kWholeScreen, 0.0f, b);
        EXPECT_TRUE(screen == smallest) << b;
    }
    Screen largest;
    DrawBrakeDiagram(largest.Frame(), kWholeScreen, 1.0f, 2.0f);
    Screen beyond;
    DrawBrakeDiagram(beyond.Frame(), kWholeScreen, 40.0f, 1e30f);
    EXPECT_TRUE(beyond == largest);
}

TEST(BrakeDiagram, DrawsOnlyInsideTheRepaintRectangle)
{
    Screen whole;
    DrawBrakeDiagram(whole.Frame(), kWholeScreen, 0.4f, 1.3f);
    constexpr ScreenRect kPart{300, 200, 700, 250};  // reaches past the screen's right edge
    Screen part;
    DrawBrakeDiagram(part.Frame(), kPart, 0.4f, 1.3f);
    EXPECT_EQ(part.LitOutside({300, 200, 640, 250}), 0);
    int lit = 0;
    for (int y = 200; y < 250; ++y)
    {
        for (int x = 300; x < 640; ++x)
        {
            EXPECT_EQ(part.At(x, y), whole.At(x, y));
            lit += part.At(x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 10);
}

TEST(EngineDiagram, PlotsPowerFrom4000RpmAndStopsWhereItFallsToZero)
{
    std::array<float, 200> curve{};
    for (size_t i = 0; i < curve.size(); ++i)
    {
        curve[i] = i < 100 ? 33000.0f : 0.0f;  // flat, then nothing from 10000 rpm
    }
    curve[60] = 16500.0f;
    Screen screen;
    DrawEngineCurve(screen.Frame(), kWholeScreen, curve, BikeClass::Class125);

    // trunc(33000 x 1.4208) / 256 = 183 pixels above the baseline.
    EXPECT_EQ(screen.Run(288), (std::pair{175, 175}));
    EXPECT_FALSE(screen.Run(287).has_value());
    // Sample 60 lies at 288 + 20 x 2.625 = 340: down to half the height and back up.
    EXPECT_EQ(screen.Run(340), (std::pair{175, 267}));
    // Sample 99 is the last: x = 288 + trunc(59 x 672 / 256) = 442.
    EXPECT_TRUE(screen.Run(442).has_value());
    EXPECT_FALSE(screen.Run(443).has_value());
    ExpectClosedLine(screen, 288, 442);

    // The same power is drawn lower for the larger classes.
    Screen large;
    DrawEngineCurve(large.Frame(), kWholeScreen, curve, BikeClass::Class500);
    EXPECT_EQ(large.Run(288), (std::pair{310, 310}));  // trunc(33000 x 0.37888) / 256 = 48
}

TEST(GearboxCurve, StretchedByTheThirdIgnitionFactorWithAnEndMark)
{
    BikeSetup setup = kit::ClassStandardSetup(BikeClass::Class250);
    for (size_t i = 0; i < setup.baseEngineCurve.size(); ++i)
    {
        setup.baseEngineCurve[i] = static_cast<float>(i);
    }
    const struct
    {
        float ignitionC;
        size_t entry;
        float expected;
    } cases[] = {
        {1.0f, 100, 100.0f},
        {1.05f, 100, 95.0f / 1.05f},    // base[trunc(100 / 1.05)] / 1.05
        {0.95f, 100, 105.0f / 1.025f},  // base[trunc(100 / 0.95)] / (1 + 0.025)
        {0.5f, 169, 177.0f / 1.025f},   // a bad record reads as 0.95
        {std::nanf(""), 169, 169.0f},
    };
    for (const auto& c : cases)
    {
        setup.ignitionC = c.ignitionC;
        const GearboxCurve curve = RebuildGearboxCurve(setup);
        EXPECT_NEAR(curve.power[c.entry], c.expected, 1e-3f) << c.ignitionC;
        EXPECT_EQ(curve.power[170], GearboxCurve::kEndMark);
        EXPECT_EQ(curve.power[199], GearboxCurve::kEndMark);
        EXPECT_EQ(curve.maximum, *std::max_element(curve.power.begin(), curve.power.end()));
    }
}

TEST(GearCurves, EachGearOverRoadSpeedCutAtTheRightLimit)
{
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        BikeSetup setup = kit::ClassStandardSetup(bikeClass);
        GearboxTable table;
        table.InitForPlayer(bikeClass, setup, 200.0f);
        const GearboxCurve curve = RebuildGearboxCurve(setup);
        constexpr uint16_t kBlue = 0x001F;
        constexpr uint16_t kGrey = 0x8410;
        Screen screen;
        DrawGearCurves(screen.Frame(), kWholeScreen, curve, setup, bikeClass, 2, kBlue, kGrey);

        constexpr std::array<int, 3> kRightLimit = {586, 584, 587};
        const int limit = kRightLimit[ToIndex(bikeClass)];
        EXPECT_EQ(screen.LitOutside({0, 0, limit, kDiagramBaseline + 1}), 0);
        // First gear rises steeply on the left; the selected third gear is blue.
        int blue = 0;
        for (int x = 0; x < kWidth; ++x)
        {
            blue += screen.Run(x, kBlue).has_value() ? 1 : 0;
        }
        EXPECT_GT(blue, 40);
        EXPECT_FALSE(screen.Run(limit - 1, kGrey).has_value());

        // A sixth gear far longer than the table has leaves the right limit: cut there, with
        // its last sample less than a step (8 pixels here) before it.
        setup.overallRatio[5] = 3.0f;
        Screen cut;
        DrawGearCurves(cut.Frame(), kWholeScreen, curve, setup, bikeClass, 5, kBlue, kGrey);
        int lastLit = 0;
        for (int x = 0; x < kWidth; ++x)
        {
            lastLit = cut.Run(x, kBlue).has_value() ? x : lastLit;
        }
        EXPECT_GE(lastLit, limit - 8);
        EXPECT_LT(lastLit, limit);
        EXPECT_EQ(cut.LitOutside({0, 0, limit, kDiagramBaseline + 1}), 0);
    }
}

TEST(GearCurves, ALongerGearMovesTheCurveRight)
{
    BikeSetup setup = kit::ClassStandardSetup(BikeClass::Class125);
    GearboxTable table;
    table.InitForPlayer(BikeClass::Class125, setup, 200.0f);
    const GearboxCurve curve = RebuildGearboxCurve(setup);
    const auto firstLitColumn = [&](const BikeSetup& geared)
    {
        Screen screen;
        DrawGearCurves(screen.Frame(), kWholeScreen, curve, geared, BikeClass::Class125, 5,
                       kDiagramWhite, 0);
        for (int x = 0; x < kWidth; ++x)
        {
            if (screen.Run(x).has_value())
            {
                return x;
            }
        }
        return kWidth;
    };
    const int before = firstLitColumn(setup);
    table.StepGearLonger(5);
    EXPECT_GT(firstLitColumn(setup), before);
}
}  // namespace
