#include "setup/SetupScreen.h"

#include <algorithm>
#include <cmath>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "app/settings/MenuState.h"
#include "core/files/FileSystem.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "race/laps/LapFile.h"

namespace
{
constexpr uint32_t kRepeatDelayMs = 600;
constexpr int kBothBuffers = 2;

int ControlOffset(SetupControl control, SetupControl first)
{
    return static_cast<int>(control) - static_cast<int>(first);
}

bool InRange(SetupControl control, SetupControl first, int count)
{
    const int offset = ControlOffset(control, first);
    return offset >= 0 && offset < count;
}

void LoadPicture(std::string_view name, Texture** handle)
{
    g_renderDevice.LoadMemoryTexture(std::string(name).c_str(), handle);
}
}  // namespace

SetupScreen::SetupScreen(const SetupScreenContext& context)
    : m_context(context),
      m_pages(
          std::make_unique<SetupPages>(*context.player, *context.race, context.topSpeedReference)),
      m_recorder({.circuit = context.settings != nullptr
                                 ? context.settings->U32At(MenuState::kCircuitOffset)
                                 : 0,
                  .circuitName = context.race->circuitName,
                  .bikeClass = context.race->bikeClass,
                  .language = context.language,
                  .slotChannels = &m_telemetryChannels})
{
}

SetupScreen::~SetupScreen()
{
    ReleaseResources();
}

int32_t SetupScreen::Load()
{
    g_renderDevice.SetArchive(g_archiveMenu);
    ClearAllKeys();
    m_leave = 0;
    m_icons = {};
    // Telemetry needs a recorded lap of the session.
    m_icons[static_cast<size_t>(kTelemetryIcon)].disabled =
        !files::IsFile(SessionLapPath(1)) || CountdownShown();
    m_icons[static_cast<size_t>(kCircuitIcon)].disabled = CountdownShown();
    m_pages->Open();
    m_pages->SetLanguage(m_context.language);

    if (g_renderDevice.GetTexture(kKnobTexture) == nullptr)
    {
        g_renderDevice.LoadTexture(std::string(kKnobPicture).c_str(), kKnobTexture, 0, 0);
    }
    const BikeClass bikeClass = m_context.race->bikeClass;
    for (int page = 0; page <= static_cast<int>(SetupPage::Gearbox); ++page)
    {
        LoadPicture(PagePicture(static_cast<SetupPage>(page), bikeClass),
                    &m_pagePictures[static_cast<size_t>(page)]);
    }
    LoadPicture(kSummaryBarsActive, &m_barsActive);
    LoadPicture(kSummaryBarsInactive, &m_barsInactive);
    LoadPicture(kIconStrip, &m_iconStrip);
    LoadPicture(SmallTyrePicture(bikeClass, false), &m_normalSlots[0]);
    LoadPicture(kGadgetSheet, &m_normalSlots[1]);
    LoadPicture(SmallTyrePicture(bikeClass, true), &m_litSlots[0]);
    LoadPicture(kLitGadgetSheet, &m_litSlots[1]);
    LoadPicture(LargeTyrePicture(bikeClass), &m_largeTyres);
    LoadPicture(kTyreTexts, &m_tyreTexts);
    BuildPanels();
    m_loaded = true;
    m_redraw = kBothBuffers;
    return 1;
}

void SetupScreen::ReleaseResources()
{
    if (!m_loaded)
    {
        return;
    }
    if (m_telemetryOpen)
    {
        m_recorder.ReleaseResources();
        m_telemetryOpen = m_telemetryRequested = false;
    }
    LeaveSubPage();
    for (Texture** picture :
         {&m_barsActive, &m_barsInactive, &m_iconStrip, &m_largeTyres, &m_tyreTexts,
          &m_normalSlots[0], &m_normalSlots[1], &m_litSlots[0], &m_litSlots[1]})
    {
        if (*picture != nullptr)
        {
            g_renderDevice.FreeMemoryTexture(picture);
        }
    }
    for (Texture*& picture : m_pagePictures)
    {
        if (picture != nullptr)
        {
            g_renderDevice.FreeMemoryTexture(&picture);
        }
    }
    m_context.race->engineConditions = m_context.engineConditionsAfterwards ? 1 : 0;
    m_loaded = false;
}

