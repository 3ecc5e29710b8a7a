#include "content/FieldTables.h"

#include <cstdio>

#include "content/MakeNames.h"

namespace content
{
namespace
{
size_t ClassIndex(BikeClass bikeClass)
{
    return static_cast<size_t>(bikeClass) % kBikeClassCount;
}

std::string Number3(uint32_t number)
{
    char text[8];
    std::snprintf(text, sizeof text, "%03u", number % 1000);
    return text;
}

std::string ClassObjectDirectory(BikeClass bikeClass)
{
    static constexpr const char* kDirectories[kBikeClassCount] = {
        "objekte/bikes/125er/", "objekte/bikes/250er/", "objekte/bikes/500er/"};
    return kDirectories[ClassIndex(bikeClass)];
}

std::string WheelName(BikeClass bikeClass, const char* wheel, int level)
{
    static constexpr const char* kPrefixes[kBikeClassCount] = {"125_", "250_", "501_"};
    return ClassObjectDirectory(bikeClass) + kPrefixes[ClassIndex(bikeClass)] + wheel +
           std::to_string(level) + ".4do";
}

// rear: hrad, front: vrad. The class and slot exceptions of the table.
std::vector<ModelLevel> WheelLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail, bool rear)
{
    const char* wheel = rear ? "hrad" : "vrad";
    const bool class125 = bikeClass == BikeClass::Class125;
    switch (detail % kModelDetails)
    {
        case 0:
            return {{WheelName(bikeClass, wheel, 2), 18.0},
                    {WheelName(bikeClass, wheel, 5), class125 && rear ? 85.0 : 80.0}};
        case 1:
            return {{WheelName(bikeClass, wheel, 1), 6.0},
                    {WheelName(bikeClass, wheel, 2), 12.0},
                    {WheelName(bikeClass, wheel, 5), class125 ? 60.0 : 80.0}};
        default:
        {
            const uint32_t s = slot % kMakeSlots;
            const bool nearer = bikeClass == BikeClass::Class500 &&
                                (rear ? (s == 1 || s == 2) : (s == 2 || s == 3));
            return {{WheelName(bikeClass, wheel, 1), 8.0},
                    {WheelName(bikeClass, wheel, 2), nearer ? 15.0 : 16.0},
                    {WheelName(bikeClass, wheel, 5), 80.0}};
        }
    }
}

constexpr std::array<std::array<double, 4>, kModelDetails> kBodyDistances = {{
    {20.0, 30.0, 40.0, 100.0},
    {20.0, 40.0, 80.0, 120.0},
    {25.0, 50.0, 100.0, 200.0},
}};

constexpr std::array<std::array<const char*, kMakeSlots>, kBikeClassCount> kBodyFirst = {{
    {"125_moto2m", "125_moto2l", "125_moto2r", "125_moto2m", "125_moto2r"},
    {"250_moto2l", "250_moto2lm", "250_moto2lr", "250_moto2mr", "250_moto2rr"},
    {"500_moto2mmrr", "500_moto2lr", "500_moto2llmm", "500_moto2mmr", "500_moto2llmm"},
}};
constexpr std::array<std::array<const char*, 3>, kBikeClassCount> kBodyFurther = {{
    {"125_moto3", "125_moto4", "125_moto5"},
    {"250_moto3", "250_moto4", "250_moto5"},
    {"501_moto3", "500_moto4", "500_moto5"},
}};

constexpr std::array<const char*, kFigureParts> kFigureBaseNames = {
    "huefte",       "o_schnk_links", "u_schnk_links", "o_schnk_rechts", "u_schnk_rechts",
    "torso",        "helm",          "o-arm_links",   "u-arm_links",    "hand_links",
    "o-arm_rechts", "u-arm_rechts",  "hand_rechts",
};
// The further levels of the arms are spelt with a capital A.
constexpr std::array<const char*, kFigureParts> kFigureFurtherNames = {
    "huefte",       "o_schnk_links", "u_schnk_links", "o_schnk_rechts", "u_schnk_rechts",
    "torso",        "helm",          "o-Arm_links",   "u-Arm_links",    "hand_links",
    "o-Arm_rechts", "u-Arm_rechts",  "hand_rechts",
};

std::string FigureFile(const char* base, int level)
{
    return std::string("objekte/fahrer/") + base + std::to_string(level) + ".4do";
}

bool IsHand(FigurePart part)
{
    return part == kLeftHand || part == kRightHand;
}
bool IsLeg(FigurePart part)
{
    return part == kLeftThigh || part == kRightThigh || part == kLeftShin || part == kRightShin;
}
bool IsUpperArm(FigurePart part)
{
    return part == kLeftUpperArm || part == kRightUpperArm;
}
bool IsForearm(FigurePart part)
{
    return part == kLeftForearm || part == kRightForearm;
}

constexpr std::array<FigureJoint, kFigureParts> kJoints = {{
    {kHip, kHip, {0.0f, 0.7f, 0.0f}},
    {kRightThigh, kHip, {0.08f, -0.05f, 0.013f}},
    {kRightShin, kRightThigh, {0.003f, -0.338f, 0.118f}},
    {kLeftThigh, kHip, {-0.08f, -0.05f, -0.013f}},
    {kLeftShin, kLeftThigh, {-0.003f, -0.338f, 0.118f}},
    {kTorso, kHip, {0.0f, 0.083f, -0.062f}},
    {kRightUpperArm, kTorso, {0.2f, 0.438f, 0.121f}},
    {kRightForearm, kRightUpperArm, {0.037f, -0.255f, -0.018f}},
    {kRightHand, kRightForearm, {-0.007f, -0.215f, -0.01f}},
    {kLeftUpperArm, kTorso, {-0.2f, 0.438f, 0.121f}},
    {kLeftForearm, kLeftUpperArm, {-0.037f, -0.255f, -0.018f}},
    {kLeftHand, kLeftForearm, {0.007f, -0.215f, -0.01f}},
    {kHelmet, kTorso, {-0.005f, 0.508f, 0.108f}},
}};

constexpr std::array<FigurePart, 11> kFurtherOrder = {
    kHip,           kHelmet,       kLeftThigh,   kRightThigh,   kLeftShin, kRightShin,
    kRightUpperArm, kLeftUpperArm, kLeftForearm, kRightForearm, kTorso,
};

constexpr std::array<CockpitRecord, kCockpitRecords> kCockpits = {{
    {{0.03f, 0.861f, 0.624f}, {4000, 15000, 3.4f, 1.6f}, {0, 3, 11, 16, 20, 26, 31, 32, 41}},
    {{0.036f, 0.841f, 0.662f}, {8000, 14000, 3.4f, 1}, {0, 2, 10, 16, 19, 25, 29, 30, 39}},
    {{0.039f, 0.841f, 0.662f}, {7000, 14000, 3.1f, 1}, {0, 5, 12, 17, 22, 27, 33, 34, 40}},
    {{0.035f, 0.844f, 0.664f}, {7000, 14000, 3.1f, 1}, {0, 4, 12, 16, 21, 27, 29, 30, 40}},
    {{0.038f, 0.84f, 0.661f}, {7000, 14000, 3.1f, 1}, {1, 5, 10, 16, 21, 26, 33, 34, 40}},
    {{0.035f, 0.842f, 0.663f}, {3000, 14000, 4, 1}, {0, 6, 13, 18, 23, 28, 33, 34, 40}},
    {{0.053f, 0.836f, 0.657f}, {4000, 15000, 3.4f, 1.6f}, {0, 3, 11, 16, 20, 28, 35, 36, 40}},
    {{0.023f, 0.84f, 0.662f}, {7000, 14000, 3.1f, 1}, {1, 7, 14, 16, 21, 26, 29, 30, 40}},
    {{-0.06f, 0.833f, 0.659f}, {7000, 14000, 3.1f, 1}, {0, 8, 15, 16, 21, 27, 37, 38, 40}},
    {{-0.011f, 0.83f, 0.652f}, {7000, 14000, 3.1f, 1}, {0, 8, 12, 16, 24, 27, 33, 34, 40}},
    {{0.035f, 0.843f, 0.663f}, {8000, 14000, 3.4f, 1}, {1, 9, 11, 17, 22, 25, 31, 32, 40}},
    {{0.036f, 0.842f, 0.663f}, {8000, 14000, 3.4f, 1}, {1, 9, 11, 17, 22, 26, 31, 32, 41}},
    {{0.036f, 0.841f, 0.662f}, {7000, 14000, 3.1f, 1}, {0, 4, 10, 17, 42, 25, 31, 32, 40}},
    {{0.037f, 0.841f, 0.662f}, {7000, 14000, 3.1f, 1}, {0, 4, 14, 17, 22, 25, 29, 30, 41}},
    {{0.036f, 0.843f, 0.663f}, {7000, 14000, 3.1f, 1}, {1, 4, 12, 17, 22, 27, 29, 30, 39}},
}};

void AddSuitPictures(std::vector<NumberedPicture>& pictures, const std::string& directory,
                     uint32_t base, const std::vector<uint32_t>& sets)
{
    static constexpr std::pair<int32_t, const char*> kParts[] = {
        {0, "arml"}, {2, "beinh"}, {3, "beinl"}, {5, "front"},
        {6, "fuss"}, {7, "rueck"}, {8, "schul"},
    };
    for (const uint32_t set : sets)
    {
        const std::string number = Number3(base + set);
        for (const auto& [part, name] : kParts)
        {
            pictures.push_back({240 + 15 * static_cast<int32_t>(set) + part,
                                directory + number + "Kombi/" + number + name + ".bmp"});
        }
    }
}

void AddPaintPictures(std::vector<NumberedPicture>& pictures, const std::string& directory,
                      uint32_t base, const std::vector<uint32_t>& sets)
{
    static constexpr std::pair<int32_t, const char*> kParts[] = {
        {0, "bodyl"}, {2, "verkl"}, {3, "heck"}, {4, "sitz"}};
    for (const uint32_t set : sets)
    {
        const std::string number = Number3(base + set);
        for (const auto& [part, name] : kParts)
        {
            pictures.push_back({680 + 5 * static_cast<int32_t>(set) + part,
                                directory + number + "Bike/" + number + name + ".bmp"});
        }
    }
}

void AddWheelPictures(std::vector<NumberedPicture>& pictures, const std::string& directory)
{
    static constexpr const char* kParts[] = {"felge.bmp",    "hrad.tga",     "vrad.tga",
                                             "animrad1.tga", "animrad2.tga", "animrad3.tga"};
    for (uint32_t wheelSet = 0; wheelSet < kWheelSets; ++wheelSet)
    {
        for (int32_t part = 0; part < 6; ++part)
        {
            pictures.push_back({630 + 6 * static_cast<int32_t>(wheelSet) + part,
                                directory + "Alle/" + Number3(wheelSet + 1) + kParts[part]});
        }
    }
}
}  // namespace

