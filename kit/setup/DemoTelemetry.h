#pragma once

// The telemetry screen's part of the demo installation, in the menu archive: "course.dat" with
// the demo circuit's map fitted to its racing line, the demo circuit's flat track object and
// its pictures, and the screen's pictures.

#include <string>
#include <string_view>

#include "kit/DemoInstallation.h"
#include "kit/race/CircuitGenerator.h"

namespace kit
{
inline constexpr const char* kCourseMapsName = "course.dat";

bool AddDemoTelemetry(DemoArchives& archives, std::string& error);

// One circuit's own part: its flat track object, that object's pictures and the two views'
// backgrounds, named by the circuit's file stem.
bool AddCircuitTelemetry(CprWriter& menu, std::string_view circuitName,
                         const GeneratedCircuit& circuit, std::string& error);
}  // namespace kit