void SetupScreen::BuildPanels()
{
    for (int page = 0; page < static_cast<int>(m_panels.size()); ++page)
    {
        std::vector<Gadget>& gadgets = m_panels[static_cast<size_t>(page)];
        const auto places = PanelGadgets(static_cast<SetupPage>(page));
        gadgets.assign(places.size(), Gadget{});
        m_panelLists[static_cast<size_t>(page)] = {};
        for (size_t i = 0; i < places.size(); ++i)
        {
            const SetupGadgetPlace& place = places[i];
            Gadget& gadget = gadgets[i];
            gadget.normalPicture = place.normalPicture;
            gadget.hoverPicture = place.litPicture;
            gadget.sourceX = place.sourceX;
            gadget.sourceY = place.sourceY;
            gadget.width = place.width;
            gadget.height = place.height;
            gadget.screenX = place.x;
            gadget.screenY = place.y;
            gadget.visible = 1;
            // The compound buttons show the choice, not the pointer.
            const bool compound = InRange(place.control, SetupControl::FrontCompound0, 10);
            if (compound)
            {
                AddPlainGadget(m_panelLists[static_cast<size_t>(page)], gadget);
            }
            else
            {
                AddGadget(m_panelLists[static_cast<size_t>(page)], gadget, 3);
            }
        }
    }
}

void SetupScreen::Mark(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    m_listA.Add(left, top, right, bottom);
    m_listB.Add(left, top, right, bottom);
}

void SetupScreen::MarkAll()
{
    Mark(0, 0, 640, 480);
}

bool SetupScreen::CountdownShown() const
{
    return m_context.sessionCountdownShown && m_context.sessionCountdownShown();
}

void SetupScreen::PressIcon(int icon)
{
    if (m_icons[static_cast<size_t>(icon)].disabled)
    {
        return;
    }
    const SetupPage page = IconPage(icon);
    if (page == SetupPage::LoadSetup || page == SetupPage::SaveSetup)
    {
        OpenRequester(page);
        return;
    }
    if (page == SetupPage::CircuitInfo)
    {
        OpenCircuitInfo();
        return;
    }
    if (page == SetupPage::Main)
    {
        m_telemetryRequested = true;
        return;  // the telemetry opens on the next frame, over the page
    }
    LeaveSubPage();
    m_pages->OpenPage(page);
    SelectIcon(icon);
    SyncTyreButtons();
    MarkAll();
}

// The icon of the open page is selected (-1: none); none stays lit.
void SetupScreen::SelectIcon(int icon)
{
    for (int i = 0; i < kSetupIcons; ++i)
    {
        m_icons[static_cast<size_t>(i)].selected = i == icon;
        m_icons[static_cast<size_t>(i)].underMouse = false;
        m_icons[static_cast<size_t>(i)].lit = false;
    }
}

void SetupScreen::SyncTyreButtons()
{
    std::vector<Gadget>& tyres = m_panels[static_cast<size_t>(SetupPage::Tyres)];
    const auto places = PanelGadgets(SetupPage::Tyres);
    const TyreCategory category = m_pages->WorkingTyreCategory();
    for (size_t i = 0; i < places.size(); ++i)
    {
        const SetupControl control = places[i].control;
        if (InRange(control, SetupControl::FrontCompound0, 5))
        {
            const int index = ControlOffset(control, SetupControl::FrontCompound0);
            tyres[i].visible = index >= SetupPages::FirstCompound(category) &&
                               index <= SetupPages::LastCompound(category);
            tyres[i].hover = index == m_pages->FrontCompound() ? 1 : 0;
        }
        else if (InRange(control, SetupControl::RearCompound0, 5))
        {
            const int index = ControlOffset(control, SetupControl::RearCompound0);
            tyres[i].visible = index >= SetupPages::FirstCompound(category) &&
                               index <= SetupPages::LastCompound(category);
            tyres[i].hover = index == m_pages->RearCompound() ? 1 : 0;
        }
    }
}

Slider* SetupScreen::PageSlider(int index)
{
    switch (m_pages->Page())
    {
        case SetupPage::Cooling:
            return index == 0 ? &m_pages->CoolingSlider() : nullptr;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
            return index < SetupPages::kSuspensionSliders ? &m_pages->SuspensionSlider(index)
                                                          : nullptr;
        case SetupPage::Ignition:
            return index < SetupPages::kIgnitionSliders ? &m_pages->IgnitionSlider(index) : nullptr;
        default:
            return nullptr;
    }
}