std::vector<ModelLevel> RearWheelLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail)
{
    return WheelLevels(bikeClass, slot, detail, true);
}

std::vector<ModelLevel> FrontWheelLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail)
{
    return WheelLevels(bikeClass, slot, detail, false);
}

std::vector<ModelLevel> BodyLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail)
{
    const size_t c = ClassIndex(bikeClass);
    const uint32_t s = slot % kMakeSlots;
    const uint32_t d = detail % kModelDetails;
    const std::string directory = ClassObjectDirectory(bikeClass);
    const char* first = kBodyFirst[c][s];
    if (bikeClass == BikeClass::Class250 && s == 0 && d == 2)
    {
        first = "250_moto2lr";
    }
    std::array<const char*, 3> further = kBodyFurther[c];
    if (bikeClass == BikeClass::Class125 && s == 0 && d == 0)
    {
        further[1] = "125_moto5";
    }
    std::vector<ModelLevel> levels = {{directory + first + ".4do", kBodyDistances[d][0]}};
    for (size_t level = 0; level < further.size(); ++level)
    {
        levels.push_back({directory + further[level] + ".4do", kBodyDistances[d][level + 1]});
    }
    return levels;
}

ModelLevel CockpitModel(BikeClass bikeClass, uint32_t slot)
{
    static constexpr std::array<std::array<const char*, kMakeSlots>, 2> kNamed = {{
        {"125_2a.4do", "125a.4do", "125_5a.4do", "125_3a.4do", "125_4a.4do"},
        {"cockpit_neue.4do", nullptr, "250_2c.4do", "250_3a.4do", "250_4a.4do"},
    }};
    constexpr double kCockpitDistance = 50.0;
    const size_t c = ClassIndex(bikeClass);
    const uint32_t s = slot % kMakeSlots;
    const char* named = c < kNamed.size() ? kNamed[c][s] : nullptr;
    if (named != nullptr)
    {
        return {std::string("objekte/bikes/") + named, kCockpitDistance};
    }
    return {"objekte/bikes/" + std::string(MakeName(s)) + "_" +
                (c == 1 ? std::string("250") : std::string("500")) + ".4do",
            kCockpitDistance};
}

