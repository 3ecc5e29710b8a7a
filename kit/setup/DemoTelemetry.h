#pragma once

// The telemetry screen's part of the demo installation, in the menu archive: "course.dat" with
// the demo circuit's map fitted to its racing line, the demo circuit's flat track object and
// its pictures, and the screen's pictures.

#include <string>

#include "kit/DemoInstallation.h"

namespace kit
{
inline constexpr const char* kCourseMapsName = "course.dat";

bool AddDemoTelemetry(DemoArchives& archives, std::string& error);
}  // namespace kit
