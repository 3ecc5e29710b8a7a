// Every demo circuit's scenery in its three weathers: the sky, the scenery (grass, stands), the
// track laid on the ground model the simulation uses, the start line, the track pictures, the
// classes' ideal lines, the cones where the circuit has them, and the dust sets; the start
// lights. The archives keep one copy of what circuits and weathers share.

#include <cmath>
#include <optional>
#include <string>

#include "content/CircuitTable.h"
#include "kit/content/ContentMeshes.h"
#include "kit/content/ContentPictures.h"
#include "kit/content/ContentWriter.h"
#include "kit/content/DemoContent.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TextureContainerWriter.h"
#include "kit/race/CircuitGenerator.h"
#include "kit/race/DemoCircuits.h"
#include "kit/race/DemoRace.h"

namespace kit
{
namespace
{
constexpr float kSkyRadius = 2400.0f;
constexpr float kSkyHeight = 1600.0f;
constexpr float kGrassHalfSize = 2400.0f;

struct WeatherLook
{
    uint32_t asphalt;
    uint32_t grass;
    uint32_t skyTop;
    uint32_t skyHorizon;
};
constexpr WeatherLook kLooks[kWeatherCount] = {
    {0x6E6E72, 0x4C8C3A, 0x3C78D8, 0xC8DCF0},
    {0x606064, 0x4A7440, 0x7C8088, 0xB8BCC0},
    {0x44464C, 0x3C6038, 0x505460, 0x8C9098},
};

// The circuit's own pictures, one container per weather.
std::vector<uint8_t> TrackPictures(Weather weather)
{
    const WeatherLook& look = kLooks[static_cast<size_t>(weather)];
    TextureContainerWriter container;
    const struct
    {
        uint32_t number;
        RgbaPicture picture;
    } kPictures[] = {
        {kAsphaltTexture, MakePicture(32, 32, look.asphalt, 0x909090, PicturePattern::Speckle)},
        {kGrassTexture, MakePicture(32, 32, look.grass, 0x6CA050, PicturePattern::Speckle)},
        {kSkyTexture, MakePicture(16, 64, look.skyTop, look.skyHorizon, PicturePattern::Gradient)},
        {kKerbTexture, MakePicture(16, 16, 0xD02020, 0xF0F0F0, PicturePattern::Stripes)},
        {kStandTexture, MakePicture(32, 32, 0x8890A0, 0x3050A0, PicturePattern::Stripes)},
        {kStartLineTexture, MakePicture(16, 16, 0xF0F0F0, 0x202020, PicturePattern::Stripes)},
        {kWallTexture, MakePicture(16, 16, 0xC8B898, 0x806848, PicturePattern::Plain)},
    };
    for (const auto& entry : kPictures)
    {
        container.Add(ContainedPicture::Bmp, entry.number, WriteBmp24(entry.picture));
    }
    return container.Bytes();
}

Mesh SkyMesh()
{
    ShapeBuilder sky({kSkyTexture});
    const float r = kSkyRadius;
    const float h = kSkyHeight;
    const float low = -50.0f;
    // Tall enough that no view of the race sees over the walls.
    const MeshPoint centre = {0.0f, 0.0f, 0.0f};
    const MeshPoint corners[4] = {{-r, 0, -r}, {r, 0, -r}, {r, 0, r}, {-r, 0, r}};
    for (int side = 0; side < 4; ++side)
    {
        // Each wall reaches a little past the corners, so that no seam shows between them.
        const MeshPoint& from = corners[side];
        const MeshPoint& to = corners[(side + 1) % 4];
        const MeshPoint a = {from.x + (from.x - to.x) * 0.02f, 0.0f,
                             from.z + (from.z - to.z) * 0.02f};
        const MeshPoint b = {to.x + (to.x - from.x) * 0.02f, 0.0f, to.z + (to.z - from.z) * 0.02f};
        sky.Quad({a.x, h, a.z}, {b.x, h, b.z}, {b.x, low, b.z}, {a.x, low, a.z}, centre, 0, 4.0f,
                 1.0f, false);
    }
    return sky.Finish();
}

// Grass to the horizon.
Mesh SceneryMesh()
{
    ShapeBuilder scenery({kGrassTexture});
    const float g = kGrassHalfSize;
    const float y = -0.05f;
    scenery.Quad({-g, y, g}, {g, y, g}, {g, y, -g}, {-g, y, -g}, {0, 100, 0}, 0, 240.0f, 240.0f,
                 false);
    return scenery.Finish();
}

// The ground model's triangles as drawn polygons: asphalt on the track, grass beside it.
Mesh TrackMesh(const std::vector<TrackTriangle>& ground)
{
    ShapeBuilder track({kAsphaltTexture, kGrassTexture});
    for (const TrackTriangle& triangle : ground)
    {
        const bool asphalt = triangle.surface == kTrackSurface;
        const float scale = asphalt ? 1.0f / 6.0f : 1.0f / 10.0f;
        MeshPoint corners[3];
        float uv[6];
        for (int corner = 0; corner < 3; ++corner)
        {
            const float x = triangle.corners[2 * corner];
            const float z = triangle.corners[2 * corner + 1];
            const auto& p = triangle.plane;
            corners[corner] = {x, -(p[0] * x + p[2] * z + p[3]) / p[1], z};
            uv[2 * corner] = x * scale;
            uv[2 * corner + 1] = z * scale;
        }
        track.GroundTriangle(corners, uv, asphalt ? 0 : 1);
    }
    return track.Finish();
}

// The transparent parts and what stands beside the track: the start line across the track at
// node 0, stands along the outside of the start straight.
Mesh TracksideMesh(const RacingLine& line, const CircuitShape& shape)
{
    ShapeBuilder trackside({kStartLineTexture, kStandTexture, kWallTexture});
    const RacingLineNode& node = line.nodes[0];
    const float across = shape.trackHalfWidthMetres;
    const float rx = std::cos(node.heading);
    const float rz = -std::sin(node.heading);
    const float fx = std::sin(node.heading) * 0.6f;
    const float fz = std::cos(node.heading) * 0.6f;
    const float y = 0.02f;
    trackside.Quad({node.x - rx * across + fx, y, node.z - rz * across + fz},
                   {node.x + rx * across + fx, y, node.z + rz * across + fz},
                   {node.x + rx * across - fx, y, node.z + rz * across - fz},
                   {node.x - rx * across - fx, y, node.z - rz * across - fz},
                   {node.x, 10.0f, node.z}, 0, 8.0f, 1.0f, false);
    const float outside = shape.trackHalfWidthMetres + shape.runOffMetres + 4.0f;
    const int count = line.pitLaneFirstNode;
    for (int stand = -3; stand <= 3; ++stand)
    {
        const RacingLineNode& at = line.nodes[(count + stand * 8) % count];
        const float cx = at.x - std::cos(at.heading) * outside;
        const float cz = at.z + std::sin(at.heading) * outside;
        const float height = stand % 2 == 0 ? 9.0f : 6.0f;
        trackside.Box({cx - 4.0f, 0.0f, cz - 17.0f}, {cx + 4.0f, height, cz + 17.0f},
                      {2, 2, 1, 1, 2, 2}, 3.0f);
    }
    return trackside.Finish();
}

// A band along the main line, shown with the ideal-line picture.
Mesh IdealLineMesh(const RacingLine& line)
{
    ShapeBuilder ideal({1016});
    const uint16_t count = line.pitLaneFirstNode;
    const float half = 0.3f;
    const float y = 0.03f;
    for (uint16_t i = 0; i < count; ++i)
    {
        const RacingLineNode& a = line.nodes[i];
        const RacingLineNode& b = line.nodes[a.next];
        const float ax = std::cos(a.heading) * half;
        const float az = -std::sin(a.heading) * half;
        const float bx = std::cos(b.heading) * half;
        const float bz = -std::sin(b.heading) * half;
        ideal.Quad({b.x - bx, y, b.z - bz}, {b.x + bx, y, b.z + bz}, {a.x + ax, y, a.z + az},
                   {a.x - ax, y, a.z - az}, {a.x, 10.0f, a.z}, 0, 1.0f, 1.0f, false);
    }
    return ideal.Finish();
}

// A cone beside the track, shown and hit as a small box.
Mesh ConeMesh()
{
    ShapeBuilder cone({kKerbTexture});
    cone.Box({-0.15f, 0.0f, -0.15f}, {0.15f, 0.4f, 0.15f}, {0});
    return cone.Finish();
}

Mesh StartLightMesh(uint32_t texture)
{
    ShapeBuilder light({texture});
    light.Box({-0.25f, -0.25f, -0.1f}, {0.25f, 0.25f, 0.1f}, {0});
    return light.Finish();
}

// Stones thrown up by a wheel: a scatter of them, clear between, each variant its own scatter.
RgbaPicture StonesPicture(uint32_t colour, size_t variant)
{
    RgbaPicture picture = MakePicture(16, 16, colour, 0x605040, PicturePattern::Speckle);
    for (size_t pixel = 0; pixel < picture.rgba.size() / 4; ++pixel)
    {
        if ((pixel * 7 + pixel / 16 * 3 + variant * 5) % 11 > 1)
        {
            picture.rgba[pixel * 4 + 3] = 0;
        }
    }
    return picture;
}

bool AddDustSet(ContentWriter& writer, uint16_t set)
{
    // Sand dust, gravel trail, then three pictures of stones.
    const std::array<std::string, 5> names = content::DustTextureNames(set);
    const uint32_t colours[5] = {0xC8B070, 0x8C7850, 0xA09080, 0x908070, 0xB0A090};
    for (size_t i = 0; i < names.size(); ++i)
    {
        const RgbaPicture picture = i >= 2
                                        ? StonesPicture(colours[i], i)
                                        : MakePicture(16, 16, colours[i], 0x605040,
                                                      PicturePattern::Speckle, i == 0 ? 160 : 255);
        if (!writer.Picture(names[i], picture))
        {
            return false;
        }
    }
    return true;
}

// The circuit's own models and pictures.
bool AddCircuitScenery(ContentWriter& writer, const DemoCircuit& demo, std::string& error)
{
    const content::CircuitRow* circuit = content::FindCircuit(demo.key);
    const std::optional<GeneratedCircuit> generated =
        GenerateCircuit(demo.shape, BikeClass::Class125, error);
    if (circuit == nullptr || !generated)
    {
        error = std::string(demo.key) + ": " + error;
        return false;
    }
    const RacingLine& line = *generated->line;
    // Each model is written once; its weathers' and classes' names share the file.
    const std::vector<uint8_t> sky = WriteObjectFile(SkyMesh());
    const std::vector<uint8_t> scenery = WriteObjectFile(SceneryMesh());
    const std::vector<uint8_t> track = WriteObjectFile(TrackMesh(generated->ground));
    const std::vector<uint8_t> trackside = WriteObjectFile(TracksideMesh(line, demo.shape));
    for (const Weather weather : {Weather::Fine, Weather::Dull, Weather::Rain})
    {
        writer.ObjectFile(content::SkyModelName(*circuit, weather), sky);
        writer.ObjectFile(content::SceneryModelName(*circuit, weather), scenery);
        writer.ObjectFile(content::TrackModelName(*circuit, weather), track);
        writer.ObjectFile(content::TrackAlphaModelName(*circuit, weather), trackside);
        writer.TextureFile(content::TrackTextureSetName(*circuit, weather), TrackPictures(weather));
    }
    const std::vector<uint8_t> ideal = WriteObjectFile(IdealLineMesh(line));
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        writer.ObjectFile(content::IdealLineModelName(*circuit, bikeClass), ideal);
    }
    if (!circuit->cones.empty())
    {
        writer.Object(content::ConeModelName(*circuit), ConeMesh());
    }
    return AddDustSet(writer, circuit->dustSetA) && AddDustSet(writer, circuit->dustSetB) &&
           writer.Ok();
}
}  // namespace

bool AddDemoScenery(ContentWriter& writer, std::string& error)
{
    for (const DemoCircuit& circuit : DemoCircuits())
    {
        if (!AddCircuitScenery(writer, circuit, error))
        {
            return false;
        }
    }
    writer.Object(content::kConeCollisionBody, ConeMesh());
    for (const content::StartLight& light : content::StartLights())
    {
        writer.Object(
            light.model,
            StartLightMesh(light.model.find("gruen") != std::string_view::npos ? 1000 : 1001));
    }
    return writer.Ok();
}
}  // namespace kit
