#include "frontend/toolkit/CircuitInfoScreen.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/game/RiderLiveries.h"
#include "app/settings/MenuState.h"
#include "core/util/FormatRaceTime.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"
#include "render/RenderApi.h"

namespace
{
constexpr std::array<const char*, kCircuitCount> kPictureNames = {
    "shahalam.jpg",   "suzuka.jpg", "jerez.jpg",     "Mugello.jpg",  "a1ring.jpg",
    "frankreich.jpg", "assen.jpg",  "imola.jpg",     "nuerburg.jpg", "brasilien.jpg",
    "donington.jpg",  "bruenn.jpg", "catalunya.jpg", "sentul.jpg",   "pi.jpg",
    "netz1.jpg",      "netz2.jpg",  "netz3.jpg"};

struct InfoTexts
{
    const char* length;
    const char* rain;
    const char* grip;
    const char* weather;
    const char* humidity;
    const char* pressure;
    const char* lapRecords;
    std::array<const char*, 3> gripClasses;
    std::array<const char*, 3> weathers;
};
constexpr std::array<InfoTexts, 2> kTexts = {{
    {"Streckenl\xE4nge:",
     "Regenwahrscheinlichkeit:",
     "Grip:",
     "Wetterlage",
     "Luftfeuchtigkeit:",
     "Luftdruck:",
     "schnellste Runden",
     {"gut", "mittel", "wenig"},
     {"Sonne", "Bew\xF6lkung", "Regen"}},
    {"Track Distance:",
     "Rain Prognosis:",
     "Grip:",
     "Weather",
     "Humidity:",
     "Pressure:",
     "Lap Records",
     {"high", "average", "low"},
     {"Sunny", "Cloudy", "Rainy"}},
}};

constexpr int32_t kRight = 633;
constexpr int32_t kNameColumn = 125;
constexpr size_t kNameLimit = 32;
constexpr uint32_t kHeadingColour = 0x90E8F8;
constexpr uint32_t kTextColour = 0xFFFFFF;
constexpr std::array<uint32_t, 3> kClassColours = {0xF8D503, 0x3D6BF4, 0x31FA3E};
constexpr std::array<int32_t, 3> kNameRows = {291, 329, 367};

struct InfoState
{
    const MenuState* settings = nullptr;
    int32_t weatherSlot = 0;
    Texture* okLit = nullptr;
    Texture* okNormal = nullptr;
    Texture* headline = nullptr;
    Gadget ok;
};
InfoState g_info;

void LoadOnce(const char* name, Texture** picture)
{
    if (*picture == nullptr)
    {
        g_renderDevice.LoadMemoryTexture(name, picture);
    }
}

void FreeLoaded(Texture** picture)
{
    if (*picture != nullptr)
    {
        g_renderDevice.FreeMemoryTexture(picture);
    }
}

// Black one pixel right and down, then the text in its colour.
void ShadowedLine(int32_t y, uint32_t colour, const char* text)
{
    DrawColorTextClipped(kRight + 1, y + 1, 0x000000, text, kAlignRight);
    DrawColorTextClipped(kRight, y, colour, text, kAlignRight);
}

int32_t CurrentFontWidth(const char* text)
{
    return g_renderDevice.StrLen(text);
}
}  // namespace

const char* CircuitInfoScreen::PictureName(int32_t circuit)
{
    return circuit >= 0 && circuit < static_cast<int32_t>(kPictureNames.size())
               ? kPictureNames[static_cast<size_t>(circuit)]
               : "";
}

void CircuitInfoScreen::Open(GadgetList& owner, const MenuState& settings, int32_t session)
{
    const int32_t circuit = static_cast<int32_t>(settings.U32At(MenuState::kCircuitOffset));
    const std::string background = std::string("streckeninfo/info") + PictureName(circuit);
    SetMenuBackground(background.c_str());
    LoadOnce("OKH.bmp", &g_info.okLit);
    LoadOnce("OKA.bmp", &g_info.okNormal);
    LoadOnce("streckeninfo/infoheadline.jpg", &g_info.headline);
    g_info.settings = &settings;
    g_info.weatherSlot = std::clamp(session / 2, 0, 2);
    g_info.ok = Gadget{};
    g_info.ok.width = 48;
    g_info.ok.height = 40;
    g_info.ok.screenX = 584;
    g_info.ok.screenY = 440;
    g_info.ok.normalPicture = 0;
    g_info.ok.hoverPicture = 1;
    g_info.ok.drawFlag = 1;
    g_info.ok.visible = 1;
    AddGadget(owner, g_info.ok, 3);
}

