#include "kit/laps/LapFileWriter.h"

#include <bit>

#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{
// Where the arrays of a file of n samples start.
struct LapFileLayout
{
    explicit LapFileLayout(size_t n) : n(n) {}

    size_t Node() const { return 40; }
    size_t Float(size_t array) const { return 40 + 2 * n + 4 * n * array; }  // 0..7
    size_t Word(size_t array) const { return 40 + 34 * n + 2 * n * array; }  // 0..5
    size_t Gear() const { return 40 + 46 * n; }
    size_t Temperature() const { return 40 + 47 * n; }
    size_t Pose(size_t channel) const { return 40 + 48 * n + 4 * n * channel; }
    size_t End() const { return 40 + 112 * n; }

    size_t n;
};

void StoreFloat(uint8_t* at, float value)
{
    StoreLe32(at, std::bit_cast<uint32_t>(value));
}
}  // namespace

std::vector<uint8_t> LapFileBytes(const LapFileContent& lap)
{
    const LapFileLayout layout(lap.samples.size());
    std::vector<uint8_t> bytes(layout.End());
    StoreLe32(&bytes[0], static_cast<uint32_t>(lap.samples.size()));
    for (size_t word = 0; word < lap.header.size(); ++word)
    {
        StoreLe16(&bytes[4 + 2 * word], lap.header[word]);
    }
    StoreLe32(&bytes[20], lap.valid);
    for (size_t time = 0; time < lap.times.size(); ++time)
    {
        StoreLe32(&bytes[24 + 4 * time], static_cast<uint32_t>(lap.times[time]));
    }
    for (size_t i = 0; i < lap.samples.size(); ++i)
    {
        const LapSample& sample = lap.samples[i];
        StoreLe16(&bytes[layout.Node() + 2 * i], sample.node);
        const float floats[] = {sample.groundX,         sample.groundZ,        sample.raceTime,
                                sample.suspensionFront, sample.suspensionRear, sample.acceleration,
                                sample.tyreFront,       sample.tyreRear};
        for (size_t array = 0; array < std::size(floats); ++array)
        {
            StoreFloat(&bytes[layout.Float(array) + 4 * i], floats[array]);
        }
        const uint16_t words[] = {sample.power, sample.brake,    sample.speed,
                                  sample.rpm,   sample.throttle, sample.steering};
        for (size_t array = 0; array < std::size(words); ++array)
        {
            StoreLe16(&bytes[layout.Word(array) + 2 * i], words[array]);
        }
        bytes[layout.Gear() + i] = sample.gear;
        bytes[layout.Temperature() + i] = sample.temperature;
        for (size_t channel = 0; channel < sample.pose.size(); ++channel)
        {
            StoreFloat(&bytes[layout.Pose(channel) + 4 * i], sample.pose[channel]);
        }
    }
    return bytes;
}

bool WriteLapFile(const std::string& path, const LapFileContent& lap, std::string& error)
{
    const size_t slash = path.rfind('/');
    const bool folderReady =
        slash == std::string::npos || files::MakeDirectories(path.substr(0, slash));
    if (!folderReady || !files::ReplaceAtomically(path, LapFileBytes(lap)))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
}  // namespace kit
