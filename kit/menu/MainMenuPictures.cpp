#include "kit/menu/MainMenuPictures.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"
#include "kit/startup/JpegWriter.h"

namespace kit
{
namespace
{
constexpr uint32_t kBlack = 0x000000;
constexpr int kHeadlineRow = 55;
constexpr int kJpegQuality = 90;

struct SheetButton
{
    int x;
    int width;
    int height;
    std::string_view label;
};

// Back, previous, next, accept, go, the panels' cancel and OK (the cancel button's last
// columns are the OK button's first), the three classes, circuit information, overview, the
// three weathers, set-up, the slider knob; the sheet positions the menu cuts them from.
constexpr std::array<SheetButton, 17> kSheetButtons = {{
    {0, 64, 30, ""},  // the back button's word is the language's
    {64, 44, 26, "-"},
    {108, 44, 26, "+"},
    {152, 28, 37, "OK"},
    {180, 64, 35, "GO"},
    {244, 44, 40, "X"},
    {288, 48, 40, "OK"},
    {544, 104, 94, "125"},
    {648, 104, 94, "250"},
    {752, 104, 94, "500"},
    {966, 32, 35, "I"},
    {998, 38, 35, "#"},
    {1036, 46, 33, "SUN"},
    {1082, 46, 33, "CLD"},
    {1128, 46, 33, "RAIN"},
    {1174, 42, 34, "SET"},
    {1216, 12, 18, ""},
}};

// The main buttons' labels 1..9 and their sizes (label 6 is not shown).
struct MainLabel
{
    int width;
    int height;
};
constexpr std::array<MainLabel, 9> kLabels = {{
    {218, 25},
    {200, 24},
    {182, 24},
    {166, 24},
    {152, 24},
    {142, 24},
    {142, 27},
    {134, 24},
    {134, 24},
}};

// The words on the pictures, German and English.
struct MenuWords
{
    std::string_view back;
    std::array<std::string_view, 9> labels;
    std::array<std::string_view, 9> headlines;  // one per game mode, the overviews at 6 and 8
    std::string_view riderPage;
    std::string_view circuitPage;
    std::string_view circuitInfo;
    std::string_view serverPage;  // the network lobby's
    std::string_view playerPage;
};
constexpr std::array<MenuWords, 2> kWords = {{
    {"ZURUECK",
     {"MODUS", "LEVEL", "FAHRER", "STRECKE", "REALISMUS", "-", "OPTIONEN", "LADEN", "ZUSEHEN"},
     {"TESTFAHRT", "RENNEN", "GRAND PRIX", "WELTMEISTERSCHAFT", "WM SERIE", "NETZWERK",
      "FAHRERWAHL", "NETZWERK", "STRECKENWAHL"},
     "FAHRER",
     "STRECKE",
     "STRECKENINFO",
     "SERVER",
     "SPIELER"},
    {"BACK",
     {"MODE", "LEVEL", "RIDER", "CIRCUIT", "REALISM", "-", "OPTIONS", "LOAD", "OBSERVE"},
     {"TEST RIDE", "RACE", "GRAND PRIX", "WORLD CHAMPIONSHIP", "WC SERIES", "NETWORK",
      "CHOOSE RIDER", "NETWORK", "CHOOSE CIRCUIT"},
     "RIDER",
     "CIRCUIT",
     "CIRCUIT INFO",
     "SERVER",
     "PLAYERS"},
}};

const MenuWords& WordsOf(Language language)
{
    return kWords[language == Language::English ? 1 : 0];
}

RgbaPicture LabelPicture(const MainLabel& label, std::string_view text, bool lit)
{
    // Black is left out when drawn, so the start screen shows around the letters.
    MenuCanvas canvas(label.width, label.height, kBlack);
    canvas.Label({0, 0, label.width, label.height}, text, 2, lit ? 0xFFE080 : 0xE07830);
    return canvas.Picture();
}

RgbaPicture Gradient(uint32_t top, uint32_t bottom)
{
    MenuCanvas canvas(640, 480, top);
    for (int y = 0; y < 480; ++y)
    {
        const auto mix = [y](uint32_t a, uint32_t b, int shift)
        {
            const int from = static_cast<int>((a >> shift) & 0xFF);
            const int to = static_cast<int>((b >> shift) & 0xFF);
            return static_cast<uint32_t>(from + (to - from) * y / 479) << shift;
        };
        canvas.Fill({0, y, 640, y + 1},
                    mix(top, bottom, 16) | mix(top, bottom, 8) | mix(top, bottom, 0));
    }
    return canvas.Picture();
}

RgbaPicture PageBackground(uint32_t top, uint32_t bottom, std::string_view title)
{
    const RgbaPicture gradient = Gradient(top, bottom);
    MenuCanvas canvas(640, 480, top);
    for (int y = 0; y < 480; ++y)
    {
        for (int x = 0; x < 640; ++x)
        {
            const uint8_t* pixel = &gradient.rgba[(static_cast<size_t>(y) * 640 + x) * 4];
            canvas.SetPixel(x, y,
                            (uint32_t{pixel[0]} << 16) | (uint32_t{pixel[1]} << 8) | pixel[2]);
        }
    }
    canvas.Bevel({186, 128, 630, 393}, 0x304050, true);
    canvas.Label({186, 60, 630, 100}, title, 2, 0xC8D8F0);
    return canvas.Picture();
}

// The circuit information page's picture: the circuit as a ring on the left; the text column
// on the right stays plain.
RgbaPicture InfoBackground(uint32_t top, uint32_t bottom, int circuit)
{
    RgbaPicture picture = Gradient(top, bottom);
    const int radiusX = 120 + circuit * 3;
    const int radiusY = 90 - circuit * 2;
    for (int y = 0; y < 480; ++y)
    {
        for (int x = 0; x < 400; ++x)
        {
            const double dx = (x - 200.0) / radiusX;
            const double dy = (y - 260.0) / radiusY;
            const double distance = dx * dx + dy * dy;
            if (distance > 0.85 && distance < 1.0)
            {
                uint8_t* pixel = &picture.rgba[(static_cast<size_t>(y) * 640 + x) * 4];
                pixel[0] = 0xB0;
                pixel[1] = 0xB0;
                pixel[2] = 0xA8;
            }
        }
    }
    return picture;
}

// The overviews' backgrounds: a framed box behind every tile.
struct TileGrid
{
    int first;
    int count;
    int x;
    int y;
};

RgbaPicture OverviewBackground(uint32_t top, uint32_t bottom, const std::vector<TileGrid>& rows,
                               int pitch, int width, int height)
{
    const RgbaPicture gradient = Gradient(top, bottom);
    MenuCanvas canvas(640, 480, top);
    for (int y = 0; y < 480; ++y)
    {
        for (int x = 0; x < 640; ++x)
        {
            const uint8_t* pixel = &gradient.rgba[(static_cast<size_t>(y) * 640 + x) * 4];
            canvas.SetPixel(x, y,
                            (uint32_t{pixel[0]} << 16) | (uint32_t{pixel[1]} << 8) | pixel[2]);
        }
    }
    for (const TileGrid& row : rows)
    {
        for (int k = 0; k < row.count; ++k)
        {
            const int x = row.x + pitch * k;
            canvas.Bevel({x + 2, row.y + 2, x + width - 2, row.y + height - 2}, 0x304050, true);
            canvas.Label({x + 4, row.y + 6, x + width - 4, row.y + 40},
                         std::to_string(row.first + k + 1), 2, 0xC8D8F0);
        }
    }
    return canvas.Picture();
}

RgbaPicture OvalPicture()
{
    MenuCanvas canvas(60, 40, kBlack);
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 60; ++x)
        {
            const int dx = x - 30;
            const int dy = y - 20;
            if (dx * dx * 400 + dy * dy * 900 <= 900 * 400)
            {
                canvas.SetPixel(x, y, 0xF0F0E8);
            }
        }
    }
    return canvas.Picture();
}
}  // namespace

