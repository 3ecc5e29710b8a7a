#include "content/CircuitTable.h"

#include <cstdio>

namespace content
{
namespace
{
constexpr ConePlace kBrasilienCones[] = {
    {472.635f, -314.943f}, {468.329f, -316.68f},  {464.01f, -318.511f},  {460.302f, -319.919f},
    {456.124f, -321.374f}, {451.148f, -322.501f}, {446.847f, -323.681f}, {442.591f, -325.005f},
    {438.101f, -326.293f}, {433.604f, -327.201f}, {429.791f, -328.297f},
};
constexpr ConePlace kCatalunyaCones[] = {
    {41.635f, 199.633f}, {44.129f, 198.516f}, {46.368f, 197.296f}, {48.659f, 196.026f},
    {51.047f, 194.705f}, {53.435f, 193.333f}, {55.556f, 192.165f}, {57.754f, 190.946f},
    {59.929f, 189.726f}, {61.869f, 188.608f}, {63.952f, 187.44f},  {65.883f, 186.221f},
    {67.915f, 185.052f}, {69.947f, 183.883f}, {71.827f, 182.715f}, {73.656f, 181.597f},
    {75.637f, 180.327f},
};
constexpr ConePlace kDrentheCones[] = {
    {-100.934f, -543.506f}, {-97.707f, -540.637f},  {-94.839f, -536.639f},  {-92.568f, -532.51f},
    {-91.373f, -528.446f},  {-91.014f, -524.114f},  {268.301f, 909.741f},   {272.051f, 911.29f},
    {275.963f, 912.594f},   {279.957f, 913.98f},    {283.87f, 915.04f},     {288.108f, 916.018f},
    {292.265f, 916.751f},   {-202.799f, -153.577f}, {-200.898f, -150.344f}, {-199.503f, -146.985f},
    {-198.362f, -142.992f}, {-197.919f, -139.379f}, {-197.348f, -135.323f}, {-196.524f, -131.013f},
};

constexpr std::array<FogRange, kFogLayers> kPiFineFog = {
    {{1.0f, 50000.0f}, {1.0f, 30000.0f}, {1.0f, 10000.0f}}};

CircuitRow Row(std::string_view key, std::string_view directory, std::string_view trackStem,
               std::string_view textureStem, std::string_view collisionModel, uint16_t dustA,
               uint16_t dustB)
{
    CircuitRow row;
    row.key = key;
    row.directory = directory;
    row.trackStem = trackStem;
    row.textureStem = textureStem;
    row.collisionModel = collisionModel;
    row.dustSetA = dustA;
    row.dustSetB = dustB;
    return row;
}

std::array<CircuitRow, kCircuitCount> MakeCircuits()
{
    std::array<CircuitRow, kCircuitCount> rows = {
        Row("PI", "PI", "PI", "PI", "PI_collision.4co", 14, 14),
        Row("A1Ring", "a1ring", "a1ring", "A1Ring", "a1ring_collision.4co", 2, 2),
        Row("Brasilien", "brasilien", "brasilien", "Brasilien", "brasilien_collision.4co", 8, 8),
        Row("Bruenn", "bruenn", "bruenn", "Bruenn", "bruenn_collision.4co", 9, 9),
        Row("Catalunya", "catalunya", "catalunya", "Catalunya", "catalunya_collision.4co", 11, 10),
        Row("Donington", "donington", "donington", "Donington", "donington_collision.4co", 3, 3),
        Row("Drenthe", "drenthe", "assen", "Drenthe", "drenthe_collision.4co", 7, 7),
        Row("Frankreich", "frankreich", "frankreich", "Frankreich", "frankreich_collision.4co", 1,
            1),
        Row("Jerez", "jerez", "jerez", "Jerez", "jerez_collision.4co", 3, 3),
        Row("Imola", "imola", "imola", "Imola", "imola_collision.4co", 4, 4),
        Row("Mugello", "mugello", "mugello", "Mugello", "mugello_collision.4co", 5, 5),
        Row("Nuerburgring", "nuerburgring", "nuerburg", "Nuerburgring",
            "nuerburgring_collision.4co", 13, 13),
        Row("Suzuka", "suzuka", "suzuka", "Suzuka", "suzuka_collision.4co", 16, 16),
        Row("Sentul", "sentul", "sentul", "Sentul", "sentul_collision.4co", 15, 15),
        Row("ShahAlam", "ShahAlam", "ShahAlam", "ShahAlam", "ShahAlam_Collision.4co", 6, 6),
        Row("Netz1", "netz1", "netzstrecke", "netz1", "netz1_collision.4co", 5, 5),
        Row("Netz2", "netz2", "netz2", "Netz2", "netz2_collision.4co", 12, 12),
        Row("Netz3", "netz3", "netz3", "netz3", "netz3_collision.4co", 1, 1),
    };
    rows[0].fineFog = kPiFineFog;
    rows[2].cones = kBrasilienCones;
    rows[3].observationSunOffset = Vector3{40000.0f, 12274.0f, -4000.0f};
    rows[4].cones = kCatalunyaCones;
    rows[6].cones = kDrentheCones;
    rows[7].ownClass6 = true;
    rows[9].fineTrackModel = "imola_S.4do";
    rows[9].fineTrackAlphaModel = "imola_S_Alpha.4do";
    rows[11].lowerCaseTextureLetter = true;
    rows[15].fineTrackModel = "netzstrecke_S.4do";
    rows[15].fineTrackAlphaModel = "netzstrecke_S_alpha.4do";
    rows[17].ownSunOffset = Vector3{0.0f, 25274.0f, 40000.0f};
    return rows;
}

const std::array<CircuitRow, kCircuitCount>& CircuitRows()
{
    static const std::array<CircuitRow, kCircuitCount> rows = MakeCircuits();
    return rows;
}

constexpr std::array<WeatherRow, kWeatherCount> kWeatherRows = {{
    {0.0f,
     0.05f,
     {{{1.0f, 65000.0f}, {1.0f, 265000.0f}, {1.0f, 20000.0f}}},
     {0xF0D7C0, 0xF0D7C0, 0xC09040},
     true},
    {0.65f,
     0.1f,
     {{{1.0f, 45000.0f}, {-1000.0f, 38000.0f}, {-1000.0f, 10000.0f}}},
     {0xC0B7B0, 0xC0B7B0, 0xC0B7B0},
     false},
    {1.0f,
     0.2f,
     {{{1.0f, 8000.0f}, {-4000.0f, 34000.0f}, {-4000.0f, 6000.0f}}},
     {0x908070, 0x908070, 0x908070},
     false},
}};

constexpr SurfaceResponseTable kResponseTable = {{
    {6.0f, 6.1f, 6.0f, 6.1f, 0.01f, 0.01f},
    {1.0f, 1.0f, 0.6f, 1.0f, 0.1f, 0.1f},
    {1.0f, 1.0f, 0.6f, 1.0f, 0.1f, 0.1f},
    {1.0f, 1.1f, 0.5f, 1.1f, 0.04f, 0.04f},
    {4.0f, 4.1f, 1.0f, 1.1f, 0.009f, 0.009f},
    {6.0f, 10.0f, 6.0f, 10.0f, 0.002f, 0.005f},
    {6.0f, 6.1f, 6.0f, 6.1f, 0.001f, 0.001f},
    {6.0f, 10.0f, 6.0f, 10.0f, 0.002f, 0.005f},
    {5.0f, 6.0f, 6.0f, 6.0f, 0.005f, 0.009f},
    {6.0f, 5.0f, 8.0f, 3.0f, 0.007f, 0.01f},
    {4.0f, 3.0f, 8.0f, 3.0f, 0.01f, 0.012f},
    {3.0f, 3.0f, 8.0f, 3.0f, 0.015f, 0.015f},
}};

constexpr std::string_view kRed = "objekte/spezial/ampellichtrot.4do";
constexpr std::string_view kGreen = "objekte/spezial/ampellichtgruen.4do";
constexpr std::array<StartLight, kStartLights> kStartLightRows = {{
    {kRed, 1500, 200.0, {281.0f, 9.65f, 416.0f}},
    {kRed, 1501, 1000.0, {270.3f, 9.65f, 429.0f}},
    {kRed, 1502, 1000.0, {280.7f, 9.65f, 416.6f}},
    {kRed, 1500, 200.0, {269.8f, 9.65f, 429.6f}},
    {kRed, 1501, 1000.0, {280.1f, 9.65f, 417.2f}},
    {kRed, 1502, 1000.0, {269.4f, 9.65f, 430.2f}},
    {kGreen, 1502, 1000.0, {279.7f, 9.65f, 417.7f}},
    {kGreen, 1502, 1000.0, {269.0f, 9.65f, 430.7f}},
}};

const char* ObjectLetter(Weather weather)
{
    static constexpr const char* kLetters[kWeatherCount] = {"s", "d", "r"};
    return kLetters[static_cast<size_t>(weather) % kWeatherCount];
}

const char* TextureLetter(Weather weather)
{
    static constexpr const char* kLetters[kWeatherCount] = {"S", "D", "R"};
    return kLetters[static_cast<size_t>(weather) % kWeatherCount];
}

std::string ObjectPath(const CircuitRow& circuit, std::string_view file)
{
    return "objekte/" + std::string(circuit.directory) + "/" + std::string(file);
}
}  // namespace

const CircuitRow* FindCircuit(std::string_view name)
{
    for (const CircuitRow& row : CircuitRows())
    {
        if (row.key == name)
        {
            return &row;
        }
    }
    return nullptr;
}

std::span<const CircuitRow> Circuits()
{
    return CircuitRows();
}

const WeatherRow& WeatherOf(Weather weather)
{
    return kWeatherRows[static_cast<size_t>(weather) % kWeatherCount];
}

std::array<FogRange, kFogLayers> FogOf(const CircuitRow& circuit, Weather weather)
{
    if (weather == Weather::Fine && circuit.fineFog)
    {
        return *circuit.fineFog;
    }
    return WeatherOf(weather).fog;
}

std::optional<Vector3> SunOffsetOf(const CircuitRow& circuit, Weather weather, bool observationMode)
{
    if (!WeatherOf(weather).sun)
    {
        return std::nullopt;
    }
    if (observationMode && circuit.observationSunOffset)
    {
        return circuit.observationSunOffset;
    }
    return circuit.ownSunOffset.value_or(kSunOffset);
}

std::string SkyModelName(const CircuitRow& circuit, Weather weather)
{
    return ObjectPath(circuit, std::string("himmel_") + ObjectLetter(weather) + ".4do");
}

std::string SceneryModelName(const CircuitRow& circuit, Weather weather)
{
    return ObjectPath(circuit, std::string("buehne_") + ObjectLetter(weather) + ".4do");
}

std::string TrackModelName(const CircuitRow& circuit, Weather weather)
{
    if (weather == Weather::Fine && !circuit.fineTrackModel.empty())
    {
        return ObjectPath(circuit, circuit.fineTrackModel);
    }
    return ObjectPath(circuit,
                      std::string(circuit.trackStem) + "_" + ObjectLetter(weather) + ".4do");
}

std::string TrackAlphaModelName(const CircuitRow& circuit, Weather weather)
{
    if (weather == Weather::Fine && !circuit.fineTrackAlphaModel.empty())
    {
        return ObjectPath(circuit, circuit.fineTrackAlphaModel);
    }
    return ObjectPath(circuit,
                      std::string(circuit.trackStem) + "_" + ObjectLetter(weather) + "_alpha.4do");
}

std::string TrackTextureSetName(const CircuitRow& circuit, Weather weather)
{
    const char* letter =
        circuit.lowerCaseTextureLetter ? ObjectLetter(weather) : TextureLetter(weather);
    return "texturen/strecken/" + std::string(circuit.textureStem) + "_" + letter + ".tex";
}

std::string CollisionModelName(const CircuitRow& circuit)
{
    return "objekte/kolision/" + std::string(circuit.collisionModel);
}

std::string ConeModelName(const CircuitRow& circuit)
{
    return ObjectPath(circuit, "hut.4do");
}

std::array<std::string, 5> DustTextureNames(uint16_t set)
{
    char number[8];
    std::snprintf(number, sizeof number, "%03u", static_cast<unsigned>(set % 1000));
    const std::string prefix = std::string("Texturen/spezial/") + number;
    return {prefix + "sandstaub.tga", prefix + "Kiesspur.tga", prefix + "kies1.tga",
            prefix + "kies2.tga", prefix + "kies3.tga"};
}

std::string IdealLineModelName(const CircuitRow& circuit, BikeClass bikeClass)
{
    static constexpr const char* kClassWords[kBikeClassCount] = {"125", "250", "500"};
    const std::string key(circuit.key);
    return "objekte/" + key + "/Ideal" + key +
           kClassWords[static_cast<size_t>(bikeClass) % kBikeClassCount] + ".4do";
}

SurfaceTuning MakeSurfaceTuning(const CircuitRow& circuit, Weather weather, float gripOffset)
{
    static constexpr float kClass4Wear[kWeatherCount] = {0.000001f, 0.000002f, 0.000003f};
    static constexpr float kClass6Wear[kWeatherCount] = {0.00001f, 0.00002f, 0.00003f};
    static constexpr float kOtherWear[kWeatherCount] = {0.0001f, 0.0002f, 0.0003f};
    const size_t row = static_cast<size_t>(weather) % kWeatherCount;
    const float grip = 1.0f + 0.18f * gripOffset;
    SurfaceTuning tuning{};
    tuning.weatherFactor = WeatherOf(weather).weatherFactor;
    tuning.class4 = {0.9f, 0.95f, kClass4Wear[row]};
    tuning.class6 = circuit.ownClass6 ? std::array<float, 3>{1.5f, 0.8f, -0.0003f}
                                      : std::array<float, 3>{1.23f, 0.8f, kClass6Wear[row]};
    tuning.classOther = {grip, grip, kOtherWear[row]};
    tuning.class3Fast = {6.0f, 0.5f};
    tuning.class3Slow = {1.34f, 0.9f};
    tuning.class3Third = -0.0003f;
    tuning.class2Fast = {weather == Weather::Fine ? 13.0f : 10.0f, 0.3f};
    tuning.class2Slow = {1.34f, 0.85f};
    tuning.class2Third = -0.003f;
    return tuning;
}

const SurfaceResponseTable& ResponseTable()
{
    return kResponseTable;
}

const std::array<StartLight, kStartLights>& StartLights()
{
    return kStartLightRows;
}
}  // namespace content
