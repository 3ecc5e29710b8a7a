#pragma once

// What every race loads whatever the circuit and class: the shared race textures (tyre
// profiles, start light, shadow, smoke, spray, reflections, cockpit instruments), the cockpit
// pictures held in memory, the smoke clouds, the test collision bodies and the marshals of the
// crash figures. Pure data; no state.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/FieldTables.h"

namespace content
{
// The shared textures in load order.
std::vector<NumberedPicture> SharedRacePictures();
// The texture numbers whose handles the race view keeps: the nine cockpit instrument textures
// that the rider in view's pictures are drawn into (screw, rev counter, fork bridge, brake
// disc, damper screw, tank, lamp, lamp lit, needle) and the marshal flag's picture.
inline constexpr std::array<int32_t, 9> kCockpitTextureNumbers = {1170, 1171, 1172, 1173, 1174,
                                                                  1175, 1180, 1181, 1182};
inline constexpr int32_t kMarshalFlagTexture = 1183;

// The 43 pictures the cockpit table's indices name, in index order.
inline constexpr size_t kCockpitPictureCount = 43;
const std::array<std::string, kCockpitPictureCount>& CockpitPictureNames();

inline constexpr std::string_view kSmokeCloudModel = "objekte/spezial/rauchwolken.4do";
inline constexpr size_t kSmokeClouds = 200;
inline constexpr std::string_view kTestBody = "objekte/kolision/test.4do";
inline constexpr std::string_view kTestBody2 = "objekte/kolision/test2.4do";

// A marshal's part: the file below "objekte/mechaniker/" and the figure part it stands for (the
// head takes the helmet's place).
struct MarshalPart
{
    std::string_view file;
    FigurePart part;
};
inline constexpr size_t kMarshalParts = 13;
// In load order.
const std::array<MarshalPart, kMarshalParts>& MarshalParts();
std::string MarshalPartName(const MarshalPart& part);
inline constexpr uint32_t kMarshalObjectBase = 4096;
inline constexpr double kMarshalRange = 600.0;
// The texture numbers of a marshal's part; body 0 or 1 (the face differs).
std::vector<uint32_t> MarshalTextureList(FigurePart part, uint32_t body);
}  // namespace content