RgbaPicture DemoButtonSheet(bool lit, Language language)
{
    MenuCanvas canvas(1228, 94, kBlack);
    for (const SheetButton& button : kSheetButtons)
    {
        const Box box{button.x, 0, button.x + button.width, button.height};
        canvas.Bevel(box, lit ? 0xDCB43C : 0x50648C, false);
        // Only the top 30 rows of the tall class buttons are on screen.
        const Box labelBox{box.left, 0, box.right, std::min(button.height, 30)};
        const std::string_view label = button.x == 0 ? WordsOf(language).back : button.label;
        canvas.Label(labelBox, label, button.height > 60 ? 2 : 1, lit ? 0x282828 : 0xFFFFFF);
    }
    return canvas.Picture();
}

RgbaPicture DemoFrameKit(int look)
{
    constexpr std::array<uint32_t, 3> kLooks = {0x6478A0, 0xA07850, 0x609068};
    MenuCanvas canvas(512, 16, kBlack);
    for (int x = 0; x < 512; x += 16)
    {
        canvas.Bevel({x, 0, x + 16, 16}, kLooks.at(static_cast<size_t>(look)), false);
    }
    return canvas.Picture();
}

RgbaPicture DemoHeadlineSheet(Language language)
{
    const auto& headlines = WordsOf(language).headlines;
    MenuCanvas canvas(512, kHeadlineRow * static_cast<int>(headlines.size()), kBlack);
    for (size_t row = 0; row < headlines.size(); ++row)
    {
        const int top = static_cast<int>(row) * kHeadlineRow;
        canvas.Fill({0, top, 450, top + kHeadlineRow}, 0x1E2A6E);
        canvas.Label({0, top, 450, top + kHeadlineRow}, headlines[row], 3, 0xF0F0FF);
    }
    return canvas.Picture();
}

