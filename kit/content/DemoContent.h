#pragma once

// The race content of the demo installation: everything a race load opens for the demo circuit
// ("ShahAlam") in each weather, model detail and class: its scenery laid on the generated
// ground, the classes' machines and liveries, the rider figure, the marshals, the effects and
// the shared and cockpit pictures. Simple shapes and generated pictures, the same on every
// machine; model texture lists hold at least as many numbers as the loader writes into them.

#include <cstdint>
#include <string>

#include "kit/DemoInstallation.h"

namespace kit
{
class ContentWriter;

// The texture numbers of the circuit's own pictures (its ".tex" sets).
inline constexpr uint32_t kAsphaltTexture = 2000;
inline constexpr uint32_t kGrassTexture = 2001;
inline constexpr uint32_t kSkyTexture = 2002;
inline constexpr uint32_t kKerbTexture = 2003;
inline constexpr uint32_t kStandTexture = 2004;
inline constexpr uint32_t kStartLineTexture = 2005;
inline constexpr uint32_t kWallTexture = 2006;

// Adds the members to the objects and textures archives.
bool AddDemoContent(DemoArchives& archives, std::string& error);

bool AddDemoScenery(ContentWriter& writer, std::string& error);
bool AddDemoField(ContentWriter& writer);
bool AddDemoEffects(ContentWriter& writer);
}  // namespace kit
