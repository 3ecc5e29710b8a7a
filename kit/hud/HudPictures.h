#pragma once

// The pictures of the head-up display in the demo installation: the broadcaster's logo, the
// instrument as it stands and at the engine's limit, the start lights' strip of ten pieces
// (each numbered), the eight curve signs, the ride-aid key lamps and a portrait of each
// rider of each class. The font sheets are DemoFonts'.

#include <string>

#include "core/game/GameEnums.h"
#include "kit/DemoInstallation.h"
#include "kit/picture/Picture.h"

namespace kit
{

RgbaPicture DemoLogoPicture();
RgbaPicture DemoInstrumentPicture(bool atLimit);
RgbaPicture DemoStartLightsPicture();
RgbaPicture DemoCurveSignPicture(int sign);  // 0..7: even left, odd right, severity sign / 2
RgbaPicture DemoKeyLampsPicture();
RgbaPicture DemoPortraitPicture(BikeClass bikeClass, int rider);

// Into the texture archive; the portraits into the menu archive as well, where the display
// looks for them.
bool AddDemoHudPictures(DemoArchives& archives, std::string& error);

}  // namespace kit