void SetupScreen::RunControl(SetupControl control)
{
    SetupPages& pages = *m_pages;
    using C = SetupControl;
    if (control == C::Leave)
    {
        LeaveSubPage();
        pages.LeavePage();
        m_leave = 1;
    }
    else if (control == C::Ok || control == C::Cancel)
    {
        control == C::Ok ? pages.Ok() : pages.Cancel();
        SelectIcon(-1);
    }
    else if (InRange(control, C::TyreCategory0, 3))
    {
        pages.ChooseTyreCategory(
            static_cast<TyreCategory>(ControlOffset(control, C::TyreCategory0)));
    }
    else if (InRange(control, C::FrontCompound0, 5))
    {
        pages.ChooseFrontCompound(ControlOffset(control, C::FrontCompound0));
    }
    else if (InRange(control, C::RearCompound0, 5))
    {
        pages.ChooseRearCompound(ControlOffset(control, C::RearCompound0));
    }
    else if (InRange(control, C::BrakeCharacteristic0, 3))
    {
        pages.ChooseBrakeCharacteristic(ControlOffset(control, C::BrakeCharacteristic0));
    }
    else if (control == C::BrakeBLess || control == C::BrakeBMore)
    {
        pages.StepBrakeValueB(control == C::BrakeBMore ? +1 : -1);
        m_buttonHeld = false;  // the brake arrows step every frame they are held
    }
    else if (control == C::BrakeAMore || control == C::BrakeALess)
    {
        pages.StepBrakeValueA(control == C::BrakeAMore ? +1 : -1);
        m_buttonHeld = false;
    }
    else if (InRange(control, C::SliderKnob0, 4))
    {
        m_activeSlider = ControlOffset(control, C::SliderKnob0);
    }
    else if (InRange(control, C::SliderLess0, 4) || InRange(control, C::SliderMore0, 4))
    {
        const bool more = InRange(control, C::SliderMore0, 4);
        const int slider = ControlOffset(control, more ? C::SliderMore0 : C::SliderLess0);
        const int direction = more ? +1 : -1;
        if (pages.Page() == SetupPage::Ignition)
        {
            pages.StepIgnitionSlider(slider, direction);
        }
        else
        {
            pages.StepSuspensionSlider(slider, direction);
        }
    }
    else if (InRange(control, C::Gear0, 6))
    {
        pages.SelectGear(ControlOffset(control, C::Gear0));
    }
    else if (control == C::GearShorter)
    {
        pages.StepGearShorter();
    }
    else if (control == C::GearLonger)
    {
        pages.StepGearLonger();
    }
    else if (control == C::SecondaryDown || control == C::SecondaryUp)
    {
        control == C::SecondaryUp ? pages.StepSecondaryUp() : pages.StepSecondaryDown();
    }
    SyncTyreButtons();
    MarkAll();
}

void SetupScreen::FollowSlider(int32_t mouseX)
{
    Slider* slider = PageSlider(m_activeSlider);
    if (slider == nullptr)
    {
        return;
    }
    slider->SetFromMouse(mouseX);
    switch (m_pages->Page())
    {
        case SetupPage::Cooling:
            m_pages->SetCoolingSlider(slider->value);
            break;
        case SetupPage::Ignition:
            m_pages->SetIgnitionSlider(m_activeSlider, slider->value);
            break;
        default:
            m_pages->SetSuspensionSlider(m_activeSlider, slider->value);
            break;
    }
    MarkAll();
}

void SetupScreen::HandleInput()
{
    const uint8_t button = ReadKey(vk::LeftButton);
    bool press = false;
    if ((button & kKeyHeld) != 0)
    {
        if (!m_buttonHeld)
        {
            m_pressTimeMs = m_nowMs;
            press = true;
        }
        else if (m_nowMs - m_pressTimeMs > kRepeatDelayMs)
        {
            press = true;  // auto-repeat
        }
    }
    else
    {
        m_buttonHeld = false;
        m_activeSlider = -1;
    }

    std::array<int32_t, 3> cursor{};
    g_renderDevice.GetCursorData(cursor.data());
    if (cursor[0] != m_cursorX || cursor[1] != m_cursorY)
    {
        Mark(m_cursorX, m_cursorY, m_cursorX + 32, m_cursorY + 32);
        m_cursorX = cursor[0];
        m_cursorY = cursor[1];
        Mark(m_cursorX, m_cursorY, m_cursorX + 32, m_cursorY + 32);
    }

    if (HandleCircuitInput(press))
    {
        return;  // the circuit page has neither icons nor the screen's panels
    }
    const SetupPage page = m_pages->Page();
    if (page == SetupPage::LoadSetup || page == SetupPage::SaveSetup)
    {
        g_fileRequester.OnMouse(m_cursorX, m_cursorY, press && !m_buttonHeld,
                                (button & kKeyHeld) != 0, m_nowMs);
    }

    int iconUnderMouse = -1;
    if (!m_buttonHeld)
    {
        for (int i = 0; i < kSetupIcons; ++i)
        {
            Icon& icon = m_icons[static_cast<size_t>(i)];
            const int left = IconLeft(i);
            const bool inside = m_cursorX > left && m_cursorX < left + kIconSize &&
                                m_cursorY > kIconTop && m_cursorY < kIconTop + kIconSize;
            icon.underMouse = iconUnderMouse < 0 && inside && !icon.disabled && !icon.selected;
            iconUnderMouse = icon.underMouse ? i : iconUnderMouse;
        }
    }

    Gadget* hit = nullptr;
    SetupControl hitControl = SetupControl::Leave;
    const bool lookForGadgets = !m_buttonHeld || press;
    for (const SetupPage page : {SetupPage::Main, m_pages->Page()})
    {
        if (!lookForGadgets || hit != nullptr || static_cast<size_t>(page) >= m_panels.size())
        {
            continue;
        }
        std::vector<Gadget>& gadgets = m_panels[static_cast<size_t>(page)];
        const auto places = PanelGadgets(page);
        for (size_t i = 0; i < gadgets.size(); ++i)
        {
            if (gadgets[i].visible != 0 && ContainsPoint(gadgets[i], m_cursorX, m_cursorY))
            {
                hit = &gadgets[i];
                hitControl = places[i].control;
                break;
            }
        }
        UpdateGadgetHover(m_panelLists[static_cast<size_t>(page)], hit, m_listA, m_listB);
    }

    if (m_buttonHeld && m_activeSlider >= 0)
    {
        FollowSlider(m_cursorX);
    }
    if (!press)
    {
        return;
    }
    m_buttonHeld = true;
    if (iconUnderMouse >= 0)
    {
        PressIcon(iconUnderMouse);
    }
    else if (hit != nullptr)
    {
        RunControl(hitControl);
    }
}

