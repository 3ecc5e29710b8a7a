#include "setup/SetupDiagrams.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t kScreenRight = 640;
constexpr int32_t kScreenBottom = 480;

// Power in W to 1/256 pixel of height, by class.
constexpr std::array<float, kBikeClassCount> kPowerScale = {1.4208f, 0.56832f, 0.37888f};

struct GearCurveLayout
{
    float pixelsPerSpeed;  // per m/s
    int32_t originX;
    int32_t rightLimit;
};
constexpr std::array<GearCurveLayout, kBikeClassCount> kGearLayouts = {{
    {6.84f, 111, 586},
    {5.508f, 125, 584},
    {4.7622857f, 124, 587},
}};

class ClippedPlot
{
public:
    ClippedPlot(FrameBuffer16 frame, const ScreenRect& clip, uint16_t colour)
        : m_frame(frame),
          m_left(std::max(clip.left, 0)),
          m_top(std::max(clip.top, 0)),
          m_right(std::min(clip.right, kScreenRight)),
          m_bottom(std::min(clip.bottom, kScreenBottom)),
          m_colour(colour)
    {
    }

    // Column x from row y1 to row y2, both included, in either order.
    void VerticalRun(int32_t x, int32_t y1, int32_t y2) const
    {
        if (x < m_left || x >= m_right)
        {
            return;
        }
        const int32_t top = std::max(std::min(y1, y2), m_top);
        const int32_t bottom = std::min(std::max(y1, y2), m_bottom - 1);
        for (int32_t y = top; y <= bottom; ++y)
        {
            m_frame.pixels[static_cast<ptrdiff_t>(y) * m_frame.stridePixels + x] = m_colour;
        }
    }

private:
    FrameBuffer16 m_frame;
    int32_t m_left;
    int32_t m_top;
    int32_t m_right;
    int32_t m_bottom;
    uint16_t m_colour;
};

// Samples from 4000 rpm on as connected runs: each sample's column rises or falls from the
// previous height; the columns between two samples keep the previous height. Stops at the
// first sample of no power or at the right limit.
void PlotCurve(const ClippedPlot& plot, std::span<const float> samples, float powerScale,
               int32_t originX8, int32_t step8, int32_t rightLimit)
{
    int32_t previousX = -1;
    int32_t previousY = 0;
    int32_t x8 = originX8;
    for (const float sample : samples)
    {
        if (!(sample > 0.0f))
        {
            break;
        }
        const int32_t x = x8 >> 8;
        if (x >= rightLimit)
        {
            break;
        }
        const double scaled = std::trunc(static_cast<double>(sample * powerScale));
        const int32_t height = static_cast<int32_t>(std::min(scaled, 1.0e6)) / 256;
        const int32_t y = kDiagramBaseline - height;
        if (previousX < 0)
        {
            plot.VerticalRun(x, y, y);
        }
        else
        {
            for (int32_t column = previousX + 1; column < x; ++column)
            {
                plot.VerticalRun(column, previousY, previousY);
            }
            plot.VerticalRun(x, previousY, y);
        }
        previousX = x;
        previousY = y;
        x8 += step8;
    }
}
}  // namespace

void DrawBrakeDiagram(FrameBuffer16 frame, const ScreenRect& clip, float valueA, float valueB)
{
    // A value from a file loaded while the page is open may lie outside the ranges the arrows
    // keep: the curve needs at least one pixel to rise over.
    const float a = std::isfinite(valueA) ? std::clamp(valueA, 0.01f, 1.0f) : 0.01f;
    const float b = std::isfinite(valueB) ? std::clamp(valueB, 0.01f, 2.0f) : 0.01f;
    const int64_t length = static_cast<int64_t>(195.5f * b);
    const int64_t height = static_cast<int64_t>(224.0f * a);
    const int64_t k = (int64_t{0x6FFF8000} - height * (int64_t{1} << 23)) / (length * length);
    const ClippedPlot plot(frame, clip, kDiagramWhite);
    constexpr int32_t kStartX = 214;
    constexpr int32_t kEndX = 605;
    int32_t previousY = 0;
    for (int32_t column = 0; column <= length; ++column)
    {
        const int64_t rise = (k * column * column) >> 23;
        const auto y = static_cast<int32_t>(kDiagramBaseline - height - rise);
        plot.VerticalRun(kStartX + column, column == 0 ? y : previousY, y);
        previousY = y;
    }
    for (int32_t x = kStartX + static_cast<int32_t>(length); x <= kEndX; ++x)
    {
        plot.VerticalRun(x, previousY, previousY + 1);
    }
}

void DrawEngineCurve(FrameBuffer16 frame, const ScreenRect& clip,
                     std::span<const float, BikeSetup::kEngineCurvePoints> engineCurve,
                     BikeClass bikeClass)
{
    constexpr size_t kFirstSample = 40;
    constexpr size_t kSamples = 120;
    const ClippedPlot plot(frame, clip, kDiagramWhite);
    PlotCurve(plot, engineCurve.subspan(kFirstSample, kSamples), kPowerScale[ToIndex(bikeClass)],
              288 << 8, 0x2A0, kScreenRight);
}

GearboxCurve RebuildGearboxCurve(const BikeSetup& setup)
{
    // Set-up streams are brought into 0.95..1.05 when loaded; a record made elsewhere must not
    // stretch the curve beyond its 200 points either.
    const float f =
        std::isfinite(setup.ignitionC) ? std::clamp(setup.ignitionC, 0.95f, 1.05f) : 1.0f;
    const float g = f <= 1.0f ? 1.0f / (1.0f + 0.5f * (1.0f - f)) : 1.0f / f;
    GearboxCurve curve;
    for (size_t i = 0; i < GearboxCurve::kUsed; ++i)
    {
        const auto source = std::min(static_cast<size_t>(static_cast<float>(i) / f),
                                     setup.baseEngineCurve.size() - 1);
        curve.power[i] = setup.baseEngineCurve[source] * g;
        curve.maximum = std::max(curve.maximum, curve.power[i]);
    }
    std::fill(curve.power.begin() + GearboxCurve::kUsed, curve.power.end(), GearboxCurve::kEndMark);
    return curve;
}

void DrawGearCurves(FrameBuffer16 frame, const ScreenRect& clip, const GearboxCurve& curve,
                    const BikeSetup& setup, BikeClass bikeClass, int selectedGear,
                    uint16_t selectedColour, uint16_t otherColour)
{
    constexpr size_t kFirstSample = 40;
    constexpr size_t kSamples = 160;
    const GearCurveLayout& layout = kGearLayouts[ToIndex(bikeClass)];
    for (int gear = 0; gear < static_cast<int>(BikeSetup::kGears); ++gear)
    {
        const float ratio = setup.overallRatio[static_cast<size_t>(gear)];
        if (!(ratio > 0.0f))
        {
            continue;
        }
        // Road speed (m/s) per 100 rpm of the curve in this gear.
        const float speedPerSample = setup.rearTyreRadius * 10.471975f / ratio;
        const double step =
            std::trunc(static_cast<double>(layout.pixelsPerSpeed * speedPerSample * 256.0f));
        if (!(step > 0.0) || step > 1.0e6)
        {
            continue;
        }
        const auto step8 = static_cast<int32_t>(step);
        const ClippedPlot plot(frame, clip, gear == selectedGear ? selectedColour : otherColour);
        PlotCurve(plot, std::span(curve.power).subspan(kFirstSample, kSamples),
                  kPowerScale[ToIndex(bikeClass)],
                  (layout.originX << 8) + step8 * static_cast<int32_t>(kFirstSample), step8,
                  layout.rightLimit);
    }
}
