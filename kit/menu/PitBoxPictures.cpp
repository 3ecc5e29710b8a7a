#include "kit/menu/PitBoxPictures.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TgaWriter.h"
#include "kit/startup/JpegWriter.h"

namespace kit
{
namespace
{
constexpr uint32_t kBlack = 0x000000;
constexpr int kJpegQuality = 90;
constexpr uint32_t kLabelLight = 0xF0F0F0;
constexpr uint32_t kLabelDark = 0x282828;

// The three states of a sheet: lit, active, inactive.
enum class State
{
    Lit,
    Active,
    Inactive,
};
constexpr std::array<State, 3> kStates = {State::Lit, State::Active, State::Inactive};
constexpr std::array<std::string_view, 3> kStateLetters = {"H", "A", "I"};

uint32_t Face(State state)
{
    switch (state)
    {
        case State::Lit:
            return 0xDCB43C;
        case State::Active:
            return 0x50648C;
        default:
            return 0x383C44;
    }
}

uint32_t LabelColour(State state)
{
    switch (state)
    {
        case State::Lit:
            return kLabelDark;
        case State::Active:
            return kLabelLight;
        default:
            return 0x808080;
    }
}

struct SheetButton
{
    int x;
    int y;
    int width;
    int height;
    std::string_view label;
};

RgbaPicture Sheet(int width, int height, const std::vector<SheetButton>& buttons, State state)
{
    MenuCanvas canvas(width, height, kBlack);
    for (const SheetButton& button : buttons)
    {
        const Box box{button.x, button.y, button.x + button.width, button.y + button.height};
        canvas.Bevel(box, Face(state), false);
        if (!button.label.empty())
        {
            canvas.Label(box, button.label, 1, LabelColour(state));
        }
    }
    return canvas.Picture();
}

RgbaPicture Backdrop(uint32_t colour, std::string_view title)
{
    MenuCanvas canvas(640, 480, colour);
    canvas.Bevel({14, 100, 626, 440}, colour - 0x080808, true);
    canvas.Label({300, 8, 480, 40}, title, 2, 0xC8D8F0);
    return canvas.Picture();
}

// The page buttons of the strip at the bottom; those sharing a place follow from x 640 on.
const std::vector<SheetButton> kPageStrip = {
    {0, 0, 80, 36, "ENDE"},       {80, 0, 80, 36, "RENNEN"},  {160, 0, 80, 36, "INFO"},
    {240, 0, 80, 36, "LISTE"},    {320, 0, 80, 36, "SETUP"},  {400, 0, 60, 36, ""},
    {460, 0, 80, 36, "DATEN"},    {540, 0, 98, 36, "WEITER"}, {640, 0, 80, 36, "AUFGEBEN"},
    {720, 0, 80, 36, "BEHALTEN"}, {800, 0, 80, 36, "GHOST"},
};
}  // namespace

bool AddPitBoxPictures(CprWriter& menuArchive, CprWriter& patchArchive, std::string& error)
{
    const auto addBmp = [&](CprWriter& archive, const std::string& name, const RgbaPicture& picture)
    { return archive.Add(name, WriteBmp24(picture), MemberStorage::Smaller, error); };
    const auto addJpeg =
        [&](CprWriter& archive, const std::string& name, const RgbaPicture& picture)
    {
        const std::optional<std::vector<uint8_t>> jpeg = WriteJpeg(picture, kJpegQuality);
        if (!jpeg)
        {
            error = "cannot write " + name;
            return false;
        }
        return archive.Add(name, *jpeg, MemberStorage::Stored, error);
    };
    const auto addSheets = [&](CprWriter& archive, const std::string& stem, int width, int height,
                               const std::vector<SheetButton>& buttons, bool inactive)
    {
        bool added = true;
        for (size_t state = 0; added && state < kStates.size(); ++state)
        {
            if (!inactive && kStates[state] == State::Inactive)
            {
                continue;
            }
            added = addBmp(archive, stem + std::string(kStateLetters[state]) + ".bmp",
                           Sheet(width, height, buttons, kStates[state]));
        }
        return added;
    };

    std::vector<SheetButton> sessions;
    for (int language = 0; language < 2; ++language)
    {
        for (int button = 0; button < 6; ++button)
        {
            sessions.push_back({button * 160, language * 40, 160, 40, ""});
        }
    }
    constexpr std::array<std::string_view, 5> kStrips = {"WARM UP", "RENNEN", "QUALIFYING",
                                                         "TRAINING", "TESTFAHRT"};
    // Black is left out when the strip is drawn: only the title shows.
    MenuCanvas strips(300, 360, kBlack);
    for (int strip = 0; strip < 5; ++strip)
    {
        strips.Label({0, strip * 72, 300, strip * 72 + 40}, kStrips[static_cast<size_t>(strip)], 2,
                     0xF0F0FF);
    }
    const auto ghostHeadline = [](std::string_view title)
    {
        MenuCanvas canvas(400, 50, 0x1E2A6E);
        canvas.Label({0, 0, 400, 50}, title, 2, 0xF0F0FF);
        return canvas.Picture();
    };
    MenuCanvas highlight(600, 18, 0x305078);
    MenuCanvas knob(8, 64, 0xC83C3C);
    knob.Bevel({0, 0, 8, 64}, 0xC83C3C, false);

    bool added =
        addJpeg(menuArchive, "boxenmenu/training1.jpg", Backdrop(0x203048, "KALENDER")) &&
        addJpeg(menuArchive, "boxenmenu/zeiten.jpg", Backdrop(0x202838, "ZEITEN")) &&
        addJpeg(menuArchive, "boxenmenu/ergebnisse.jpg", Backdrop(0x282028, "ERGEBNISSE")) &&
        addJpeg(menuArchive, "boxenmenu/PunkteStand.jpg", Backdrop(0x203020, "PUNKTE")) &&
        addJpeg(menuArchive, "boxenmenu/ZeitenHeadlines.jpg", strips.Picture()) &&
        menuArchive.Add("boxenmenu/sliderV.tga", WriteTga(knob.Picture(), 16),
                        MemberStorage::Smaller, error) &&
        addSheets(
            menuArchive, "boxenmenu/KalenderLeiste", 360, 36,
            {{0, 0, 120, 36, "ABBRUCH"}, {120, 0, 120, 36, "LADEN"}, {240, 0, 120, 36, "SICHERN"}},
            true) &&
        addBmp(menuArchive, "boxenmenu/OkAbbruchA.bmp",
               Sheet(192, 24, {{0, 0, 96, 24, "OK"}, {96, 0, 96, 24, ""}}, State::Active)) &&
        addBmp(menuArchive, "boxenmenu/OkAbbruchI.bmp",
               Sheet(192, 24, {{0, 0, 96, 24, "OK"}, {96, 0, 96, 24, ""}}, State::Inactive)) &&
        addSheets(menuArchive, "boxenmenu/Training1Buttons_", 960, 80, sessions, true) &&
        addSheets(menuArchive, "boxenmenu/Leiste", 880, 36, kPageStrip, true) &&
        addSheets(menuArchive, "boxenmenu/PunkteStandLeiste", 880, 36, kPageStrip, true) &&
        addSheets(menuArchive, "boxenmenu/Tage", 440, 48,
                  {{0, 0, 90, 24, ""},
                   {90, 0, 90, 24, ""},
                   {180, 0, 90, 24, ""},
                   {0, 24, 110, 24, ""},
                   {110, 24, 110, 24, ""},
                   {220, 24, 110, 24, ""},
                   {330, 24, 110, 24, ""}},
                  true);
    added =
        added && addJpeg(patchArchive, "ghost/ghostinfo.jpg", Backdrop(0x302030, "GHOST")) &&
        addSheets(patchArchive, "ghost/Leiste", 192, 40,
                  {{0, 0, 64, 40, "ZURUECK"}, {64, 0, 64, 40, "LOESCHEN"}, {128, 0, 64, 40, "OK"}},
                  true) &&
        addBmp(patchArchive, "ghost/Headline0.bmp", ghostHeadline("GHOST WAEHLEN")) &&
        addBmp(patchArchive, "ghost/Headline1.bmp", ghostHeadline("SELECT GHOST")) &&
        addBmp(patchArchive, "ghost/highlight.bmp", highlight.Picture()) &&
        addBmp(patchArchive, "ghost/sliderV.bmp", knob.Picture()) &&
        addBmp(patchArchive, "boxenmenu/Headline0.bmp", ghostHeadline("GEISTERRENNEN")) &&
        addBmp(patchArchive, "boxenmenu/Headline1.bmp", ghostHeadline("GHOST RACE"));
    return added;
}
}  // namespace kit