void CircuitInfoScreen::Close()
{
    FreeLoaded(&g_info.okLit);
    FreeLoaded(&g_info.okNormal);
    FreeLoaded(&g_info.headline);
}

Gadget& CircuitInfoScreen::OkGadget()
{
    return g_info.ok;
}

int32_t CircuitInfoScreen::WeatherSlot()
{
    return g_info.weatherSlot;
}

std::string CircuitInfoScreen::ShortenedName(const std::string& name, int32_t (*width)(const char*))
{
    if (width(name.c_str()) <= kNameColumn)
    {
        return name;
    }
    const size_t space = name.find(' ');
    if (name.empty() || space == std::string::npos)
    {
        return name.substr(0, kNameLimit);
    }
    return (name.substr(0, 1) + "." + name.substr(space + 1)).substr(0, kNameLimit);
}

void CircuitInfoScreen::Draw()
{
    if (g_info.settings == nullptr)
    {
        return;
    }
    const MenuState& settings = *g_info.settings;
    const InfoTexts& texts = kTexts[g_language == Language::English ? 1 : 0];
    const size_t circuit =
        std::min<size_t>(settings.U32At(MenuState::kCircuitOffset), kCircuitCount - 1);
    const CircuitTextRecord& record = CircuitTexts()[circuit];
    const size_t slot = static_cast<size_t>(g_info.weatherSlot);

    g_menuBackground.Draw();
    DrawBitmapClipped(g_info.headline, 0, 0, 0, 0, 450, 55, 0);
    Texture* ok = g_info.ok.hover != 0 ? g_info.okLit : g_info.okNormal;
    if (g_info.ok.visible != 0 && ok != nullptr)
    {
        DrawBitmapClipped(ok, 0, 0, g_info.ok.screenX, g_info.ok.screenY, 48, 40, 1);
    }

    char line[160];
    SetTextFont(GetRaceFont(RaceFont::Balmoral));
    const char* name = record.names[static_cast<size_t>(g_language)];
    std::snprintf(line, sizeof(line), "%s %s", name != nullptr ? name : "",
                  record.subtitle != nullptr ? record.subtitle : "");
    DrawColorTextClipped(kRight, 81, kTextColour, line, kAlignRight);

    SetTextFont(GetMenuFont(MenuFont::Menu12));
    std::snprintf(line, sizeof(line), "%s %u m", texts.length,
                  static_cast<unsigned>(record.lengthMetres));
    ShadowedLine(114, kTextColour, line);
    std::snprintf(line, sizeof(line), "%s %u%%", texts.rain,
                  static_cast<unsigned>(record.climate.rainPercent));
    ShadowedLine(132, kTextColour, line);
    std::snprintf(line, sizeof(line), "%s %s", texts.grip,
                  texts.gripClasses[static_cast<size_t>(std::clamp(record.gripClass, 0, 2))]);
    ShadowedLine(150, kTextColour, line);
    ShadowedLine(175, kHeadingColour, texts.weather);
    const size_t weather =
        std::min<size_t>(settings.U8At(MenuState::kSessionWeatherOffset + slot), 2);
    ShadowedLine(195, kTextColour, texts.weathers[weather]);
    std::snprintf(
        line, sizeof(line), "%u\xB0 C",
        static_cast<unsigned>(settings.U8At(MenuState::kSessionTemperatureOffset + slot)));
    ShadowedLine(212, kTextColour, line);
    std::snprintf(line, sizeof(line), "%s %u%%", texts.humidity,
                  static_cast<unsigned>(settings.U8At(MenuState::kSessionHumidityOffset + slot)));
    ShadowedLine(229, kTextColour, line);
    std::snprintf(
        line, sizeof(line), "%s %u mbar", texts.pressure,
        static_cast<unsigned>(settings.U16At(MenuState::kSessionPressureOffset + 2 * slot)));
    ShadowedLine(246, kTextColour, line);
    ShadowedLine(271, kHeadingColour, texts.lapRecords);

    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        const CircuitLapRecord& lap = record.lapRecords[bikeClass];
        const bool known = lap.holder >= 0 && static_cast<size_t>(lap.holder) < kLiveriesPerClass;
        const std::string holder =
            known ? ShortenedName(
                        g_riderLiveries[bikeClass][static_cast<size_t>(lap.holder)].riderName,
                        CurrentFontWidth)
                  : std::string();
        ShadowedLine(kNameRows[bikeClass], kTextColour, holder.c_str());
        ShadowedLine(kNameRows[bikeClass] + 15, kClassColours[bikeClass],
                     FormatRaceTime(lap.timeMs).data());
    }
}
