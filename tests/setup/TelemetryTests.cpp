#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "core/files/FileSystem.h"
#include "kit/setup/CourseMapWriter.h"
#include "race/laps/LapFile.h"
#include "setup/telemetry/CourseMaps.h"
#include "setup/telemetry/TelemetryChannels.h"
#include "setup/telemetry/TelemetryGraphs.h"
#include "setup/telemetry/TelemetryLaps.h"
#include "tests/support/TestDirectory.h"

namespace
{
TEST(CourseMaps, BuiltInTableAndProjection)
{
    const CourseMaps maps;
    // Only circuit 8 has a built-in map: (x cos a + z sin a) s + X, Y - (z cos a - x sin a) s.
    EXPECT_EQ(maps.Project(8, 0.0f, 0.0f).x, 475);
    EXPECT_EQ(maps.Project(8, 0.0f, 0.0f).y, 429);
    const MapPoint p = maps.Project(8, 100.0f, 200.0f);
    const double c = std::cos(0.58);
    const double s = std::sin(0.58);
    EXPECT_EQ(p.x, static_cast<int>(std::trunc((100 * c + 200 * s) * 0.16 + 475)));
    EXPECT_EQ(p.y, static_cast<int>(std::trunc(429 - (200 * c - 100 * s) * 0.16)));
    EXPECT_EQ(maps.Project(3, 1000.0f, -500.0f).x, 0);
    EXPECT_EQ(maps.Project(99, 1000.0f, -500.0f).x, 0);   // no such circuit
    EXPECT_EQ(maps.Project(8, 1e30f, 1e30f).x, 1000000);  // far off, never overflowing
}

TEST(CourseMaps, FileReplacesTheTableUnlessDamaged)
{
    std::array<CourseMapRecord, CourseMaps::kRecords> records{};
    records[2] = {0.0f, 0.5f, 300, 400};
    const std::vector<uint8_t> file = kit::StoreCourseMaps(records);
    ASSERT_EQ(file.size(), 320u);

    CourseMaps maps;
    ASSERT_TRUE(maps.Load(file));
    EXPECT_EQ(maps.Project(2, 10.0f, 20.0f).x, 305);
    EXPECT_EQ(maps.Project(2, 10.0f, 20.0f).y, 390);
    EXPECT_EQ(maps.Project(8, 0.0f, 0.0f).x, 0);  // the file's own record 8

    std::vector<uint8_t> nan = file;
    const uint32_t bits = std::bit_cast<uint32_t>(std::nanf(""));
    std::memcpy(&nan[16 * 5 + 4], &bits, 4);
    const std::vector<std::vector<uint8_t>> damaged = {
        std::vector<uint8_t>(file.begin(), file.end() - 1),
        std::vector<uint8_t>(321, 0),
        {},
        nan,
    };
    for (const auto& bytes : damaged)
    {
        CourseMaps builtIn;
        EXPECT_FALSE(builtIn.Load(bytes)) << bytes.size();
        EXPECT_EQ(builtIn.Project(8, 0.0f, 0.0f).x, 475);
    }
}

TEST(CourseMaps, FittedMapKeepsTheLineInsideTheMapArea)
{
    std::vector<kit::GroundPoint> points;
    for (int i = 0; i < 64; ++i)
    {
        const float t = static_cast<float>(i) / 64.0f * 6.2831853f;
        points.push_back({3000.0f + 1800.0f * std::cos(t), -700.0f + 600.0f * std::sin(t)});
    }
    std::array<CourseMapRecord, CourseMaps::kRecords> records{};
    records[11] = kit::FitCourseMap(points, 0.3f);
    CourseMaps maps;
    ASSERT_TRUE(maps.Load(kit::StoreCourseMaps(records)));
    for (const auto& point : points)
    {
        const MapPoint p = maps.Project(11, point.x, point.z);
        EXPECT_GE(p.x, 214);
        EXPECT_LE(p.x, 639);
        EXPECT_GE(p.y, 335);
        EXPECT_LE(p.y, 479);
    }
}

// A lap of n samples 40 ms apart, going 10 units along x per sample, with ramps in every
// channel.
std::unique_ptr<LapRecord> RampLap(int32_t samples, float startTime)
{
    auto lap = std::make_unique<LapRecord>();
    lap->sampleCount = samples;
    lap->valid = 1;
    lap->times = {1000, 2000, 3000, samples * 40};
    for (int32_t i = 0; i < samples; ++i)
    {
        const auto s = static_cast<size_t>(i);
        lap->raceTime[s] = startTime + 0.04f * static_cast<float>(i);
        lap->groundX[s] = 10.0f * static_cast<float>(i);
        lap->groundZ[s] = 5.0f;
        lap->node[s] = static_cast<uint16_t>(i);
        lap->throttle[s] = static_cast<uint16_t>(i * 100);
        lap->steering[s] = static_cast<uint16_t>(static_cast<int16_t>(i * 50 - 16000));
        lap->gear[s] = static_cast<uint8_t>(1 + i % 6);
        lap->speed[s] = static_cast<uint16_t>(i * 60);
        lap->rpm[s] = static_cast<uint16_t>(i * 90);
        lap->suspensionFront[s] = 0.001f * static_cast<float>(i % 80);
        lap->acceleration[s] = static_cast<float>(i % 20) - 10.0f;
        lap->tyreRear[s] = 100.0f - 0.01f * static_cast<float>(i);
    }
    return lap;
}

TEST(TelemetryLaps, OffersTheLast12OfTheLapsNumberedWithoutAGap)
{
    const struct
    {
        std::vector<int> files;
        int count;
        int offset;
        int shown;
    } cases[] = {
        {{}, 0, 0, 0},
        {{2, 3}, 0, 0, 0},
        {{1, 2, 3}, 3, 0, 3},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17}, 15, 3, 12},
    };
    const auto lap = RampLap(10, 0.0f);
    for (const auto& c : cases)
    {
        TestDirectory directory;
        for (const int number : c.files)
        {
            ASSERT_TRUE(files::MakeDirectories("Tempdaten"));
            ASSERT_TRUE(WriteLapFile(SessionLapPath(static_cast<uint32_t>(number)), *lap));
        }
        const OfferedLaps offered = FindOfferedLaps();
        EXPECT_EQ(offered.count, c.count);
        EXPECT_EQ(offered.lapOffset, c.offset);
        EXPECT_EQ(offered.lapsShown, c.shown);
    }
}