const std::array<FigureJoint, kFigureParts>& FigureJoints()
{
    return kJoints;
}

const std::array<FigurePart, 11>& FigureFurtherLevelOrder()
{
    return kFurtherOrder;
}

ModelLevel FigureFirstLevel(FigurePart part, uint32_t detail)
{
    const char* base = kFigureBaseNames[part % kFigureParts];
    switch (detail % kModelDetails)
    {
        case 0:
            return {FigureFile(base, 2), part == kHip || IsHand(part) ? 30.0 : 20.0};
        case 1:
            if (IsHand(part))
            {
                return {FigureFile(base, 2), 10.0};
            }
            return {FigureFile(base, 1), part == kHip ? 10.0 : 5.0};
        default:
            return {FigureFile(base, part == kHelmet ? 0 : IsHand(part) ? 2 : 1), 5.0};
    }
}

std::vector<ModelLevel> FigureFurtherLevels(FigurePart part, uint32_t detail)
{
    const char* base = kFigureFurtherNames[part % kFigureParts];
    const uint32_t d = detail % kModelDetails;
    if (d == 0)
    {
        if (part == kTorso)
        {
            return {{FigureFile(base, 3), 120.0}};
        }
        if (part == kHelmet || IsLeg(part) || IsForearm(part))
        {
            return {{FigureFile(base, 3), 50.0}};
        }
        return {};
    }
    const double mid = d == 1 ? 35.0 : 60.0;
    const double far = d == 1 ? 120.0 : 200.0;
    if (part == kHip)
    {
        return {{FigureFile(base, 2), 10.0}};
    }
    if (part == kHelmet)
    {
        std::vector<ModelLevel> levels;
        if (d == 2)
        {
            levels.push_back({FigureFile(base, 1), 10.0});
        }
        levels.push_back({FigureFile(base, 2), mid});
        levels.push_back({FigureFile(base, 3), far});
        return levels;
    }
    if (IsLeg(part) || IsForearm(part))
    {
        return {{FigureFile(base, 2), 10.0}, {FigureFile(base, 3), mid}};
    }
    if (IsUpperArm(part))
    {
        return {{FigureFile(base, 2), mid}};
    }
    if (part == kTorso)
    {
        return {{FigureFile(base, 2), 10.0}, {FigureFile(base, 3), far}};
    }
    return {};
}

