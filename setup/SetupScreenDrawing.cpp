// What the set-up screen draws for one repaint list: the page picture, the panels, the rider,
// the page's own contents, the summary and the icon bar, then the diagrams straight into the
// frame buffer.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/device/RenderDevice.h"
#include "app/settings/MenuState.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/KnobDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "setup/CircuitTitleLines.h"
#include "setup/SetupDiagrams.h"
#include "setup/SetupScreen.h"
#include "setup/SetupTexts.h"

namespace
{
constexpr uint32_t kSummaryColour = 0x412a12;
constexpr uint32_t kTitleColour = 0xFFFFFF;
constexpr uint32_t kCoolingColour = 0x7bc3be;
constexpr uint32_t kAirColour = 0xffb26a;
constexpr uint32_t kScaleColour = 0x402911;
constexpr uint32_t kGearboxColour = 0x5f3d16;
constexpr std::array<uint32_t, 4> kFrontValueColours = {0x7bc3be, 0x7fb5ff, 0x8093ff, 0x7976fb};
constexpr std::array<uint32_t, 4> kRearValueColours = {0x53e5ff, 0x53b4fe, 0x608cff, 0x6a68ff};
constexpr std::array<int32_t, 4> kValueX = {363, 347, 332, 315};
constexpr std::array<int32_t, 4> kValueY = {229, 275, 321, 367};
constexpr std::array<int32_t, 6> kGearMarkerX = {222, 245, 270, 293, 319, 343};
constexpr std::array<int32_t, 3> kBrakeMarkerX = {351, 374, 397};
constexpr std::array<int32_t, 5> kSummaryY = {161, 199, 238, 276, 314};
// The air's three lines, ten pixels apart, fit between the panel's top edge and the engine
// diagram's, which starts at y 128.
constexpr int32_t kAirLineY = 95;
constexpr int32_t kAirLineSpacing = 10;
constexpr std::array<int32_t, 10> kPowerLabelY = {328, 308, 288, 267, 247, 227, 207, 187, 166, 146};
constexpr std::array<int32_t, 16> kRpmLabelX = {194, 218, 243, 267, 291, 315, 339, 363,
                                                388, 412, 436, 460, 484, 508, 532, 557};
constexpr std::array<int32_t, 3> kPowerStep = {4, 10, 15};

std::string Format(const char* format, int value)
{
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

void Text(int32_t x, int32_t y, uint32_t colour, const std::string& text,
          int32_t alignment = kAlignLeft)
{
    DrawColorTextClipped(x, y, colour, text.c_str(), alignment);
}
}  // namespace

void SetupScreen::DrawPage(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    const SetupPage page = m_pages->Page();
    if (page == SetupPage::CircuitInfo)
    {
        CircuitInfoScreen::Draw();
        DrawCountdown();
        return;
    }
    // The requester pages lie over the main picture.
    const SetupPage pictured = page > SetupPage::Gearbox ? SetupPage::Main : page;
    Texture* picture = m_pagePictures[static_cast<size_t>(pictured)];
    if (picture != nullptr)
    {
        DrawBitmapClipped(picture, 0, 0, 0, 0, 640, 480, 0);
    }
    DrawPanel(SetupPage::Main);
    SetTextFont(GetMenuFont(MenuFont::Menu18));
    Text(18, 60, 0xFFFFFF, m_context.riderName);
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    Text(18, 80, 0xFFFFFF, m_context.riderTeam);
    DrawPageContent();
    DrawSummary();
    DrawIcons();
    const auto bikeClass = static_cast<int32_t>(ToIndex(m_context.race->bikeClass));
    Texture* classes = GetMenuPicture(MenuPicture::ClassPicture);
    if (classes != nullptr)
    {
        DrawBitmapClipped(classes, 0, 31 * bikeClass, 403, 56, 160, 31, 1);
    }
    if (m_context.settings != nullptr)
    {
        SetTextFont(GetMenuFont(MenuFont::Menu16));
        DrawCircuitTitleLines(m_context.language,
                              m_context.settings->U32At(MenuState::kCircuitOffset), 568, 56,
                              kTitleColour, kAlignCentre);
    }
    DrawDiagrams(list);
    if (page == SetupPage::LoadSetup || page == SetupPage::SaveSetup)
    {
        g_fileRequester.Draw();
    }
    DrawCountdown();
}

void SetupScreen::DrawCountdown() const
{
    if (m_context.drawSessionCountdown)
    {
        m_context.drawSessionCountdown();
    }
}

void SetupScreen::DrawPanel(SetupPage page)
{
    const auto index = static_cast<size_t>(page);
    if (index >= m_panels.size())
    {
        return;
    }
    for (const Gadget& gadget : m_panels[index])
    {
        if (gadget.visible == 0)
        {
            continue;
        }
        // A lit gadget shows its lit picture; the others their normal one, when they have one.
        Texture* sheet = nullptr;
        if (gadget.hover != 0 && gadget.hoverPicture >= 0)
        {
            sheet = m_litSlots[static_cast<size_t>(gadget.hoverPicture)];
        }
        else if (gadget.normalPicture >= 0)
        {
            sheet = m_normalSlots[static_cast<size_t>(gadget.normalPicture)];
        }
        if (sheet != nullptr)
        {
            DrawBitmapClipped(sheet, gadget.sourceX, gadget.sourceY, gadget.screenX, gadget.screenY,
                              gadget.width, gadget.height, 0);
        }
    }
}

void SetupScreen::DrawPageContent()
{
    const SetupPage page = m_pages->Page();
    const BikeSetup& setup = m_pages->Player().setup;
    const SetupTexts& texts = SetupTextsOf(m_context.language);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    switch (page)
    {
        case SetupPage::Tyres:
        {
            const int category = static_cast<int>(m_pages->WorkingTyreCategory());
            if (m_largeTyres != nullptr)
            {
                DrawBitmapClipped(m_largeTyres, 0, category * 171, 200, 238, 164, 171, 0);
                DrawBitmapClipped(m_largeTyres, 290, category * 171, 490, 238, 150, 171, 0);
            }
            if (m_tyreTexts != nullptr)
            {
                DrawBitmapClipped(m_tyreTexts, 0, category == 0 ? 0 : 142, 356, 261, 138, 142, 0);
            }
            break;
        }
        case SetupPage::Brakes:
            Text(237, 384, kSummaryColour,
                 std::string(texts.brakeCharacteristic[static_cast<size_t>(
                     m_pages->BrakeCharacteristic())]));
            if (m_normalSlots[1] != nullptr)
            {
                DrawBitmapClipped(
                    m_normalSlots[1], 78, 70,
                    kBrakeMarkerX[static_cast<size_t>(m_pages->BrakeCharacteristic())], 380, 17, 13,
                    1);
            }
            break;
        case SetupPage::Cooling:
            DrawSpriteClipped(kKnobTexture, m_pages->CoolingSlider());
            Text(280, 369, kCoolingColour, m_pages->CoolingLabel());
            break;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
        {
            const auto& colours =
                page == SetupPage::FrontSuspension ? kFrontValueColours : kRearValueColours;
            for (int i = 0; i < SetupPages::kSuspensionSliders; ++i)
            {
                const Slider& slider = m_pages->SuspensionSlider(i);
                Text(kValueX[static_cast<size_t>(i)], kValueY[static_cast<size_t>(i)],
                     colours[static_cast<size_t>(i)],
                     Format("%d", static_cast<int>(std::trunc(slider.value))));
                DrawSpriteClipped(kKnobTexture, slider);
            }
            break;
        }
        case SetupPage::Ignition:
        {
            for (int i = 0; i < SetupPages::kIgnitionSliders; ++i)
            {
                DrawSpriteClipped(kKnobTexture, m_pages->IgnitionSlider(i));
            }
            const RaceConditions& air = m_context.race->conditions;
            const std::array<std::string, 3> values = {
                Format("%d hpa", static_cast<int>(air.pressureMmHg * 1.3332f)),
                Format("%d \xB0"
                       "C",
                       static_cast<int>(air.airTemperature)),
                Format("%d %%", static_cast<int>(air.humidity))};
            for (size_t row = 0; row < values.size(); ++row)
            {
                const int32_t y = kAirLineY + kAirLineSpacing * static_cast<int32_t>(row);
                Text(263, y, kAirColour, std::string(texts.airLabels[row]), kAlignRight);
                Text(273, y, kAirColour, values[row]);
            }
            const int step = kPowerStep[ToIndex(m_context.race->bikeClass)];
            for (size_t i = 0; i < kPowerLabelY.size(); ++i)
            {
                Text(602, kPowerLabelY[i], kScaleColour,
                     Format("%d", static_cast<int>(i + 1) * step));
            }
            Text(572, 146, kScaleColour, "KW");
            for (size_t i = 0; i < kRpmLabelX.size(); ++i)
            {
                Text(kRpmLabelX[i], 347, kScaleColour, Format("%d", static_cast<int>(i)));
            }
            Text(74, 347, kScaleColour, "U/min in tsd");
            break;
        }
        case SetupPage::Gearbox:
        {
            if (m_normalSlots[1] != nullptr)
            {
                DrawBitmapClipped(m_normalSlots[1], 78, 70,
                                  kGearMarkerX[static_cast<size_t>(m_pages->SelectedGear())], 380,
                                  17, 13, 1);
            }
            Text(476, 366, kGearboxColour, Format("%d", setup.frontSprocket));
            Text(476, 380, kGearboxColour, Format("%d", setup.rearSprocket));
            Text(549, 105, kGearboxColour,
                 std::string(m_pages->Gearbox().RatioText(m_pages->SelectedGear())));
            break;
        }
        default:
            break;
    }
    DrawPanel(page);
}

void SetupScreen::DrawSummary()
{
    const int active = SummaryBarOf(m_pages->Page());
    for (int bar = 0; bar < static_cast<int>(kSummaryBars.size()); ++bar)
    {
        Texture* strip = bar == active ? m_barsActive : m_barsInactive;
        if (strip != nullptr)
        {
            DrawBitmapClipped(strip, 0, kSummaryBarHeight * bar, kSummaryBarX,
                              kSummaryBars[static_cast<size_t>(bar)].y,
                              kSummaryBars[static_cast<size_t>(bar)].width, kSummaryBarHeight, 0);
        }
    }
    const SetupSummary& summary = m_pages->Summary();
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    const std::array<const std::string*, 5> lines = {
        &summary.tyres, &summary.brakes, &summary.cooling, &summary.suspension, &summary.gearing};
    for (size_t i = 0; i < lines.size(); ++i)
    {
        Text(36, kSummaryY[i], kSummaryColour, *lines[i]);
    }
}

void SetupScreen::DrawIcons()
{
    if (m_iconStrip == nullptr)
    {
        return;
    }
    for (int i = 0; i < kSetupIcons; ++i)
    {
        const Icon& icon = m_icons[static_cast<size_t>(i)];
        const int row = kIconSize * i;
        int sourceX = kIconSize * icon.frame;
        if (icon.lit)
        {
            sourceX = kIconSize * 16;
        }
        else if (icon.disabled)
        {
            sourceX = kIconSize * 17;
        }
        DrawBitmapClipped(m_iconStrip, sourceX, row, IconLeft(i), kIconTop, kIconSize, kIconSize,
                          0);
    }
}

void SetupScreen::DrawDiagrams(const DirtyRectList& list)
{
    const SetupPage page = m_pages->Page();
    if (page != SetupPage::Brakes && page != SetupPage::Ignition && page != SetupPage::Gearbox)
    {
        return;
    }
    LfbInfo lock;
    if (g_renderDevice.LockLFB(&lock) == 0 || lock.address == nullptr)
    {
        return;  // the rest of the page stands without its diagram
    }
    const FrameBuffer16 frame{static_cast<uint16_t*>(lock.address), lock.stride / 2};
    const BikeClass bikeClass = m_context.race->bikeClass;
    const uint16_t selected = g_renderDevice.GetScreenColor(0x0000FF);
    const uint16_t others = g_renderDevice.GetScreenColor(0xFFFFFF);
    ScreenRect rect;
    int32_t index = 0;
    while (list.GetNext(&rect, &index))
    {
        switch (page)
        {
            case SetupPage::Brakes:
                DrawBrakeDiagram(frame, rect, m_pages->BrakeValueA(), m_pages->BrakeValueB());
                break;
            case SetupPage::Ignition:
                DrawEngineCurve(frame, rect, m_pages->Player().engineCurve, bikeClass);
                break;
            default:
                DrawGearCurves(frame, rect, m_pages->GearCurve(), m_pages->Player().setup,
                               bikeClass, m_pages->SelectedGear(), selected, others);
                break;
        }
    }
    g_renderDevice.UnlockLFB(&lock);
}
