// The loader's tables where the circuits, weathers, classes and details differ from the rule.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "content/CircuitTable.h"
#include "content/EffectTables.h"
#include "content/FieldTables.h"

namespace
{
using namespace content;

const CircuitRow& Circuit(const char* key)
{
    const CircuitRow* row = FindCircuit(key);
    EXPECT_NE(row, nullptr) << key;
    return *row;
}

TEST(CircuitTableTest, KeysAreExactAndAllEighteenDiffer)
{
    EXPECT_EQ(Circuits().size(), 18u);
    EXPECT_EQ(FindCircuit("pi"), nullptr);
    EXPECT_EQ(FindCircuit("ShahAlam "), nullptr);
    for (const CircuitRow& row : Circuits())
    {
        EXPECT_EQ(FindCircuit(row.key), &row);
    }
}

TEST(CircuitTableTest, NamesOfTheExceptions)
{
    const CircuitRow& pi = Circuit("PI");
    EXPECT_EQ(SkyModelName(pi, Weather::Fine), "objekte/PI/himmel_s.4do");
    EXPECT_EQ(TrackAlphaModelName(pi, Weather::Fine), "objekte/PI/PI_s_alpha.4do");
    EXPECT_EQ(TrackTextureSetName(pi, Weather::Fine), "texturen/strecken/PI_S.tex");
    EXPECT_EQ(CollisionModelName(pi), "objekte/kolision/PI_collision.4co");
    const CircuitRow& nuerburgring = Circuit("Nuerburgring");
    EXPECT_EQ(TrackTextureSetName(nuerburgring, Weather::Dull),
              "texturen/strecken/Nuerburgring_d.tex");
    EXPECT_EQ(TrackModelName(nuerburgring, Weather::Dull), "objekte/nuerburgring/nuerburg_d.4do");
    const CircuitRow& imola = Circuit("Imola");
    EXPECT_EQ(TrackModelName(imola, Weather::Fine), "objekte/imola/imola_S.4do");
    EXPECT_EQ(TrackAlphaModelName(imola, Weather::Fine), "objekte/imola/imola_S_Alpha.4do");
    EXPECT_EQ(TrackModelName(imola, Weather::Dull), "objekte/imola/imola_d.4do");
    EXPECT_EQ(TrackAlphaModelName(Circuit("Drenthe"), Weather::Rain),
              "objekte/drenthe/assen_r_alpha.4do");
    EXPECT_EQ(TrackTextureSetName(Circuit("A1Ring"), Weather::Fine),
              "texturen/strecken/A1Ring_S.tex");
    EXPECT_EQ(TrackModelName(Circuit("Netz1"), Weather::Fine), "objekte/netz1/netzstrecke_S.4do");
    EXPECT_EQ(IdealLineModelName(Circuit("ShahAlam"), BikeClass::Class250),
              "objekte/ShahAlam/IdealShahAlam250.4do");
}

TEST(CircuitTableTest, DustSetsFillBothGroups)
{
    const CircuitRow& catalunya = Circuit("Catalunya");
    EXPECT_EQ(DustTextureNames(catalunya.dustSetA)[0], "Texturen/spezial/011sandstaub.tga");
    EXPECT_EQ(DustTextureNames(catalunya.dustSetB)[0], "Texturen/spezial/010sandstaub.tga");
    EXPECT_EQ(DustTextureNames(Circuit("PI").dustSetA)[1], "Texturen/spezial/014Kiesspur.tga");
}

TEST(CircuitTableTest, FogAndSun)
{
    const CircuitRow& pi = Circuit("PI");
    EXPECT_EQ(FogOf(pi, Weather::Fine)[0].farDistance, 50000.0f);
    EXPECT_EQ(FogOf(pi, Weather::Fine)[2].farDistance, 10000.0f);
    EXPECT_EQ(FogOf(pi, Weather::Dull)[1].nearDistance, -1000.0f);
    EXPECT_EQ(FogOf(Circuit("Jerez"), Weather::Fine)[1].farDistance, 265000.0f);
    for (const CircuitRow& row : Circuits())
    {
        EXPECT_FALSE(SunOffsetOf(row, Weather::Dull, false).has_value());
        EXPECT_FALSE(SunOffsetOf(row, Weather::Rain, true).has_value());
    }
    EXPECT_EQ(SunOffsetOf(Circuit("Netz3"), Weather::Fine, false)->y, 25274.0f);
    EXPECT_EQ(SunOffsetOf(Circuit("Bruenn"), Weather::Fine, true)->x, 40000.0f);
    EXPECT_EQ(SunOffsetOf(Circuit("Bruenn"), Weather::Fine, false)->y, 18274.0f);
}

TEST(CircuitTableTest, SurfaceTuningByCircuitAndWeather)
{
    const SurfaceTuning rainFrance = MakeSurfaceTuning(Circuit("Frankreich"), Weather::Rain, 2.0f);
    EXPECT_EQ(rainFrance.class6, (std::array<float, 3>{1.5f, 0.8f, -0.0003f}));
    const SurfaceTuning rain = MakeSurfaceTuning(Circuit("Mugello"), Weather::Rain, 2.0f);
    EXPECT_EQ(rain.class6, (std::array<float, 3>{1.23f, 0.8f, 0.00003f}));
    EXPECT_EQ(rain.classOther[0], 1.0f + 0.18f * 2.0f);
    EXPECT_EQ(rain.class2Fast[0], 10.0f);
    EXPECT_EQ(MakeSurfaceTuning(Circuit("Mugello"), Weather::Fine, 0.0f).class2Fast[0], 13.0f);
    EXPECT_EQ(ResponseTable()[5].gapSpread, 10.0f);
    EXPECT_EQ(ResponseTable()[11].amplitudeSpread, 0.015f);
}

TEST(CircuitTableTest, ConesOfTheThreeCircuits)
{
    EXPECT_EQ(Circuit("Brasilien").cones.size(), 11u);
    EXPECT_EQ(Circuit("Catalunya").cones.size(), 17u);
    EXPECT_EQ(Circuit("Drenthe").cones.size(), 20u);
    EXPECT_EQ(Circuit("Drenthe").cones[19].z, -131.013f);
    EXPECT_EQ(ConeModelName(Circuit("Catalunya")), "objekte/catalunya/hut.4do");
    EXPECT_TRUE(Circuit("ShahAlam").cones.empty());
}

std::vector<std::string> Names(const std::vector<ModelLevel>& levels)
{
    std::vector<std::string> names;
    for (const ModelLevel& level : levels)
    {
        names.push_back(level.name);
    }
    return names;
}

TEST(FieldTablesTest, BikeLevelsOfTheExceptions)
{
    const std::vector<ModelLevel> body = BodyLevels(BikeClass::Class125, 0, 0);
    EXPECT_EQ(Names(body),
              (std::vector<std::string>{
                  "objekte/bikes/125er/125_moto2m.4do", "objekte/bikes/125er/125_moto3.4do",
                  "objekte/bikes/125er/125_moto5.4do", "objekte/bikes/125er/125_moto5.4do"}));
    EXPECT_EQ(body[3].distance, 100.0);
    EXPECT_EQ(BodyLevels(BikeClass::Class250, 0, 2)[0].name, "objekte/bikes/250er/250_moto2lr.4do");
    EXPECT_EQ(BodyLevels(BikeClass::Class500, 2, 1)[1].name, "objekte/bikes/500er/501_moto3.4do");
    EXPECT_EQ(RearWheelLevels(BikeClass::Class500, 1, 2)[1].distance, 15.0);
    EXPECT_EQ(RearWheelLevels(BikeClass::Class500, 3, 2)[1].distance, 16.0);
    EXPECT_EQ(FrontWheelLevels(BikeClass::Class500, 3, 2)[1].distance, 15.0);
    EXPECT_EQ(RearWheelLevels(BikeClass::Class500, 0, 0)[0].name,
              "objekte/bikes/500er/501_hrad2.4do");
    EXPECT_EQ(RearWheelLevels(BikeClass::Class125, 0, 0)[1].distance, 85.0);
    EXPECT_EQ(FrontWheelLevels(BikeClass::Class125, 0, 1)[2].distance, 60.0);
    EXPECT_EQ(CockpitModel(BikeClass::Class125, 2).name, "objekte/bikes/125_5a.4do");
    EXPECT_EQ(CockpitModel(BikeClass::Class250, 0).name, "objekte/bikes/cockpit_neue.4do");
}

// Detail 2 reads 33 figure files, detail 0 no file of level 1 and no helm0.
TEST(FieldTablesTest, FigureFilesByDetail)
{
    const auto files = [](uint32_t detail)
    {
        std::vector<std::string> names;
        for (const FigureJoint& joint : FigureJoints())
        {
            names.push_back(FigureFirstLevel(joint.part, detail).name);
            for (const std::string& name : Names(FigureFurtherLevels(joint.part, detail)))
            {
                names.push_back(name);
            }
        }
        return names;
    };
    EXPECT_EQ(files(2).size(), 33u);
    const std::vector<std::string> coarse = files(0);
    EXPECT_EQ(std::count(coarse.begin(), coarse.end(), "objekte/fahrer/helm0.4do"), 0);
    EXPECT_EQ(std::count(coarse.begin(), coarse.end(), "objekte/fahrer/u-Arm_links3.4do"), 1);
    EXPECT_EQ(FigureFirstLevel(kHip, 1).distance, 10.0);
    EXPECT_EQ(FigureFirstLevel(kRightHand, 1).name, "objekte/fahrer/hand_rechts2.4do");
}

TEST(FieldTablesTest, LiveryPicturesOfTheClass)
{
    const std::vector<NumberedPicture> pictures = ClassLiveryPictures(BikeClass::Class250);
    const auto named = [&](int32_t number)
    {
        const auto found =
            std::find_if(pictures.begin(), pictures.end(),
                         [&](const NumberedPicture& p) { return p.number == number; });
        return found != pictures.end() ? found->name : std::string();
    };
    EXPECT_EQ(named(200), "Texturen/250er/Helme/201Helm.bmp");
    EXPECT_EQ(named(225), "Texturen/250er/Helme/226Helm.bmp");
    EXPECT_EQ(named(240 + 15 * 19 + 8), "Texturen/250er/220Kombi/220schul.bmp");
    EXPECT_EQ(named(240 + 15 * 2), "");  // class 250 has no set 2
    EXPECT_EQ(named(611), named(610));
    EXPECT_EQ(named(630), "Texturen/250er/Alle/001felge.bmp");
    EXPECT_EQ(named(677), "Texturen/250er/Alle/008animrad3.tga");
    EXPECT_EQ(named(818), "Texturen/figuren/body/01Mech/01schul.bmp");
}

TEST(EffectTablesTest, SharedPicturesAndCockpit)
{
    const std::vector<NumberedPicture> pictures = SharedRacePictures();
    const auto named = [&](int32_t number)
    {
        return std::find_if(pictures.begin(), pictures.end(),
                            [&](const NumberedPicture& p) { return p.number == number; })
            ->name;
    };
    EXPECT_EQ(named(614), named(615));
    EXPECT_EQ(named(616), "Texturen/Spezial/00ReifenProf3.bmp");
    EXPECT_EQ(named(629), "Texturen/Spezial/00ReifenProf16.bmp");
    EXPECT_EQ(named(1017), "Texturen/spezial/Reifenspur.tga");
    EXPECT_EQ(named(1028), "Texturen/spezial/Reifenspur4.tga");
    EXPECT_EQ(named(1183), "Texturen/spezial/Fahne_sw.bmp");
    EXPECT_EQ(CockpitPictureNames()[41], "Texturen/bikes/zeiger_gelb.bmp");
    // Every cockpit record names pictures that exist.
    for (uint32_t slot = 0; slot < kMakeSlots; ++slot)
    {
        for (const BikeClass bikeClass :
             {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
        {
            for (const uint32_t picture : CockpitOf(bikeClass, slot).pictures)
            {
                EXPECT_LT(picture, kCockpitPictureCount);
            }
        }
    }
}

TEST(FieldTablesTest, TextureListsOfALivery)
{
    const LiveryNumbers livery{4, 3, 2};
    EXPECT_EQ(LiveryTextureList(PaintedNode::Helmet, livery),
              (std::vector<uint32_t>{204, 609, 230}));
    EXPECT_EQ(LiveryTextureList(PaintedNode::Shin, livery),
              (std::vector<uint32_t>{288, 287, 291, 231}));
    EXPECT_EQ(LiveryTextureList(PaintedNode::FrontWheel, livery),
              (std::vector<uint32_t>{604, 642, 644, 605, 606, 697, 610}));
    EXPECT_EQ(LiveryTextureList(PaintedNode::Cockpit, livery).size(), 19u);
}
}  // namespace