uint32_t RiderNumberBase(BikeClass bikeClass)
{
    static constexpr uint32_t kBases[kBikeClassCount] = {101, 201, 501};
    return kBases[ClassIndex(bikeClass)];
}

std::vector<uint32_t> LiverySetsOfClass(BikeClass bikeClass)
{
    if (bikeClass == BikeClass::Class250)
    {
        return {0, 1, 3, 4, 5, 6, 8, 10, 11, 12, 13, 14, 15, 17, 18, 19};
    }
    std::vector<uint32_t> sets(16);
    for (uint32_t set = 0; set < sets.size(); ++set)
    {
        sets[set] = set;
    }
    return sets;
}

std::vector<NumberedPicture> ClassLiveryPictures(BikeClass bikeClass)
{
    static constexpr const char* kDirectories[kBikeClassCount] = {
        "Texturen/125er/", "Texturen/250er/", "Texturen/500er/"};
    const std::string directory = kDirectories[ClassIndex(bikeClass)];
    const uint32_t base = RiderNumberBase(bikeClass);
    const uint32_t riders = RidersOfClass(bikeClass);
    const std::vector<uint32_t> sets = LiverySetsOfClass(bikeClass);
    std::vector<NumberedPicture> pictures;
    for (uint32_t r = 0; r < riders; ++r)
    {
        pictures.push_back(
            {200 + static_cast<int32_t>(r), directory + "Helme/" + Number3(base + r) + "Helm.bmp"});
    }
    pictures.push_back({230, directory + "Alle/001Visir.bmp"});
    pictures.push_back({231, directory + "Alle/001Sohle.bmp"});
    AddSuitPictures(pictures, directory, base, sets);
    for (uint32_t r = 0; r < riders; ++r)
    {
        const std::string number = Number3(base + r);
        pictures.push_back(
            {540 + 2 * static_cast<int32_t>(r), directory + "Nummern/" + number + "nummerv.bmp"});
        pictures.push_back(
            {541 + 2 * static_cast<int32_t>(r), directory + "Nummern/" + number + "nummers.bmp"});
    }
    static constexpr const char* kCommon[] = {
        "001Auspe.tga",   "001Auspu.bmp", "001Blech.bmp", "001cockp.bmp",
        "001dark.bmp",    "001gabel.bmp", "001reife.bmp", "001schwi.tga",
        "001scheibe.tga", "001lack1.tga", "001lack2.tga", "001lack2.tga",
    };
    for (int32_t part = 0; part < 12; ++part)
    {
        pictures.push_back({600 + part, directory + "Alle/" + kCommon[part]});
    }
    AddWheelPictures(pictures, directory);
    AddPaintPictures(pictures, directory, base, sets);

    pictures.push_back({800, "Texturen/figuren/gesichter/pelmo/zakra.bmp"});
    pictures.push_back({801, "Texturen/figuren/gesichter/pelmo/fiuno1.bmp"});
    static constexpr const char* kMechanic[] = {"arml",  "armr", "beinh", "beinl", "beinr",
                                                "front", "fuss", "rueck", "schul"};
    for (int32_t part = 0; part < 9; ++part)
    {
        pictures.push_back({810 + part, std::string("Texturen/figuren/body/01Mech/01") +
                                            kMechanic[part] + ".bmp"});
    }
    return pictures;
}