TEST(TelemetryLaps, LoadedLapsStartAtZeroAndDamagedOnesAreLeftOut)
{
    TestDirectory directory;
    ASSERT_TRUE(files::MakeDirectories("Tempdaten"));
    ASSERT_TRUE(WriteLapFile(SessionLapPath(1), *RampLap(100, 12.5f)));
    directory.WriteFile("Tempdaten/Daten_Runde2.fhr", "not a lap");
    const OfferedLaps offered = FindOfferedLaps();
    ASSERT_EQ(offered.lapsShown, 2);

    const auto lap = LoadOfferedLap(offered, 0);
    ASSERT_NE(lap, nullptr);
    EXPECT_FLOAT_EQ(lap->raceTime[0], 0.0f);
    EXPECT_NEAR(LapDuration(*lap), 3.96f, 1e-4f);
    EXPECT_FLOAT_EQ(LapLength(*lap), 990.0f);
    EXPECT_EQ(LoadOfferedLap(offered, 1), nullptr);
    EXPECT_EQ(LoadOfferedLap(offered, 2), nullptr);
    EXPECT_EQ(LoadOfferedLap(offered, -1), nullptr);
}

GraphWindow WindowOver(float rangeMax, float horizontalSlider = 0.0f, float verticalSlider = 0.076f)
{
    GraphWindow window;
    window.rangeMax = rangeMax;
    window.xZoom = 1.0f - horizontalSlider * 0.98f;
    window.yZoom = verticalSlider * 10.0f + 0.1f;
    return window;
}

std::vector<float> Axis(const LapRecord& lap, bool distance)
{
    const auto& values = distance ? lap.distance : lap.raceTime;
    return {values.begin(), values.begin() + lap.sampleCount};
}

TEST(TelemetryGraphs, FullZoomOutCoversTheWholeLongestLap)
{
    auto longest = RampLap(500, 0.0f);
    auto shorter = RampLap(300, 7.0f);
    PrepareLapAxes(*longest);
    PrepareLapAxes(*shorter);
    const GraphWindow window = WindowOver(LapDuration(*longest));
    const GraphColumns longColumns = LayoutColumns(window, Axis(*longest, false));
    const GraphColumns shortColumns = LayoutColumns(window, Axis(*shorter, false));
    EXPECT_EQ(longColumns.front().sample, 0);
    EXPECT_GE(longColumns[559].sample, 497);
    // 336 x 19.96 / 561 = 11.955 s lies in the shorter lap's last pair; 337 lies past it.
    EXPECT_EQ(longColumns[336].sample, 298);
    EXPECT_EQ(shortColumns[336].sample, 298);
    EXPECT_EQ(shortColumns[337].sample, -1);
    for (size_t column = 1; column < 559; ++column)
    {
        EXPECT_GE(longColumns[column].sample, longColumns[column - 1].sample);
    }
}

