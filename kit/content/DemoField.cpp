// The field of the demo installation: each class's machines at every model detail (wheels,
// bodies, cockpits), the rider figure's parts at every detail, the marshals' parts and the
// classes' livery pictures.

#include <string>

#include "content/EffectTables.h"
#include "content/FieldTables.h"
#include "kit/content/ContentMeshes.h"
#include "kit/content/ContentPictures.h"
#include "kit/content/ContentWriter.h"
#include "kit/content/DemoContent.h"

namespace kit
{
namespace
{
// Texture entries the loader writes into each node's list.
constexpr uint32_t kWheelSlots = 7;
constexpr uint32_t kBodySlots = 13;
constexpr uint32_t kCockpitSlots = 19;

// The level digit of a model file: finer levels get rounder wheels.
int LevelDigit(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 ? name[dot - 1] - '0' : 1;
}

Mesh WheelMesh(const std::string& name, bool rear)
{
    ShapeBuilder wheel(std::vector<uint32_t>(kWheelSlots, 0));
    const int sides = LevelDigit(name) <= 1 ? 12 : LevelDigit(name) == 2 ? 8 : 6;
    const MeshPoint centre = {0.0f, 0.3f, rear ? -0.66f : 0.68f};
    wheel.Wheel(centre, 0.3f, rear ? 0.16f : 0.12f, sides, {0, 3, 4, 5, 6}, {1, 2});
    return wheel.Finish();
}

// A fairing, a tank and seat, a tail; the coarsest levels one box.
Mesh BodyMesh(const std::string& name, BikeClass bikeClass)
{
    const float grow = bikeClass == BikeClass::Class500 ? 1.08f : 1.0f;
    ShapeBuilder body(std::vector<uint32_t>(kBodySlots, 0));
    if (LevelDigit(name) >= 4)
    {
        body.Box({-0.16f, 0.3f, -0.8f}, {0.16f, 0.9f * grow, 0.75f}, {5, 5, 0, 0, 1, 2});
        return body.Finish();
    }
    body.Box({-0.17f * grow, 0.32f, -0.25f}, {0.17f * grow, 0.8f * grow, 0.78f},
             {5, 7, 6, 6, 8, 9});
    body.Box({-0.15f, 0.75f * grow, -0.55f}, {0.15f, 0.95f * grow, 0.15f}, {10, 11, 0, 0, 12, 3});
    body.Box({-0.11f, 0.62f, -0.85f}, {0.11f, 0.86f * grow, -0.5f}, {1, 4, 2, 2, 11, 3});
    return body.Finish();
}

Mesh CockpitMesh()
{
    ShapeBuilder cockpit(std::vector<uint32_t>(kCockpitSlots, 0));
    cockpit.Box({-0.12f, 0.84f, 0.55f}, {0.12f, 0.95f, 0.72f}, {0, 5, 2, 3, 15, 17});
    return cockpit.Finish();
}

// The bike's collision hull: a box of 117 points, 9 rings of 13 along its length.
Mesh CollisionHull()
{
    Mesh hull = PaintedBox({-0.3f, 0.0f, -1.0f}, {0.3f, 1.1f, 1.0f}, 1);
    while (hull.vertices.size() < 117)
    {
        const auto i = static_cast<float>(hull.vertices.size() - 8);
        hull.vertices.push_back(
            {-0.3f + 0.6f * (static_cast<float>(static_cast<int>(i) % 13) / 12.0f), 0.55f,
             -1.0f + 2.0f * (static_cast<float>(static_cast<int>(i) / 13) / 8.0f)});
    }
    return hull;
}

// A part of a figure hanging from its joint: slots as many as the loader paints.
Mesh FigurePartMesh(content::FigurePart part, uint32_t slots)
{
    using namespace content;
    switch (part)
    {
        case kHip:
            return PaintedBox({-0.15f, -0.06f, -0.12f}, {0.15f, 0.12f, 0.1f}, slots);
        case kTorso:
            return PaintedBox({-0.17f, 0.0f, -0.1f}, {0.17f, 0.5f, 0.13f}, slots);
        case kHelmet:
            return PaintedBox({-0.13f, -0.04f, -0.13f}, {0.13f, 0.22f, 0.15f}, slots);
        case kLeftThigh:
        case kRightThigh:
            return PaintedBox({-0.07f, -0.36f, -0.06f}, {0.07f, 0.02f, 0.13f}, slots);
        case kLeftShin:
        case kRightShin:
            return PaintedBox({-0.06f, -0.42f, -0.06f}, {0.06f, 0.0f, 0.08f}, slots);
        case kLeftHand:
        case kRightHand:
            return PaintedBox({-0.04f, -0.1f, -0.04f}, {0.04f, 0.0f, 0.05f}, slots);
        default:  // upper arms and forearms
            return PaintedBox({-0.05f, -0.27f, -0.05f}, {0.05f, 0.0f, 0.05f}, slots);
    }
}

uint32_t RiderPartSlots(content::FigurePart part)
{
    using namespace content;
    switch (part)
    {
        case kHip:
            return 2;
        case kTorso:
        case kHelmet:
        case kLeftThigh:
        case kRightThigh:
            return 3;
        case kLeftShin:
        case kRightShin:
            return 4;
        default:
            return 1;
    }
}

void AddMachines(ContentWriter& writer, BikeClass bikeClass)
{
    for (uint32_t detail = 0; detail < content::kModelDetails; ++detail)
    {
        for (uint32_t slot = 0; slot < content::kMakeSlots; ++slot)
        {
            for (const content::ModelLevel& level :
                 content::RearWheelLevels(bikeClass, slot, detail))
            {
                writer.Object(level.name, WheelMesh(level.name, true));
            }
            for (const content::ModelLevel& level :
                 content::FrontWheelLevels(bikeClass, slot, detail))
            {
                writer.Object(level.name, WheelMesh(level.name, false));
            }
            for (const content::ModelLevel& level : content::BodyLevels(bikeClass, slot, detail))
            {
                writer.Object(level.name, BodyMesh(level.name, bikeClass));
            }
        }
    }
    for (uint32_t slot = 0; slot < content::kMakeSlots; ++slot)
    {
        writer.Object(content::CockpitModel(bikeClass, slot).name, CockpitMesh());
    }
}

void AddFigures(ContentWriter& writer)
{
    for (uint32_t detail = 0; detail < content::kModelDetails; ++detail)
    {
        for (const content::FigureJoint& joint : content::FigureJoints())
        {
            const Mesh mesh = FigurePartMesh(joint.part, RiderPartSlots(joint.part));
            writer.Object(content::FigureFirstLevel(joint.part, detail).name, mesh);
            for (const content::ModelLevel& level :
                 content::FigureFurtherLevels(joint.part, detail))
            {
                writer.Object(level.name, mesh);
            }
        }
    }
    for (const content::MarshalPart& part : content::MarshalParts())
    {
        writer.Object(
            content::MarshalPartName(part),
            FigurePartMesh(part.part,
                           part.part == content::kHelmet ? 1 : RiderPartSlots(part.part)));
    }
}

// Every picture of a folder shares its colour: a suit, a machine's paint, a wheel set.
RgbaPicture LiveryPicture(const std::string& name)
{
    const size_t slash = name.rfind('/');
    const std::string folder = name.substr(0, slash);
    const std::string file = name.substr(slash + 1);
    const bool shared = folder.ends_with("Alle") || folder.ends_with("Helme") ||
                        folder.ends_with("Nummern") || folder.find("figuren") != std::string::npos;
    const uint32_t colour = ColourOfName(shared ? file : folder);
    if (folder.ends_with("Nummern"))
    {
        return MakePicture(16, 16, 0xF0F0F0, colour, PicturePattern::Stripes);
    }
    return MakePicture(16, 16, colour, ColourOfName(file), PicturePattern::Plain);
}
}  // namespace

bool AddDemoField(ContentWriter& writer)
{
    writer.Object(content::kBikeCollisionBody, CollisionHull());
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        AddMachines(writer, bikeClass);
        for (const content::NumberedPicture& picture : content::ClassLiveryPictures(bikeClass))
        {
            writer.Picture(picture.name, LiveryPicture(picture.name));
        }
    }
    AddFigures(writer);
    return writer.Ok();
}
}  // namespace kit
