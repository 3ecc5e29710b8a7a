#include "kit/motion/SceneWriter.h"

#include <cstdio>
#include <string_view>

namespace kit
{
namespace
{
constexpr double kPositionSteps = 64.0;
constexpr double kAngleStepsPerDegree = 22.755556;

void AddLine(std::string& text, std::string_view line)
{
    text.append(line);
    text.append("\r\n");
}

std::string Format(const char* format, auto... values)
{
    char buffer[256];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    return std::string(buffer, static_cast<size_t>(length));
}

double Units(int16_t steps)
{
    return steps / kPositionSteps;  // exact in six decimals
}

// Half a step off the whole step, away from zero, so that the reader's truncation lands on it
// whatever rounding the text and the multiplication bring.
double Degrees(int16_t steps)
{
    const double nudge = steps > 0 ? 0.5 : steps < 0 ? -0.5 : 0.0;
    return (steps + nudge) / kAngleStepsPerDegree;
}

void AddObject(std::string& text, const SceneObject& object)
{
    AddLine(text, "LoadObject " + object.fileName);
    AddLine(text, "ShowObject 6 7");
    AddLine(text, "ObjectMotion (unnamed)");
    AddLine(text, "  9");
    AddLine(text, Format("  %zu", object.keys.size()));
    for (const SceneObjectKey& key : object.keys)
    {
        // x y z heading pitch bank, then three scale values
        AddLine(text, Format("  %.6f %.6f %.6f %.6f %.6f %.6f 1 1 1", Units(key.position[0]),
                             Units(key.position[1]), Units(key.position[2]), Degrees(key.angles[1]),
                             Degrees(key.angles[0]), Degrees(key.angles[2])));
        AddLine(text, Format("  %d 0 0 0 0", key.frame));
    }
    AddLine(text, "EndBehavior 1");
}
}  // namespace

std::vector<uint8_t> WriteMotionScene(int32_t firstFrame, int32_t lastFrame,
                                      std::span<const SceneObject> objects)
{
    std::string text;
    AddLine(text, "LWSC");
    AddLine(text, "1");
    AddLine(text, Format("FirstFrame %d", firstFrame));
    AddLine(text, Format("LastFrame %d", lastFrame));
    AddLine(text, Format("PreviewFirstFrame %d", firstFrame));
    AddLine(text, Format("PreviewLastFrame %d", lastFrame));
    AddLine(text, "FramesPerSecond 30");
    for (const SceneObject& object : objects)
    {
        AddObject(text, object);
    }
    return {text.begin(), text.end()};
}
}  // namespace kit
