#include "kit/setup/SetupPictures.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "kit/menu/MenuCanvas.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TgaWriter.h"
#include "kit/startup/JpegWriter.h"
#include "setup/SetupScreenLayout.h"

namespace kit
{
namespace
{
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr uint32_t kWood = 0x8C6A44;
constexpr uint32_t kPanel = 0xC8B48C;
constexpr uint32_t kPaper = 0xE6DCC0;
constexpr uint32_t kDark = 0x3C2C1C;
constexpr uint32_t kLit = 0xF0C850;

struct PageDesign
{
    SetupPage page;
    std::array<std::string_view, kLanguageCount> title;  // German, English
    bool diagram;
};

constexpr std::array<PageDesign, 8> kPages = {{
    {SetupPage::Main, {"SETUP", "SETUP"}, false},
    {SetupPage::Tyres, {"REIFEN", "TYRES"}, false},
    {SetupPage::Brakes, {"BREMSE", "BRAKES"}, true},
    {SetupPage::Cooling, {"KUEHLUNG", "COOLING"}, false},
    {SetupPage::FrontSuspension, {"FEDERUNG VORN", "FRONT SUSPENSION"}, false},
    {SetupPage::RearSuspension, {"FEDERUNG HINTEN", "REAR SUSPENSION"}, false},
    {SetupPage::Ignition, {"ZUENDUNG", "IGNITION"}, true},
    {SetupPage::Gearbox, {"GETRIEBE", "GEARBOX"}, true},
}};

constexpr std::array<std::array<std::string_view, 3>, kLanguageCount> kTyreLabels = {{
    {"SLICK", "INTER", "REGEN"},
    {"SLICK", "INTER", "RAIN"},
}};

RgbaPicture PageBackground(const PageDesign& page, Language language)
{
    MenuCanvas canvas(kScreenWidth, kScreenHeight, kWood);
    canvas.Bevel({4, 4, 636, 50}, kPanel, false);
    canvas.Label({180, 8, 400, 46}, page.title[ToIndex(language)], 2, kDark);
    canvas.Bevel({28, 128, 170, 326}, kPanel, true);  // the summary
    canvas.Bevel({64, 424, 636, 484}, kPanel, true);  // the icon bar
    if (page.page != SetupPage::Main)
    {
        canvas.Bevel({190, 96, 632, 416}, kPaper, true);
    }
    if (page.diagram)
    {
        canvas.Fill({200, 128, 612, 360}, 0x2C3C5C);
        canvas.Fill({200, 358, 612, 359}, 0x7080A0);  // the base line
    }
    return canvas.Picture();
}

RgbaPicture SummaryBars(bool active)
{
    MenuCanvas canvas(128, 120, kDark);
    for (int bar = 0; bar < 5; ++bar)
    {
        canvas.Bevel({0, 24 * bar, 128, 24 * bar + 24}, active ? kLit : kPanel, false);
    }
    return canvas.Picture();
}

// One row of 48 x 48 cells per icon: the animation frames, then the lit and the disabled one.
RgbaPicture IconStrip()
{
    MenuCanvas canvas(18 * kIconSize, kSetupIcons * kIconSize, kDark);
    for (int icon = 0; icon < kSetupIcons; ++icon)
    {
        const int top = icon * kIconSize;
        const std::string label = std::to_string(icon + 1);
        for (int frame = 0; frame < 18; ++frame)
        {
            const int left = frame * kIconSize;
            const uint32_t face = frame == 16 ? kLit : frame == 17 ? 0x808080 : kPanel;
            canvas.Bevel({left, top, left + kIconSize, top + kIconSize}, face, false);
            canvas.Label({left + 8, top + 8, left + 40, top + 40}, label, 2, kDark);
            if (frame < 16)
            {
                canvas.Fill({left + 4 + 2 * frame, top + 40, left + 8 + 2 * frame, top + 44},
                            0xC03020);
            }
        }
    }
    return canvas.Picture();
}

// Every gadget's picture at its screen place, and the 17 x 13 marker at (78, 70).
RgbaPicture GadgetSheet(bool lit)
{
    MenuCanvas canvas(kScreenWidth, kScreenHeight, 0x000000);
    for (int page = 0; page <= static_cast<int>(SetupPage::Gearbox); ++page)
    {
        for (const SetupGadgetPlace& place : PanelGadgets(static_cast<SetupPage>(page)))
        {
            if (place.litPicture != 1 && place.normalPicture != 1)
            {
                continue;
            }
            const Box box{place.sourceX, place.sourceY, place.sourceX + place.width,
                          place.sourceY + place.height};
            canvas.Bevel(box, lit ? kLit : kPanel, false);
        }
    }
    canvas.Fill({78, 70, 95, 83}, lit ? kLit : 0xD04020);
    return canvas.Picture();
}

RgbaPicture SmallTyres(bool highlighted, Language language)
{
    MenuCanvas canvas(374, 94, 0x000000);
    constexpr std::array<Box, 3> kBoxes = {{{0, 0, 120, 94}, {120, 0, 244, 94}, {244, 0, 374, 94}}};
    for (size_t i = 0; i < kBoxes.size(); ++i)
    {
        canvas.Bevel(kBoxes[i], highlighted ? kLit : kPanel, false);
        canvas.Label(kBoxes[i], kTyreLabels[ToIndex(language)][i], 2, kDark);
    }
    return canvas.Picture();
}

RgbaPicture LargeTyres(int bikeClass)
{
    MenuCanvas canvas(440, 3 * 171, kPaper);
    for (int category = 0; category < 3; ++category)
    {
        const int top = category * 171;
        const int tread = 6 + 4 * category + 2 * bikeClass;
        canvas.Fill({20, top + 10, 144, top + 161}, 0x282828);
        for (int y = top + 14; y < top + 157; y += tread)
        {
            canvas.Fill({24, y, 140, y + 2}, 0x505050);
        }
        canvas.Fill({310, top + 10, 420, top + 161}, 0x282828);
    }
    return canvas.Picture();
}

RgbaPicture TyreTexts()
{
    MenuCanvas canvas(138, 284, kPaper);
    canvas.Label({0, 0, 138, 142}, "1 2 3 4 5", 1, 0xF0F0F0);
    canvas.Label({0, 142, 138, 284}, "2 3 4", 1, 0xF0F0F0);
    return canvas.Picture();
}

// A texture's sides are powers of two; the knob is drawn stretched to 56 x 6.
RgbaPicture Knob()
{
    MenuCanvas canvas(64, 8, 0xC83C3C);
    canvas.Fill({0, 0, 64, 2}, 0xF08080);
    return canvas.Picture();
}

bool AddJpeg(CprWriter& archive, std::string_view name, const RgbaPicture& picture,
             std::string& error)
{
    const std::optional<std::vector<uint8_t>> jpeg = WriteJpeg(picture, 92);
    if (!jpeg)
    {
        error = "cannot encode " + std::string(name);
        return false;
    }
    return archive.Add(name, *jpeg, MemberStorage::Stored, error);
}

bool AddBmp(CprWriter& archive, std::string_view name, const RgbaPicture& picture,
            std::string& error)
{
    return archive.Add(name, WriteBmp24(picture), MemberStorage::Smaller, error);
}

// The pictures with words on them, in the language.
bool AddWordedPictures(CprWriter& menu, Language language, std::string& error)
{
    for (const PageDesign& page : kPages)
    {
        if (page.page == SetupPage::Gearbox)
        {
            for (const BikeClass bikeClass :
                 {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
            {
                if (!AddJpeg(menu, PagePicture(page.page, bikeClass),
                             PageBackground(page, language), error))
                {
                    return false;
                }
            }
        }
        else if (!AddJpeg(menu, PagePicture(page.page, BikeClass::Class125),
                          PageBackground(page, language), error))
        {
            return false;
        }
    }
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        if (!AddJpeg(menu, SmallTyrePicture(bikeClass, false), SmallTyres(false, language),
                     error) ||
            !AddJpeg(menu, SmallTyrePicture(bikeClass, true), SmallTyres(true, language), error))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

bool AddSetupPictures(DemoArchives& archives, std::string& error)
{
    CprWriter& menu = archives.menu;
    bool added = AddWordedPictures(menu, Language::German, error) &&
                 AddWordedPictures(archives.englishMenu, Language::English, error) &&
                 AddBmp(menu, kSummaryBarsActive, SummaryBars(true), error) &&
                 AddBmp(menu, kSummaryBarsInactive, SummaryBars(false), error) &&
                 AddBmp(menu, kIconStrip, IconStrip(), error) &&
                 AddBmp(menu, kGadgetSheet, GadgetSheet(false), error) &&
                 AddBmp(menu, kLitGadgetSheet, GadgetSheet(true), error) &&
                 AddJpeg(menu, kTyreTexts, TyreTexts(), error) &&
                 menu.Add(kKnobPicture, WriteTga(Knob(), 32), MemberStorage::Stored, error);
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        added = added && AddJpeg(menu, LargeTyrePicture(bikeClass),
                                 LargeTyres(static_cast<int>(ToIndex(bikeClass))), error);
    }
    return added;
}
}  // namespace kit
