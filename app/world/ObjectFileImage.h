#pragma once

// Object files as they lie in the 3D region after reading: the chunks of a ".4do" mesh or
// collision body and of a ".4co" circuit collision model, checked against the file and turned
// in place from file offsets into region links. Nothing is changed unless the whole image is
// sound, so that a damaged file is refused without a trace; no offset, count or link of the
// file is followed before it has been checked.

#include <cstdint>
#include <optional>

struct MeshVertex;
struct BspNode;
struct TrackCollisionModel;

// What a checked ".4do" image holds, with its links made.
struct MeshImage
{
    MeshVertex* vertices = nullptr;
    uint32_t vertexBytes = 0;
    MeshVertex* normals = nullptr;  // null without chunk 8
    BspNode* bspRoot = nullptr;
    uint32_t nodeBytes = 0;
    float ownRadius = 0.0f;
    const uint32_t* textureNumbers = nullptr;  // chunk 5; null when the file has none
    uint32_t textureCount = 0;                 // 0 when the file has no chunk 5
};

enum class MeshUse
{
    Drawn,         // texture slots must index the file's texture numbers
    FurtherLevel,  // a further level of detail: its slots index its owner's texture list,
                   // which the engine bounds, so the file need not have numbers of its own
    Collision,     // not drawn: texture slots are not looked at
};

// image must lie 4-byte aligned in the 3D region. Empty for anything but a sound ".4do".
std::optional<MeshImage> RelocateMeshImage(uint8_t* image, uint32_t size, MeshUse use);

// Makes the ".4co" image into the model {record count, records}: the records move down behind
// the count and their links become offsets from the model's start. Null for anything but a
// sound ".4co".
TrackCollisionModel* RelocateTrackCollisionImage(uint8_t* image, uint32_t size);