TEST(TelemetryGraphs, PanningStopsAtTheEndsOfTheData)
{
    GraphWindow window = WindowOver(100.0f, 0.5f);  // about half the range in view
    const float step = window.Step();
    window.Pan(-100000, 0);
    EXPECT_NEAR(window.panOffsetX / step, -278.0f, 1e-3f);
    window.Pan(+100000, 0);
    EXPECT_NEAR((window.rangeMax - window.panOffsetX) / step, 280.0f, 1e-3f);
    const GraphColumns columns = LayoutColumns(window, std::vector<float>{0.0f, 50.0f, 100.0f});
    EXPECT_NE(columns[GraphWindow::kCentreColumn].sample, -1);
    EXPECT_EQ(columns[GraphWindow::kCentreColumn + 2].sample, -1);

    window.Pan(0, 100000);
    EXPECT_FLOAT_EQ(window.panOffsetY, window.yZoom * 564.0f);

    // Without laps there is no range: nothing moves, nothing divides by zero.
    GraphWindow empty;
    empty.Pan(50, 50);
    EXPECT_EQ(empty.panOffsetX, 0.0f);
    EXPECT_EQ(LayoutColumns(empty, std::vector<float>{}).front().sample, -1);
}

TEST(TelemetryGraphs, SignedChannelsHaveTheirZeroOnTheMiddleLineAtAnyZoom)
{
    for (const float slider : {0.02f, 0.076f, 0.15f})
    {
        const GraphWindow window = WindowOver(10.0f, 0.0f, slider);
        EXPECT_EQ(GraphRow(window, 1, 0.0f), 141) << slider;    // steering
        EXPECT_EQ(GraphRow(window, 10, 0.0f), 141) << slider;   // acceleration
        EXPECT_EQ(GraphRow(window, 10, 1000.0f), 0) << slider;  // beyond the top: clamped
        EXPECT_EQ(GraphRow(window, 10, -1000.0f), 282) << slider;
        // A damaged lap's samples: no number lies on the bottom line, infinities on the edges.
        EXPECT_EQ(GraphRow(window, 10, std::numeric_limits<float>::quiet_NaN()), 282) << slider;
        EXPECT_EQ(GraphRow(window, 7, std::numeric_limits<float>::infinity()), 0) << slider;
        EXPECT_EQ(GraphRow(window, 1, -std::numeric_limits<float>::infinity()), 282) << slider;
    }
    const GraphWindow unzoomed = WindowOver(10.0f, 0.0f, 0.09f);  // yZoom 1
    EXPECT_EQ(GraphRow(unzoomed, 2, 5.0f), 282 - 141);            // fifth gear: 5 x 28.2
    EXPECT_EQ(GraphRow(unzoomed, 0, 65000.0f), 0);                // full throttle: 282 pixels
}

