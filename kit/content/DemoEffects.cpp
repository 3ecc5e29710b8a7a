// What every race of the demo installation loads besides circuit and field: the machine's
// shadow, needle and spray, the smoke cloud, the test collision bodies, the shared race
// pictures and the cockpit pictures in the sizes the cockpit display draws them at.

#include <array>
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
struct Size
{
    int width;
    int height;
};

// The machine's shadow: the race moves its left corners (vertices 0 and 2) and its right ones
// (4 and 5) sideways as the rider leans, so it keeps that vertex order; 1 and 3 on the centre
// line carry no corner.
Mesh ShadowQuad(float halfX, float z0, float z1, float y, uint32_t texture)
{
    ShapeBuilder shadow({texture});
    const std::array<MeshPoint, 6> vertices = {{{-halfX, y, z1},
                                                {0.0f, y, z1},
                                                {-halfX, y, z0},
                                                {0.0f, y, z0},
                                                {halfX, y, z1},
                                                {halfX, y, z0}}};
    shadow.QuadOnVertices(vertices, {0, 4, 5, 2}, {0, y + 5, 0}, 0);
    return shadow.Finish();
}

// A quad facing back along -z (the smoke faces the camera by its flags).
Mesh UprightQuad(float half, float y, float z, uint32_t texture)
{
    ShapeBuilder quad({texture});
    quad.Quad({-half, y + half, z}, {half, y + half, z}, {half, y - half, z}, {-half, y - half, z},
              {0, y, z - 5}, 0, 1.0f, 1.0f, false);
    return quad.Finish();
}

// The smoke cloud as the race's particles reshape it: its vertices bottom left, top right,
// bottom right, top left.
Mesh SmokeQuad(float half, uint32_t texture)
{
    ShapeBuilder quad({texture});
    quad.QuadOnVertices({{{-half, 0.0f, 0.0f},
                          {half, 2 * half, 0.0f},
                          {half, 0.0f, 0.0f},
                          {-half, 2 * half, 0.0f}}},
                        {3, 1, 2, 0}, {0.0f, half, -5.0f}, 0);
    return quad.Finish();
}

Mesh TestBody(float half)
{
    return PaintedBox({-half, 0.0f, -half}, {half, 2 * half, half}, 1);
}

// The cockpit display's sizes by texture number, and of the pictures by index.
Size SharedPictureSize(int32_t number)
{
    switch (number)
    {
        case 1171:
            return {128, 128};
        case 1172:
            return {32, 16};
        case 1173:
        case 1175:
            return {32, 32};
        case 1182:
            return {4, 4};
        default:
            return {16, 16};
    }
}

Size CockpitPictureSize(size_t index)
{
    if (index >= 2 && index <= 9)
    {
        return {128, 128};
    }
    if (index >= 10 && index <= 15)
    {
        return {32, 16};
    }
    if ((index >= 16 && index <= 18) || (index >= 25 && index <= 28))
    {
        return {32, 32};
    }
    if (index >= 39 && index <= 41)
    {
        return {4, 4};
    }
    return {16, 16};
}

RgbaPicture SharedPicture(const std::string& name, Size size)
{
    const uint32_t colour = ColourOfName(name);
    const bool soft = name.find("Rauch") != std::string::npos ||
                      name.find("qualm") != std::string::npos ||
                      name.find("schatten") != std::string::npos;
    if (name.find("Gicht") != std::string::npos || name.find("nass") != std::string::npos)
    {
        return MakePicture(size.width, size.height, 0xE0E8F0, 0xFFFFFF, PicturePattern::Speckle,
                           50);
    }
    if (name.find("schatten") != std::string::npos)
    {
        return MakePicture(size.width, size.height, 0x101010, 0x101010, PicturePattern::Plain, 140);
    }
    return MakePicture(size.width, size.height, colour, 0x202020, PicturePattern::Plain,
                       soft ? 110 : 255);
}

// The marshal's seven flags, in their slot order: white, yellow, green, blue, black, black
// and white, red.
void AddMarshalFlagPictures(ContentWriter& writer)
{
    struct Flag
    {
        const char* name;
        uint32_t colour;
        uint32_t accent;
        PicturePattern pattern;
    };
    static constexpr Flag kFlags[] = {
        {"texturen/spezial/Fahne_ws.bmp", 0xF4F4F4, 0xF4F4F4, PicturePattern::Plain},
        {"texturen/spezial/Fahne_gb.bmp", 0xF0D020, 0xF0D020, PicturePattern::Plain},
        {"texturen/spezial/Fahne_gr.bmp", 0x20A040, 0x20A040, PicturePattern::Plain},
        {"texturen/spezial/Fahne_bl.bmp", 0x2040C0, 0xF0D020, PicturePattern::Stripes},
        {"texturen/spezial/Fahne_sw.bmp", 0x101010, 0x101010, PicturePattern::Plain},
        {"texturen/spezial/Fahne_sz.bmp", 0x101010, 0xF4F4F4, PicturePattern::Stripes},
        {"texturen/spezial/Fahne_10.bmp", 0xC02020, 0xF0D020, PicturePattern::Stripes},
    };
    for (const Flag& flag : kFlags)
    {
        writer.Picture(flag.name, MakePicture(64, 64, flag.colour, flag.accent, flag.pattern));
    }
}

}  // namespace

bool AddDemoEffects(ContentWriter& writer)
{
    AddMarshalFlagPictures(writer);
    writer.Object(content::kShadowModel, ShadowQuad(0.35f, -0.95f, 0.95f, 0.01f, 1002));
    writer.Object(content::kNeedleModel, UprightQuad(0.01f, 0.0f, 0.0f, 1182));
    writer.Object(content::kFrontSprayModel, UprightQuad(0.3f, 0.3f, 0.9f, 1030));
    writer.Object(content::kRearSprayModel, UprightQuad(0.4f, 0.35f, -1.0f, 1030));
    writer.Object(content::kSecondRearSprayModel, UprightQuad(0.5f, 0.45f, -1.3f, 1030));
    writer.Object(content::kSmokeCloudModel, SmokeQuad(0.8f, 1019));
    writer.Object(content::kTestBody, TestBody(0.5f));
    writer.Object(content::kTestBody2, TestBody(0.4f));
    for (const content::NumberedPicture& picture : content::SharedRacePictures())
    {
        writer.Picture(picture.name,
                       SharedPicture(picture.name, SharedPictureSize(picture.number)));
    }
    const auto& names = content::CockpitPictureNames();
    for (size_t index = 0; index < names.size(); ++index)
    {
        writer.Picture(names[index], SharedPicture(names[index], CockpitPictureSize(index)));
    }
    return writer.Ok();
}

bool AddDemoContent(DemoArchives& archives, std::string& error)
{
    ContentWriter writer(archives, error);
    return AddDemoScenery(writer, error) && AddDemoField(writer) && AddDemoEffects(writer);
}
}  // namespace kit
