#pragma once

// The demo installation's rider motions: a clip for every clip id the game asks for (each as
// its cache and its scene text), and the pose table, all in the menu archive.

#include <cstdint>
#include <optional>
#include <string>

#include "kit/CprWriter.h"
#include "kit/motion/ClipDesign.h"
#include "kit/motion/PoseTableWriter.h"

namespace kit
{
// Nothing for an id without a clip.
std::optional<ClipDesign> DemoRiderClip(uint32_t clipId);
// The pit-stop clips, ids 18 to 29.
std::optional<ClipDesign> DemoPitClip(uint32_t clipId);

// Riding poses that hang further off with the lean, braking ones sitting up.
PoseTable DemoPoseTable();

bool AddDemoMotions(CprWriter& menuArchive, std::string& error);
}  // namespace kit
