#include "race/RiderProfile.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "core/util/ByteFields.h"

namespace
{
constexpr float kDefaultAvoidDistanceSq = 6.25f;
constexpr float kDefaultRangeBase = 100.0f;
constexpr uint16_t kDefaultYear = 1997;
constexpr uint16_t kLongestFirstName = 15;

// Bytes of a name field before its end; a full field has no end mark.
size_t NameLength(const std::array<char, RiderProfile::kNameSize>& name)
{
    return static_cast<size_t>(std::find(name.begin(), name.end(), '\0') - name.begin());
}

// The value when it is a number, else the default, then within low..high.
float Within(float value, float fallback, float low, float high)
{
    return std::clamp(std::isfinite(value) ? value : fallback, low, high);
}

float FiniteOr(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}

// Field by field through the stored form, in its order.
template <typename Io, typename Profile>
void TransferStored(Io& io, Profile& profile)
{
    for (auto* value : {&profile.baseAngle, &profile.avoidDistanceSq, &profile.performance,
                        &profile.launchFactor, &profile.rangeBase, &profile.paceBase})
    {
        io.Field(*value);
    }
    io.Field(profile.racingNumber);
    io.Field(profile.setupFileChars);
    io.Field(profile.gradeChar);
    io.Field(profile.year);
    io.Field(profile.careerCounters);
    io.Field(profile.classWord);
    io.Field(profile.firstName);
    io.Field(profile.lastName);
    io.Field(profile.infoText);
    io.Field(profile.profileText1);
    io.Field(profile.profileText2);
}
}  // namespace

void RiderProfile::Reset()
{
    baseAngle = kBaseAngle;
    avoidDistanceSq = kDefaultAvoidDistanceSq;
    performance = 1.0f;
    launchFactor = 1.0f;
    rangeBase = kDefaultRangeBase;
    paceBase = 1.0f;
    racingNumber = 0;
    setupFileChars = {};
    gradeChar = '0';
    year = kDefaultYear;
    careerCounters = {};
    classWord = 0;
    firstName = {};
    lastName = {};
    infoText = {};
    profileText1 = {};
    profileText2 = {};
}

void RiderProfile::SetDefaults()
{
    baseAngle = kBaseAngle;
    activeAngle = kBaseAngle;
    avoidDistanceSq = 16.0f;
    performance = 1.0f;
    launchFactor = 1.0f;
    rangeBase = kDefaultRangeBase;
    activeRange = kDefaultRangeBase;
    paceBase = 1.0f;
    pace = 1.0f;
}

void RiderProfile::CopyFrom(const RiderProfile& other, BikeClass bikeClass)
{
    std::array<uint8_t, kStoredSize> stored{};
    other.Store(stored);
    FieldReader reader(stored);
    TransferStored(reader, *this);
    activeAngle = baseAngle;
    activeRange = rangeBase;
    pace = paceBase;
    const size_t name = ToIndex(bikeClass);
    displayNames[name] = std::string(firstName.data(), NameLength(firstName)) + " " +
                         std::string(lastName.data(), NameLength(lastName));
    firstNameLength[name] =
        std::min(static_cast<uint16_t>(NameLength(firstName)), kLongestFirstName);
    shownName = name;
}

void RiderProfile::SwapParameters(RiderProfile& a, RiderProfile& b)
{
    // This takes a's, a takes b's, b takes this one's.
    const auto rotate = [&](float RiderProfile::*field, RiderProfile& from, RiderProfile& next)
    {
        const float own = this->*field;
        this->*field = from.*field;
        from.*field = next.*field;
        next.*field = own;
    };
    rotate(&RiderProfile::baseAngle, a, b);
    rotate(&RiderProfile::launchFactor, a, b);
    rotate(&RiderProfile::paceBase, a, b);
    rotate(&RiderProfile::avoidDistanceSq, b, a);
    rotate(&RiderProfile::rangeBase, b, a);
    for (RiderProfile* profile : {this, &a, &b})
    {
        profile->performance = 1.0f;
        profile->activeAngle = profile->baseAngle;
        profile->activeRange = profile->rangeBase;
        profile->pace = profile->paceBase;
    }
}

void RiderProfile::Store(std::span<uint8_t, kStoredSize> out) const
{
    FieldWriter writer(kStoredSize);
    TransferStored(writer, *this);
    const std::vector<uint8_t> stored = writer.Take();
    std::copy(stored.begin(), stored.end(), out.begin());
}

bool RiderProfile::Load(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kStoredSize)
    {
        return false;
    }
    FieldReader reader(bytes);
    TransferStored(reader, *this);
    baseAngle = FiniteOr(baseAngle, kBaseAngle);
    avoidDistanceSq = FiniteOr(avoidDistanceSq, kDefaultAvoidDistanceSq);
    launchFactor = Within(launchFactor, 1.0f, 0.5f, 1.0f);
    rangeBase = Within(rangeBase, kDefaultRangeBase, 1.0f, 10.0f);
    paceBase = Within(paceBase, 1.0f, 0.92f, 1.05f);
    performance = Within(performance, 1.0f, 0.85f, 1.0f);
    return true;
}

void RiderProfile::TakeStoredForClass(BikeClass bikeClass)
{
    const RiderProfile stored = *this;
    CopyFrom(stored, bikeClass);
    classByte[ToIndex(bikeClass)] = static_cast<uint8_t>(classWord);
}

void RiderProfile::DeriveParameters(uint32_t value)
{
    activeAngle = 0.75f * kBaseAngle;
    activeRange = 20.0f;
    pace = 0.9f + static_cast<float>(value & 0x427) * 0.00025f;
}

void RiderProfile::DeriveParametersFromPair(uint32_t a, uint32_t b)
{
    float x = 0.0f;
    uint32_t s = 0;
    if (a < 16000)
    {
        x = static_cast<float>(a % 2000) * 0.00005f;
        s = a / 2000;
    }
    else if (a >= 48000)
    {
        x = static_cast<float>(a % 8000) * 0.00000625f + static_cast<float>(a % 2000) * 0.000025f;
        s = 2;
    }
    else
    {
        x = 0.05f + static_cast<float>(a % 4000) * 0.000025f;
        s = a / 4000 - 2;
    }
    constexpr std::array<std::pair<float, float>, 4> kBands = {
        {{1.0f, 0.9f}, {0.5f, 0.95f}, {0.7f, 0.93f}, {0.8f, 0.92f}}};
    x = kBands[s % 4].first * x + kBands[s % 4].second;
    if (b < 500)
    {
        x = 1.1f;
    }
    else if (b < 1000)
    {
        x = 0.4f + 0.6f * x;
    }
    pace = std::clamp(paceBase * x, 0.7f, 1.0f);
    activeAngle = (x + 3.0f) * baseAngle * 0.25f;
    const float r = static_cast<float>(b % 8000);
    const float range = r < 2000.0f ? 1.0f + 0.000125f * r : 1.5f - 0.000125f * r;
    activeRange = std::max(range * rangeBase, 0.7f);
}

void RiderProfile::DeriveParametersFromBits(uint32_t value)
{
    activeAngle = baseAngle * 0.75f;
    activeRange = static_cast<float>((value & 31) + 32) * rangeBase * 0.03125f;
    pace = std::min(paceBase - static_cast<float>(value >> 3) * 0.01f, 1.0f);
}
