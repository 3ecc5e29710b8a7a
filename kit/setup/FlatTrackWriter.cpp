#include "kit/setup/FlatTrackWriter.h"

#include "kit/content/ContentMeshes.h"
#include "kit/content/ContentPictures.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TextureContainerWriter.h"

namespace kit
{
namespace
{
constexpr float kMetresPerPicture = 8.0f;
}

Mesh FlatTrackMesh(const std::vector<TrackTriangle>& ground)
{
    ShapeBuilder flat({kFlatAsphaltTexture, kFlatRunOffTexture});
    for (const TrackTriangle& triangle : ground)
    {
        MeshPoint corners[3];
        float uv[6];
        for (int corner = 0; corner < 3; ++corner)
        {
            const float x = triangle.corners[2 * corner];
            const float z = triangle.corners[2 * corner + 1];
            corners[corner] = {x, 0.0f, z};
            uv[2 * corner] = x / kMetresPerPicture;
            uv[2 * corner + 1] = z / kMetresPerPicture;
        }
        flat.GroundTriangle(corners, uv, triangle.surface == kTrackSurface ? 0 : 1);
    }
    return flat.Finish();
}

std::vector<uint8_t> FlatTrackPictures()
{
    TextureContainerWriter container;
    container.Add(ContainedPicture::Bmp, kFlatAsphaltTexture,
                  WriteBmp24(MakePicture(16, 16, 0x707078, 0x8C8C90, PicturePattern::Speckle)));
    container.Add(ContainedPicture::Bmp, kFlatRunOffTexture,
                  WriteBmp24(MakePicture(16, 16, 0x3C7034, 0x4C8040, PicturePattern::Speckle)));
    return container.Bytes();
}
}  // namespace kit
