#include "content/EffectTables.h"

#include "content/MakeNames.h"

namespace content
{
namespace
{
std::string Special(std::string_view file)
{
    return "Texturen/spezial/" + std::string(file);
}

std::string Bikes(std::string_view file)
{
    return "Texturen/bikes/" + std::string(file);
}

std::string MakePicture(uint32_t slot, std::string_view part)
{
    return Bikes(std::string(MakeName(slot)) + "_" + std::string(part) + ".bmp");
}

std::array<std::string, kCockpitPictureCount> MakeCockpitPictureNames()
{
    return {
        Bikes("Schraubemittelenkst.bmp"),
        Bikes("Schraubemittelenkst_2.bmp"),
        Bikes("125_tacho.bmp"),
        MakePicture(0, "tacho"),
        MakePicture(1, "tacho"),
        Bikes("125_2_tacho.bmp"),
        Bikes("cockpitd.bmp"),
        MakePicture(2, "tacho"),
        MakePicture(3, "tacho"),
        MakePicture(4, "tacho"),
        MakePicture(0, "gabel"),
        MakePicture(1, "gabel"),
        Bikes("gabelbr._gold.bmp"),
        Bikes("schraubechromb.bmp"),
        MakePicture(2, "gabel"),
        MakePicture(3, "gabel"),
        Bikes("Lochscheibe.bmp"),
        MakePicture(0, "scheibe"),
        Bikes("schraubeteilb.bmp"),
        MakePicture(0, "daempfer"),
        Bikes("Daempferschr.bmp"),
        MakePicture(1, "daempfer"),
        MakePicture(2, "daempfer"),
        Bikes("schraubeteila.bmp"),
        MakePicture(3, "daempfer"),
        MakePicture(0, "tank"),
        MakePicture(1, "tank"),
        MakePicture(2, "tank"),
        Bikes("Behalter.bmp"),
        Bikes("lamps.bmp"),
        Bikes("lamps_on.bmp"),
        MakePicture(0, "lampe"),
        MakePicture(0, "lampe_an"),
        Bikes("lamp_gelb.bmp"),
        Bikes("lamp_gelb_on.bmp"),
        Bikes("six-pack.bmp"),
        Bikes("six-pack_on.bmp"),
        Bikes("lamp_2.bmp"),
        Bikes("lamp_2_on.bmp"),
        Bikes("zeiger.bmp"),
        Bikes("zeiger_weiss.bmp"),
        Bikes("zeiger_gelb.bmp"),
        // The first make's damper screw once more, spelt in capitals.
        Bikes("Falke_Daempfer.bmp"),
    };
}

constexpr std::array<MarshalPart, kMarshalParts> kMarshalPartRows = {{
    {"huefte.4do", kHip},
    {"torso.4do", kTorso},
    {"o-arm_rechts.4do", kRightUpperArm},
    {"u-arm_rechts.4do", kRightForearm},
    {"hand_rechts.4do", kRightHand},
    {"o-arm_links.4do", kLeftUpperArm},
    {"u-arm_links.4do", kLeftForearm},
    {"hand_links.4do", kLeftHand},
    {"kopf.4do", kHelmet},
    {"o_schnk_rechts.4do", kRightThigh},
    {"u_schnk_rechts.4do", kRightShin},
    {"o_schnk_links.4do", kLeftThigh},
    {"u_schnk_links.4do", kLeftShin},
}};
}  // namespace

std::vector<NumberedPicture> SharedRacePictures()
{
    std::vector<NumberedPicture> pictures;
    for (int32_t number = 612; number <= 629; ++number)
    {
        // Profile 2 fills two numbers.
        const int32_t profile = number < 615 ? number - 612 : number - 613;
        pictures.push_back(
            {number, "Texturen/Spezial/00ReifenProf" + std::to_string(profile) + ".bmp"});
    }
    const std::pair<int32_t, std::string_view> kSpecial[] = {
        {1000, "ampelgruen.tga"},   {1001, "ampelrot.tga"},    {1002, "bikeschatten.tga"},
        {1003, "001_zeige.bmp"},    {1011, "abgase.tga"},      {1012, "reifenqualm3.tga"},
        {1013, "Anzeige2.tga"},     {1014, "laempchen.bmp"},   {1015, "test.tga"},
        {1016, "IdealLinie.tga"},   {1017, "Reifenspur.tga"},  {1019, "Rauch.tga"},
        {1020, "001cockpit.bmp"},   {1021, "001lenker.tga"},   {1022, "001stange.bmp"},
        {1023, "001behaelter.bmp"}, {1024, "001winds.tga"},    {1025, "Reifenspur1.tga"},
        {1026, "Reifenspur2.tga"},  {1027, "Reifenspur3.tga"}, {1028, "Reifenspur4.tga"},
        {1030, "Gicht.tga"},        {1040, "001nass1.tga"},    {1041, "001nass2.tga"},
        {1042, "001nass3.tga"},     {1050, "ref1.tga"},        {1051, "ref2.tga"},
        {1052, "ref3.tga"},         {1053, "ref4.tga"},        {1054, "sun.tga"},
    };
    for (const auto& [number, file] : kSpecial)
    {
        pictures.push_back({number, Special(file)});
    }
    for (int32_t digit = 0; digit < 10; ++digit)
    {
        pictures.push_back({1160 + digit, Bikes("digi" + std::to_string(digit) + ".bmp")});
    }
    const std::pair<int32_t, std::string> kCockpit[] = {
        {1170, Bikes("Schraubemittelenkst_2.bmp")},
        {1171, MakePicture(0, "tacho")},
        {1172, MakePicture(0, "gabel")},
        {1173, MakePicture(0, "scheibe")},
        {1174, MakePicture(0, "daempfer")},
        {1175, MakePicture(0, "tank")},
        {1176, Bikes("stossdampfer.bmp")},
        {1177, Bikes("lenksa.bmp")},
        {1178, Bikes("griff.bmp")},
        {1179, Bikes("001winds.tga")},
        {1180, MakePicture(0, "lampe")},
        {1181, MakePicture(0, "lampe_an")},
        {1182, Bikes("zeiger_gelb.bmp")},
        {kMarshalFlagTexture, Special("Fahne_sw.bmp")},
    };
    for (const auto& [number, name] : kCockpit)
    {
        pictures.push_back({number, name});
    }
    return pictures;
}

const std::array<std::string, kCockpitPictureCount>& CockpitPictureNames()
{
    static const std::array<std::string, kCockpitPictureCount> names = MakeCockpitPictureNames();
    return names;
}

const std::array<MarshalPart, kMarshalParts>& MarshalParts()
{
    return kMarshalPartRows;
}

std::string MarshalPartName(const MarshalPart& part)
{
    return "objekte/mechaniker/" + std::string(part.file);
}

std::vector<uint32_t> MarshalTextureList(FigurePart part, uint32_t body)
{
    switch (part)
    {
        case kHelmet:
            return {body == 0 ? 800u : 801u};
        case kHip:
            return {815, 817};
        case kTorso:
            return {815, 817, 818};
        case kLeftThigh:
        case kRightThigh:
            return {817, 813, 812};
        case kLeftShin:
        case kRightShin:
            return {813, 812, 816, 231};
        default:
            return {810};
    }
}
}  // namespace content