TEST(TelemetryGraphs, ReadoutAtChosenSamplesEqualsTheRecord)
{
    auto lap = RampLap(200, 3.0f);
    PrepareLapAxes(*lap);
    const GraphColumn atSample{120, 0.0f};
    const GraphColumn halfway{120, 0.5f};
    EXPECT_EQ(InterpolatedSample(*lap, 0, atSample), lap->throttle[120]);
    EXPECT_EQ(InterpolatedSample(*lap, 1, atSample), static_cast<int16_t>(lap->steering[120]));
    EXPECT_EQ(InterpolatedSample(*lap, 12, atSample), lap->tyreRear[120]);
    EXPECT_FLOAT_EQ(InterpolatedSample(*lap, 4, halfway),
                    (lap->speed[120] + lap->speed[121]) * 0.5f);

    const struct
    {
        uint8_t channel;
        float raw;
        Language language;
        const char* text;
    } cases[] = {
        {0, 40000.0f, Language::German, "61%"},
        {1, -16100.0f, Language::English, "-50%"},
        {2, 4.0f, Language::German, "4"},
        {3, 32500.0f, Language::German, "50.0"},
        {4, 30000.0f, Language::English, "166 km/h"},
        {5, 36001.0f, Language::German, "12000 U/min"},
        {5, 36001.0f, Language::English, "12000 RPM"},
        {6, 85.0f, Language::German,
         "85\xB0"
         "C"},
        {7, 0.0425f, Language::German, "4.25 mm"},
        {10, -7.5f, Language::English, "-7 m/s\xB2"},
        {12, 97.6f, Language::German, "97%"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(FormatReadout(c.channel, c.raw, c.language), c.text) << int{c.channel};
    }
    EXPECT_EQ(TelemetryChannelOf(3).readoutLabel[0], "Bremshebelstellung");
    EXPECT_EQ(TelemetryChannelOf(8).readoutLabel[1], "Suspension Rear");
}

TEST(TelemetryGraphs, GraphRunsStayInTheGraphAreaAndFollowTheSamples)
{
    auto lap = RampLap(400, 0.0f);
    PrepareLapAxes(*lap);
    const GraphWindow window = WindowOver(LapLength(*lap), 0.0f, 0.09f);
    const GraphColumns columns = LayoutColumns(window, Axis(*lap, true));
    constexpr int kStride = 640;
    std::vector<uint16_t> pixels(kStride * 480, 0);
    DrawGraph({pixels.data(), kStride}, {0, 0, 640, 480}, window, columns, *lap, 5, 0x07E0);
    int lit = 0;
    for (int y = 0; y < 480; ++y)
    {
        for (int x = 0; x < 640; ++x)
        {
            if (pixels[static_cast<size_t>(y * kStride + x)] != 0)
            {
                ++lit;
                EXPECT_GE(x, 73);
                EXPECT_LE(x, 633);
                EXPECT_GE(y, 34);
                EXPECT_LE(y, 316);
            }
        }
    }
    EXPECT_GT(lit, 500);
    // Column 280: revolutions rise steadily, so its run ends at the interpolated value's row.
    const GraphColumn& at = columns[280];
    const int row = GraphRow(window, 5, InterpolatedSample(*lap, 5, at));
    EXPECT_EQ(pixels[static_cast<size_t>((34 + row) * kStride + 73 + 280)], 0x07E0);

    // Nothing for "no channel".
    std::vector<uint16_t> none(kStride * 480, 0);
    DrawGraph({none.data(), kStride}, {0, 0, 640, 480}, window, columns, *lap, kNoChannel, 0xFFFF);
    EXPECT_EQ(std::count(none.begin(), none.end(), 0xFFFF), 0);
}
}  // namespace

TEST(TelemetryGraphs, GridStepFollowsTheVisibleRange)
{
    const std::array<std::pair<float, float>, 12> cases = {{{0.5f, 1.0f},
                                                            {5.99f, 1.0f},
                                                            {6.0f, 2.0f},
                                                            {11.9f, 2.0f},
                                                            {29.0f, 5.0f},
                                                            {59.0f, 10.0f},
                                                            {119.0f, 20.0f},
                                                            {239.0f, 40.0f},
                                                            {479.0f, 80.0f},
                                                            {959.0f, 160.0f},
                                                            {1919.0f, 320.0f},
                                                            {1920.0f, 640.0f}}};
    for (const auto& [range, step] : cases)
    {
        EXPECT_EQ(GridStep(range), step) << range;
    }
}

TEST(TelemetryGraphs, AxisLabelsSitWhereTheirValuesArePlotted)
{
    GraphWindow window;
    window.yZoom = 1.0f;
    // Speed: 300 km/h at the top, 0 at the bottom, each label on the row of its raw value.
    const std::vector<AxisLabel> speed = ChannelAxisLabels(window, 4);
    ASSERT_EQ(speed.size(), 31u);
    EXPECT_EQ(speed.front().row, GraphWindow::kHeight);
    EXPECT_EQ(speed.back().row, 0);
    EXPECT_FLOAT_EQ(speed.back().text, 30.0f);
    const float raw150 = 150.0f / 0.0055384613f;
    EXPECT_NEAR(speed[15].row, GraphRow(window, 4, raw150), 1);
    // Steering: zero on the middle line, the full lock near the edges; zoomed in, the outer
    // labels leave the graph.
    const std::vector<AxisLabel> steering = ChannelAxisLabels(window, 1);
    ASSERT_EQ(steering.size(), 21u);
    EXPECT_EQ(steering[10].row, 141);
    EXPECT_NEAR(steering.back().row, GraphRow(window, 1, 32000.0f), 1);
    window.yZoom = 2.0f;
    EXPECT_LT(ChannelAxisLabels(window, 1).size(), 21u);
    EXPECT_TRUE(ChannelAxisLabels(window, kNoChannel).empty());
}

TEST(CourseMaps, APointThatIsNoNumberLandsFarOffTheMap)
{
    const CourseMaps maps;
    const float nothing = std::numeric_limits<float>::quiet_NaN();
    const MapPoint p = maps.Project(8, nothing, 1.0f);
    EXPECT_EQ(p.x, 1000000);
    EXPECT_EQ(p.y, 1000000);
    EXPECT_EQ(maps.Project(8, 1e30f, 0.0f).x, 1000000);
}
