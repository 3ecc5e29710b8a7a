#pragma once

// The telemetry screen's part of the demo installation: "course.dat" in the menu archive, with
// the demo circuit's map fitted to its racing line.

#include <string>

#include "kit/DemoInstallation.h"

namespace kit
{
inline constexpr const char* kCourseMapsName = "course.dat";

bool AddDemoCourseMaps(DemoArchives& archives, std::string& error);
}  // namespace kit
