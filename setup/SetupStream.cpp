#include "setup/SetupStream.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/util/LittleEndian.h"

namespace
{
// Moves the stream's fields in their order, one call per field; the archive decides whether
// they go out of the set-up or into it.
template <typename Archive, typename Setup>
constexpr void SerializeSetup(Archive& archive, Setup& setup)
{
    archive.Word(setup.ignitionA);
    archive.Word(setup.ignitionB);
    archive.Word(setup.ignitionC);
    archive.Word(setup.coolingOpening);
    archive.Word(setup.frontCompression);
    archive.Word(setup.frontRebound);
    archive.Word(setup.rearCompression);
    archive.Word(setup.rearRebound);
    archive.Byte(setup.frontLevelA);
    archive.Byte(setup.frontLevelB);
    archive.Byte(setup.rearLevelA);
    archive.Byte(setup.rearLevelB);
    archive.Word(setup.tuningValue1);
    archive.Word(setup.tuningValue2);
    archive.Word(setup.tuningValue3);
    archive.Word(setup.brakeValueA);
    archive.Word(setup.brakeValueB);
    archive.Byte(setup.brakeCharacteristic);
    for (auto& choice : setup.gearChoice)
    {
        archive.Byte(choice);
    }
    archive.Byte(setup.rearSprocket);
    archive.Byte(setup.frontSprocket);
    archive.Byte(setup.frontTyre);
    archive.Byte(setup.rearTyre);
}

struct SizeArchive
{
    size_t size = 0;

    constexpr void Word(float) { size += 4; }
    template <typename T>
    constexpr void Byte(T)
    {
        size += 1;
    }
};

constexpr size_t StreamSize()
{
    SizeArchive archive;
    const BikeSetup setup{};
    SerializeSetup(archive, setup);
    return archive.size;
}
static_assert(StreamSize() == kSetupStreamSize);

struct StoreArchive
{
    uint8_t* out;

    void Word(float value)
    {
        StoreLe32(out, std::bit_cast<uint32_t>(value));
        out += 4;
    }
    template <typename T>
    void Byte(T value)
    {
        *out++ = static_cast<uint8_t>(value);
    }
};

struct LoadArchive
{
    const uint8_t* in;

    void Word(float& value)
    {
        value = std::bit_cast<float>(LoadLe32(in));
        in += 4;
    }
    template <typename T>
    void Byte(T& value)
    {
        value = static_cast<T>(*in++);
    }
};

constexpr float kLowestIgnition = 0.95f;
constexpr float kHighestIgnition = 1.05f;
constexpr float kFewestClicks = 1.0f;
constexpr float kMostClicks = 19.0f;
constexpr uint8_t kHighestLevel = 4;
constexpr uint8_t kHighestBrakeCharacteristic = 2;
constexpr uint8_t kLastTyre = 10;
constexpr uint8_t kAutomaticTyre = 100;

// A finite value is brought into low..high; anything else keeps the previous value.
void KeepWithin(float& value, float previous, float low, float high)
{
    value = std::isfinite(value) ? std::clamp(value, low, high) : previous;
}

void KeepFinite(float& value, float previous)
{
    if (!std::isfinite(value))
    {
        value = previous;
    }
}

void KeepTyre(uint8_t& tyre, uint8_t previous)
{
    if (tyre > kLastTyre && tyre != kAutomaticTyre)
    {
        tyre = previous;
    }
}

void KeepInRange(BikeSetup& loaded, const BikeSetup& previous)
{
    KeepWithin(loaded.ignitionA, previous.ignitionA, kLowestIgnition, kHighestIgnition);
    KeepWithin(loaded.ignitionB, previous.ignitionB, kLowestIgnition, kHighestIgnition);
    KeepWithin(loaded.ignitionC, previous.ignitionC, kLowestIgnition, kHighestIgnition);
    KeepWithin(loaded.coolingOpening, previous.coolingOpening, 0.0f, 1.0f);
    KeepWithin(loaded.frontCompression, previous.frontCompression, kFewestClicks, kMostClicks);
    KeepWithin(loaded.frontRebound, previous.frontRebound, kFewestClicks, kMostClicks);
    KeepWithin(loaded.rearCompression, previous.rearCompression, kFewestClicks, kMostClicks);
    KeepWithin(loaded.rearRebound, previous.rearRebound, kFewestClicks, kMostClicks);
    for (uint8_t* level :
         {&loaded.frontLevelA, &loaded.frontLevelB, &loaded.rearLevelA, &loaded.rearLevelB})
    {
        *level = std::min(*level, kHighestLevel);
    }
    KeepFinite(loaded.tuningValue1, previous.tuningValue1);
    KeepFinite(loaded.tuningValue2, previous.tuningValue2);
    KeepFinite(loaded.tuningValue3, previous.tuningValue3);
    KeepWithin(loaded.brakeValueA, previous.brakeValueA, 0.01f, 1.0f);
    KeepWithin(loaded.brakeValueB, previous.brakeValueB, 0.01f, 2.0f);
    loaded.brakeCharacteristic = std::min(loaded.brakeCharacteristic, kHighestBrakeCharacteristic);
    KeepTyre(loaded.frontTyre, previous.frontTyre);
    KeepTyre(loaded.rearTyre, previous.rearTyre);
}
}  // namespace

SetupStream StoreSetupStream(const BikeSetup& setup)
{
    SetupStream stream;
    StoreArchive archive{stream.data()};
    SerializeSetup(archive, setup);
    return stream;
}

bool LoadSetupStream(std::span<const uint8_t> bytes, BikeSetup& setup)
{
    if (bytes.size() < kSetupStreamSize)
    {
        return false;
    }
    BikeSetup loaded = setup;
    LoadArchive archive{bytes.data()};
    SerializeSetup(archive, loaded);
    KeepInRange(loaded, setup);
    setup = loaded;
    return true;
}
