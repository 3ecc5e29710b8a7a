#pragma once

// The three diagrams of the set-up pages, written straight into the locked 16-bit frame
// buffer and clipped to one repaint rectangle (and to the 640-pixel screen): the brake
// diagram, the engine curve of the ignition page and the six gear curves of the gearbox page.
// Horizontal steps are 8.8 fixed point, heights 1/256 pixel.

#include <array>
#include <cstdint>
#include <span>

#include "app/device/DirtyRectList.h"
#include "core/game/GameEnums.h"
#include "race/BikeSetup.h"

struct FrameBuffer16
{
    uint16_t* pixels = nullptr;
    int32_t stridePixels = 0;
};

inline constexpr uint16_t kDiagramWhite = 0xFFFF;
inline constexpr int32_t kDiagramBaseline = 358;

// Brake value A (start force, 0.01..1.0) sets where the curve starts, value B (travel to full
// force, 0.01..2.0) how long it rises.
void DrawBrakeDiagram(FrameBuffer16 frame, const ScreenRect& clip, float valueA, float valueB);

// The computed engine curve (power in W over 100 rpm steps) from 4000 rpm on.
void DrawEngineCurve(FrameBuffer16 frame, const ScreenRect& clip,
                     std::span<const float, BikeSetup::kEngineCurvePoints> engineCurve,
                     BikeClass bikeClass);

// Power over engine speed stretched by the third ignition factor; the last 30 entries are an
// end mark.
struct GearboxCurve
{
    static constexpr size_t kUsed = 170;
    static constexpr float kEndMark = -50000.0f;

    std::array<float, BikeSetup::kEngineCurvePoints> power{};
    float maximum = 1.0f;
};
GearboxCurve RebuildGearboxCurve(const BikeSetup& setup);

// Each gear's power over road speed; the selected gear in its own colour (16-bit).
void DrawGearCurves(FrameBuffer16 frame, const ScreenRect& clip, const GearboxCurve& curve,
                    const BikeSetup& setup, BikeClass bikeClass, int selectedGear,
                    uint16_t selectedColour, uint16_t otherColour);
