#include "kit/setup/TelemetryPictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"
#include "kit/startup/JpegWriter.h"
#include "setup/telemetry/TelemetryControls.h"
#include "setup/telemetry/TelemetryFiles.h"
#include "setup/telemetry/TelemetryGraphs.h"

namespace kit
{
namespace
{
namespace tc = telemetry_controls;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kJpegQuality = 90;
constexpr uint32_t kFrame = 0x182840;
constexpr uint32_t kPanel = 0x405868;
constexpr uint32_t kDeep = 0x081020;
constexpr uint32_t kMapGround = 0x587850;
constexpr uint32_t kLabel = 0xC8D8E0;
constexpr uint32_t kSlotLit = 0xF0C850;
constexpr uint32_t kLitFace = 0x90B8D0;
constexpr uint32_t kListFace = 0x283848;
constexpr int kSlotCount = 4;

Box BoxOf(const ScreenRect& rect, int grow = 0)
{
    return {rect.left - grow, rect.top - grow, rect.right + grow, rect.bottom + grow};
}

// The graphs, the read-out and the map below them.
RgbaPicture GraphBackground()
{
    MenuCanvas canvas(kScreenWidth, kScreenHeight, kFrame);
    canvas.Bevel(BoxOf(tc::kGraphArea, 2), kDeep, true);
    canvas.Bevel({28, 336, 296, 476}, kPanel, true);  // the read-out
    canvas.Bevel({300, 336, 636, 476}, kMapGround, true);
    for (const ScreenRect& track : tc::kZoomTracks)
    {
        canvas.Bevel(BoxOf(track, 1), kPanel, true);
    }
    return canvas.Picture();
}

// The scene over the top, the lap table and the map below it.
RgbaPicture SceneBackground()
{
    MenuCanvas canvas(kScreenWidth, kScreenHeight, kFrame);
    canvas.Fill({0, 0, kScreenWidth, tc::kSceneHeight}, kDeep);
    canvas.Bevel({40, 340, 206, 440}, kPanel, true);  // the lap table
    canvas.Bevel(BoxOf(tc::kMapArea), kMapGround, true);
    return canvas.Picture();
}

// A column per active slot, each a cell per slot with the active one lit.
RgbaPicture SlotLabels()
{
    const ScreenRect strip = tc::kSlotSelector;
    const int width = strip.right - strip.left;
    const int height = strip.bottom - strip.top;
    const int row = height / kSlotCount;
    MenuCanvas canvas(width * kSlotCount, height, kFrame);
    for (int active = 0; active < kSlotCount; ++active)
    {
        for (int slot = 0; slot < kSlotCount; ++slot)
        {
            const Box cell{active * width, slot * row, (active + 1) * width, (slot + 1) * row};
            canvas.Bevel(cell, slot == active ? kSlotLit : kPanel, slot != active);
            canvas.Label(cell, std::to_string(slot + 1), 2, slot == active ? kDeep : kLabel);
        }
    }
    return canvas.Picture();
}

// The thirteen channels' words and none.
constexpr std::array<std::array<std::string_view, kLanguageCount>, tc::kChannelEntries>
    kChannelWords = {{{"SCHUB", "THROT"},
                      {"LENK", "STEER"},
                      {"GANG", "GEAR"},
                      {"BREMSE", "BRAKE"},
                      {"TEMPO", "SPEED"},
                      {"DREHZ", "RPM"},
                      {"TEMP", "TEMP"},
                      {"FED V", "SUSP F"},
                      {"FED H", "SUSP R"},
                      {"KW", "POWER"},
                      {"BESCHL", "ACCEL"},
                      {"REIF V", "TYRE F"},
                      {"REIF H", "TYRE R"},
                      {"", ""}}};

// Each channel's word over a small wave that runs along as the frames go by.
RgbaPicture ChannelIcons(Language language)
{
    MenuCanvas canvas(tc::kIconWidth * tc::kIconFrames, tc::kIconHeight * tc::kChannelEntries,
                      kFrame);
    for (int entry = 0; entry < tc::kChannelEntries; ++entry)
    {
        for (int frame = 0; frame < tc::kIconFrames; ++frame)
        {
            const Box cell{frame * tc::kIconWidth, entry * tc::kIconHeight,
                           (frame + 1) * tc::kIconWidth, (entry + 1) * tc::kIconHeight};
            canvas.Bevel(cell, kPanel, false);
            const std::string_view word =
                kChannelWords[static_cast<size_t>(entry)][ToIndex(language)];
            if (word.empty())
            {
                continue;
            }
            canvas.Label({cell.left, cell.top + 3, cell.right, cell.top + 17}, word, 1, kLabel);
            for (int x = 4; x < tc::kIconWidth - 4; ++x)
            {
                const double wave = std::sin((x + frame * 5) * 0.4 + entry);
                canvas.SetPixel(cell.left + x,
                                cell.top + 27 + static_cast<int>(std::lround(wave * 5)), kSlotLit);
            }
        }
    }
    return canvas.Picture();
}

// A row per face: blank (the axis switch), "3D", "2D", exit; lit ones brighter.
RgbaPicture ButtonFaces(Language language, bool lit)
{
    const std::array<std::string_view, tc::kButtonFaces> captions = {
        "", "3D", "2D", language == Language::English ? "EXIT" : "ENDE"};
    MenuCanvas canvas(tc::kButtonFaceWidth, tc::kButtonFaceHeight * tc::kButtonFaces, kFrame);
    for (int face = 0; face < tc::kButtonFaces; ++face)
    {
        const Box cell{0, face * tc::kButtonFaceHeight, tc::kButtonFaceWidth,
                       (face + 1) * tc::kButtonFaceHeight};
        canvas.Bevel(cell, lit ? kLitFace : kPanel, false);
        canvas.Label(cell, captions[static_cast<size_t>(face)], 1, lit ? kDeep : kLabel);
    }
    return canvas.Picture();
}

// Each header raised, its list sunken below it, for both kinds of pull-down.
RgbaPicture Pulldowns()
{
    const ScreenRect channels = tc::ListBox(0);
    const ScreenRect laps = tc::ListBox(1);
    const int width = tc::kPulldownLapColumnX + (laps.right - laps.left);
    const int height =
        tc::kHeaderHeight + std::max(channels.bottom - channels.top, laps.bottom - laps.top);
    MenuCanvas canvas(width, height, kFrame);
    for (const int32_t pulldown : {0, 1})
    {
        const ScreenRect header = tc::Header(pulldown);
        const ScreenRect list = tc::ListBox(pulldown);
        const int left = pulldown == 0 ? 0 : tc::kPulldownLapColumnX;
        canvas.Bevel({left, 0, left + header.right - header.left, tc::kHeaderHeight}, kPanel,
                     false);
        canvas.Bevel({left, tc::kHeaderHeight, left + list.right - list.left,
                      tc::kHeaderHeight + list.bottom - list.top},
                     kListFace, true);
    }
    return canvas.Picture();
}

bool AddJpeg(CprWriter& archive, const std::string& name, const RgbaPicture& picture,
             std::string& error)
{
    const std::optional<std::vector<uint8_t>> jpeg = WriteJpeg(picture, kJpegQuality);
    if (!jpeg)
    {
        error = "cannot encode " + name;
        return false;
    }
    return archive.Add(name, *jpeg, MemberStorage::Smaller, error);
}
}  // namespace

bool AddTelemetryBackgrounds(CprWriter& menuArchive, std::string_view circuit, std::string& error)
{
    return AddJpeg(menuArchive, telemetry_files::GraphBackground(circuit), GraphBackground(),
                   error) &&
           AddJpeg(menuArchive, telemetry_files::SceneBackground(circuit), SceneBackground(),
                   error);
}

bool AddChannelIcons(CprWriter& menuArchive, Language language, std::string& error)
{
    return menuArchive.Add(telemetry_files::kChannelIcons, WriteBmp24(ChannelIcons(language)),
                           MemberStorage::Smaller, error);
}

bool AddButtonFaces(CprWriter& menuArchive, Language language, std::string& error)
{
    return menuArchive.Add(telemetry_files::kButtons, WriteBmp24(ButtonFaces(language, false)),
                           MemberStorage::Smaller, error) &&
           menuArchive.Add(telemetry_files::kLitButtons, WriteBmp24(ButtonFaces(language, true)),
                           MemberStorage::Smaller, error);
}

bool AddPulldowns(CprWriter& menuArchive, std::string& error)
{
    return menuArchive.Add(telemetry_files::kPulldowns, WriteBmp24(Pulldowns()),
                           MemberStorage::Smaller, error);
}

bool AddSlotLabels(CprWriter& menuArchive, std::string& error)
{
    return menuArchive.Add(telemetry_files::kSlotLabels, WriteBmp24(SlotLabels()),
                           MemberStorage::Smaller, error);
}
}  // namespace kit