std::vector<uint32_t> LiveryTextureList(PaintedNode node, const LiveryNumbers& livery)
{
    const uint32_t r = livery.liveryIndex;
    const uint32_t s = 240 + 15 * livery.liverySet;
    const uint32_t b = 680 + 5 * livery.liverySet;
    const uint32_t w = 630 + 6 * livery.wheelSet;
    const uint32_t n = 540 + 2 * r;
    switch (node)
    {
        case PaintedNode::Helmet:
            return {200 + r, 609, 230};
        case PaintedNode::Hip:
            return {s + 5, s + 7};
        case PaintedNode::Torso:
            return {s + 5, s + 7, s + 8};
        case PaintedNode::Limb:
            return {s};
        case PaintedNode::Thigh:
            return {s + 7, s + 3, s + 2};
        case PaintedNode::Shin:
            return {s + 3, s + 2, s + 6, 231};
        case PaintedNode::RearWheel:
            return {607, w + 1, w, 606, 602, 604, 610};
        case PaintedNode::Body:
            return {608, n + 1, 604, 600, 601, b, b + 3, n, 602, 603, b + 4, b, 610};
        case PaintedNode::FrontWheel:
            return {604, w, w + 2, 605, 606, b + 2, 610};
        case PaintedNode::Cockpit:
        {
            std::vector<uint32_t> list = {b, b, s, s, n};
            for (uint32_t number = 1170; number <= 1179; ++number)
            {
                list.push_back(number);
            }
            list.insert(list.end(), {1160, 1160, 1180, 1182});
            return list;
        }
    }
    return {};
}

const CockpitRecord& CockpitOf(BikeClass bikeClass, uint32_t makeSlot)
{
    return kCockpits[ClassIndex(bikeClass) * kMakeSlots + makeSlot % kMakeSlots];
}
}  // namespace content