bool AddMainMenuPictures(CprWriter& menuArchive, Language language, std::string& error)
{
    const auto addBmp = [&](const std::string& name, const RgbaPicture& picture)
    { return menuArchive.Add(name, WriteBmp24(picture), MemberStorage::Smaller, error); };
    const auto addJpeg = [&](const std::string& name, const RgbaPicture& picture)
    {
        const std::optional<std::vector<uint8_t>> jpeg = WriteJpeg(picture, kJpegQuality);
        if (!jpeg)
        {
            error = "cannot write " + name;
            return false;
        }
        return menuArchive.Add(name, *jpeg, MemberStorage::Stored, error);
    };
    const MenuWords& words = WordsOf(language);
    bool added = addBmp("MainMenu/ButtonsI.bmp", DemoButtonSheet(false, language)) &&
                 addBmp("MainMenu/ButtonsA.bmp", DemoButtonSheet(true, language)) &&
                 addBmp("MainMenu/Ueberschriften.bmp", DemoHeadlineSheet(language));
    for (int label = 1; added && label <= 9; ++label)
    {
        const MainLabel& place = kLabels[static_cast<size_t>(label - 1)];
        const std::string_view text = words.labels[static_cast<size_t>(label - 1)];
        char name[32];
        std::snprintf(name, sizeof(name), "mainmenu/LI%.2d.bmp", label);
        added = addBmp(name, LabelPicture(place, text, false));
        std::snprintf(name, sizeof(name), "mainmenu/LA%.2d.bmp", label);
        added = added && addBmp(name, LabelPicture(place, text, true));
    }
    MenuCanvas headline(450, 55, 0x1E2A6E);
    headline.Label({0, 0, 450, 55}, words.circuitInfo, 3, 0xF0F0FF);
    added =
        added && addJpeg("streckeninfo/infoheadline.jpg", headline.Picture()) &&
        addJpeg("MainMenu/fahrerscreen.jpg", PageBackground(0x283C64, 0x101828, words.riderPage)) &&
        addJpeg("MainMenu/streckenscreen.jpg",
                PageBackground(0x284C30, 0x101C14, words.circuitPage)) &&
        addJpeg("mainmenu/ServerScreen.jpg",
                PageBackground(0x3C2864, 0x181028, words.serverPage)) &&
        addJpeg("mainmenu/ClientScreen.jpg", PageBackground(0x3C2864, 0x181028, words.playerPage));
    if (language != Language::German)
    {
        // The English archive takes the pictures without words from the German one.
        return added;
    }
    added = added && addBmp("MainMenu/oval.bmp", OvalPicture());
    MenuCanvas ghost(512, 2 * kHeadlineRow, kBlack);
    ghost.Fill({0, 0, 450, 2 * kHeadlineRow}, 0x1E2A6E);
    ghost.Label({0, 0, 450, kHeadlineRow}, "GEISTERRENNEN", 3, 0xF0F0FF);
    ghost.Label({0, kHeadlineRow, 450, 2 * kHeadlineRow}, "GHOST RACE", 3, 0xF0F0FF);
    added = added && addBmp("MainMenu/Ueberschrift.bmp", ghost.Picture());
    constexpr std::array<const char*, 3> kKits = {
        "MainMenu/rahmenbausatz.bmp", "MainMenu/rahmenbausatz2.bmp", "MainMenu/rahmenbausatz3.bmp"};
    for (int look = 0; added && look < 3; ++look)
    {
        added = addBmp(kKits[static_cast<size_t>(look)], DemoFrameKit(look));
    }
    // The circuit information page: a picture per circuit and the OK button.
    const std::string infoNames[] = {
        "shahalam.jpg",   "suzuka.jpg", "jerez.jpg",     "Mugello.jpg",  "a1ring.jpg",
        "frankreich.jpg", "assen.jpg",  "imola.jpg",     "nuerburg.jpg", "brasilien.jpg",
        "donington.jpg",  "bruenn.jpg", "catalunya.jpg", "sentul.jpg",   "pi.jpg",
        "netz1.jpg",      "netz2.jpg",  "netz3.jpg"};
    for (size_t circuit = 0; added && circuit < std::size(infoNames); ++circuit)
    {
        const uint32_t shade = static_cast<uint32_t>(circuit) * 6;
        added = addJpeg(
            "streckeninfo/info" + infoNames[circuit],
            InfoBackground(0x203048 + (shade << 16), 0x0C1420 + shade, static_cast<int>(circuit)));
    }
    MenuCanvas okNormal(48, 40, kBlack);
    okNormal.Bevel({0, 0, 48, 40}, 0x50648C, false);
    okNormal.Label({0, 0, 48, 40}, "OK", 2, 0xFFFFFF);
    MenuCanvas okLit(48, 40, kBlack);
    okLit.Bevel({0, 0, 48, 40}, 0xDCB43C, false);
    okLit.Label({0, 0, 48, 40}, "OK", 2, 0x282828);
    added = added && addBmp("OKA.bmp", okNormal.Picture()) && addBmp("OKH.bmp", okLit.Picture());
    for (int bikeClass = 0; added && bikeClass < 3; ++bikeClass)
    {
        // 25 riders, 26 in the 250 ccm class.
        const std::vector<TileGrid> riders = {{0, 6, 92, 107},
                                              {6, 7, 2, 197},
                                              {13, 7, 2, 287},
                                              {20, bikeClass == 1 ? 6 : 5, 92, 377}};
        const std::string name =
            "MainMenu/overview" + std::to_string(bikeClass == 0 ? 125 : bikeClass * 250) + ".jpg";
        added = addJpeg(name, OverviewBackground(0x283C64, 0x101828, riders, 90, 88, 85));
    }
    // A portrait per rider of each class: 25, 26 and 25.
    for (int bikeClass = 0; added && bikeClass < 3; ++bikeClass)
    {
        const int size = bikeClass == 0 ? 125 : bikeClass * 250;
        for (int rider = 1; added && rider <= (bikeClass == 1 ? 26 : 25); ++rider)
        {
            MenuCanvas face(104, 83, 0x203040 + static_cast<uint32_t>(rider * 0x050302));
            face.Bevel({30, 10, 74, 60}, 0xC09070, false);
            face.Label({0, 60, 104, 83}, std::to_string(rider), 1, 0xF0F0F0);
            char name[40];
            std::snprintf(name, sizeof(name), "fressen/%dfressen/%.2d.bmp", size, rider);
            added = addBmp(name, face.Picture());
        }
    }
    const std::vector<TileGrid> circuits = {
        {0, 5, 59, 102}, {5, 5, 59, 192}, {10, 5, 59, 282}, {15, 3, 173, 372}};
    return added && addJpeg("strecken/uebersicht.jpg",
                            OverviewBackground(0x284C30, 0x101C14, circuits, 114, 114, 90));
}
}  // namespace kit