void SetupScreen::AnimateIcons(uint32_t steps)
{
    m_animationClock += steps;
    const uint32_t p = (m_animationClock * 2) >> 8;
    for (int i = 0; i < kSetupIcons; ++i)
    {
        Icon& icon = m_icons[static_cast<size_t>(i)];
        const SetupIconPlace& place = IconPlace(i);
        uint32_t frame = 0;
        if (icon.selected && place.frames > 1)
        {
            if (place.pingPong)
            {
                const uint32_t cycle = 2u * place.frames - 2u;
                const uint32_t q = p % cycle;
                frame = q >= place.frames ? cycle - q : q;
            }
            else
            {
                frame = p % place.frames;
            }
        }
        const bool lit = icon.underMouse;
        if (frame != icon.frame || lit != icon.lit)
        {
            icon.frame = static_cast<uint8_t>(frame);
            icon.lit = lit;
            Mark(IconLeft(i), kIconTop, IconLeft(i) + kIconSize, kIconTop + kIconSize);
        }
    }
}

// The channel choices live in the settings; the telemetry sees them as four bytes.
bool SetupScreen::StepTelemetry(float dt)
{
    MenuState* settings = m_context.settings;
    if (m_telemetryRequested && !m_telemetryOpen)
    {
        for (size_t slot = 0; slot < m_telemetryChannels.size(); ++slot)
        {
            m_telemetryChannels[slot] =
                settings != nullptr ? settings->U8At(MenuState::kTelemetrySlotsOffset + slot) : 0;
        }
        m_recorder.Load();
        m_telemetryOpen = true;
    }
    if (!m_telemetryOpen)
    {
        return true;
    }
    if (m_recorder.Update(dt) == 0)
    {
        return false;
    }
    m_recorder.ReleaseResources();
    m_telemetryOpen = m_telemetryRequested = false;
    for (size_t slot = 0; settings != nullptr && slot < m_telemetryChannels.size(); ++slot)
    {
        settings->SetU8At(MenuState::kTelemetrySlotsOffset + slot, m_telemetryChannels[slot]);
    }
    ClearAllKeys();
    MarkAll();
    return true;
}

uint32_t SetupScreen::Update(float dt)
{
    const auto steps = static_cast<uint32_t>(std::max(dt, 0.0f) * 1024.0f);
    m_nowMs += static_cast<uint32_t>(std::max(dt, 0.0f) * 1000.0f);
    if (CountdownShown() && g_menuDelayMs.load() <= 0)
    {
        LeaveSubPage();
        m_pages->LeavePage();
        m_leave = 1;
    }
    if (!StepTelemetry(dt))
    {
        return m_leave;
    }
    if (g_renderDevice.BeginDraw() == 0)
    {
        m_redraw = kBothBuffers;
        return m_leave;
    }
    if (m_redraw > 0)
    {
        MarkAll();
        --m_redraw;
    }
    HandleInput();
    if (m_pages->Page() == SetupPage::LoadSetup || m_pages->Page() == SetupPage::SaveSetup)
    {
        FinishRequester();
    }
    AnimateIcons(steps);
    if (g_renderDevice.IsGlideActive() != 0)
    {
        DrawPage(m_listA);
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        DrawPage(m_listB);
    }
    m_listA.Clear();
    m_listB.Clear();
    SetActiveRectList(nullptr);
    g_renderDevice.EndDraw();
    return m_leave;
}
