// The main menu's option trees: realism (riding aids, weather, opposition, damage, race
// settings) and options (graphics, sound, controls). Rows edit the working copy of the
// settings, a sub-panel's OK takes it into the kept copy, and the tree's OK commits the kept
// copy; cancel drops what the panel changed.

#include <algorithm>
#include <cstdio>

#include "app/config/ConfigFile.h"
#include "app/game/CurrentRace.h"
#include "app/input/JoystickReader.h"
#include "app/window/FrameTime.h"
#include "app/window/KeyListeners.h"
#include "frontend/MainMenu.h"
#include "frontend/mainmenu/MainMenuLayout.h"
#include "frontend/mainmenu/OptionTexts.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/GadgetDrawing.h"
#include "frontend/toolkit/MenuFonts.h"
#include "sound/CdMusic.h"
#include "sound/SoundManager.h"

namespace
{
constexpr uint32_t kTextColour = 0xF0F0F0;
constexpr uint32_t kHighlightColour = 0x40D0F8;
constexpr uint32_t kDimColour = 0x808080;
constexpr uint32_t kTrackColour = 0xA0A0A0;
constexpr float kSubPanelSpeed = 1.0f;
constexpr uint16_t kKnobSheetX = 1216;
constexpr uint32_t kBlinkBit = 0x100;  // 256 ms on, 256 ms off

constexpr std::array<OptionPanelId, 5> kRealismSubPanels = {
    OptionPanelId::RideAids, OptionPanelId::Weather, OptionPanelId::Opposition,
    OptionPanelId::Damage, OptionPanelId::Settings};
constexpr std::array<OptionPanelId, 3> kOptionsSubPanels = {
    OptionPanelId::Graphics, OptionPanelId::Sound, OptionPanelId::Controls};
// The panels with sliders, in the order the drag looks for an open one.
constexpr std::array<OptionPanelId, 4> kSliderPanels = {
    OptionPanelId::Settings, OptionPanelId::Graphics, OptionPanelId::Sound,
    OptionPanelId::Controls};

constexpr size_t kOpponentsRow = 1;
constexpr size_t kStartRow = 2;
constexpr size_t kFirstSensitivityRow = 9;
constexpr size_t kSensitivityOffset = MenuState::kControlMapOffset + kControlRows;

template <size_t N>
const char* Pick(const std::array<const char*, N>& texts, uint32_t value)
{
    return texts[std::min<size_t>(value, N - 1)];
}

std::string Number(int64_t value, const char* format = "%lld")
{
    char text[24];
    std::snprintf(text, sizeof(text), format, static_cast<long long>(value));
    return text;
}

ControlCodes ControlCodesOf(MenuState& settings)
{
    return settings.Bytes().subspan<MenuState::kControlMapOffset, kControlRows>();
}

int32_t Truncated(const Slider& slider)
{
    return static_cast<int32_t>(slider.value);
}
}  // namespace

void MainMenu::BuildOptionPanels()
{
    for (size_t index = 0; index < kOptionPanelCount; ++index)
    {
        const auto id = static_cast<OptionPanelId>(index);
        // The English network panel is narrower.
        const int32_t columns =
            id == OptionPanelId::Network && g_language == Language::English ? 10 : 0;
        BuildOptionPanel(optionPanels_[index], id, OptionPanelTextsFor(id, g_language).title,
                         columns);
    }
}

bool MainMenu::DispatchOptionPanel(const Gadget& gadget)
{
    for (size_t index = 0; index < kOptionPanelCount; ++index)
    {
        const auto id = static_cast<OptionPanelId>(index);
        const OptionPanel& panel = optionPanels_[index];
        if (&gadget == &panel.ok || &gadget == &panel.cancel)
        {
            OnOptionPanel(id, &gadget == &panel.ok ? kPanelOk : kPanelCancel);
            return true;
        }
        for (size_t row = 0; row < panel.rowCount; ++row)
        {
            if (&gadget == &panel.rows[row])
            {
                OnOptionPanel(id, static_cast<int32_t>(row));
                return true;
            }
        }
    }
    return false;
}

void MainMenu::OnOptionPanel(OptionPanelId id, int32_t input)
{
    switch (id)
    {
        case OptionPanelId::RideAids:
            OnRideAidsPanel(input);
            break;
        case OptionPanelId::Realism:
            OnRealismPanel(input);
            break;
        case OptionPanelId::Damage:
            OnDamagePanel(input);
            break;
        case OptionPanelId::Weather:
            OnWeatherPanel(input);
            break;
        case OptionPanelId::Opposition:
            OnOppositionPanel(input);
            break;
        case OptionPanelId::Settings:
            OnSettingsPanel(input);
            break;
        case OptionPanelId::Options:
            OnOptionsPanel(input);
            break;
        case OptionPanelId::Graphics:
            OnGraphicsPanel(input);
            break;
        case OptionPanelId::Sound:
            OnSoundPanel(input);
            break;
        case OptionPanelId::Controls:
            OnControlsPanel(input);
            break;
        case OptionPanelId::Network:
            OnNetworkPanel(input);
            break;
    }
}

void MainMenu::OpenOptionPanel(OptionPanelId id, MenuFrame* linked, float speed)
{
    OptionPanel& panel = Options(id);
    MenuFrame::Open(panel.frame, linked, speed);
    panel.active = true;
    ++openLayers_;
}

void MainMenu::CloseOptionPanel(OptionPanelId id)
{
    OptionPanel& panel = Options(id);
    if (!panel.active)
    {
        return;
    }
    MenuFrame::Close(panel.frame);
    panel.active = false;
    --openLayers_;
    draggedSlider_ = -1;
}

void MainMenu::CloseSubPanels(bool commit)
{
    for (const auto& subPanels : {std::span<const OptionPanelId>(kRealismSubPanels),
                                  std::span<const OptionPanelId>(kOptionsSubPanels)})
    {
        for (const OptionPanelId id : subPanels)
        {
            if (Options(id).active)
            {
                OnOptionPanel(id, commit ? kPanelOk : kPanelCancel);
            }
        }
    }
}

bool MainMenu::ConditionsChangeable() const
{
    return g_menuState.U8At(MenuState::kChoiceAllowedOffset + 4) != 0;
}

void MainMenu::ApplyAidLocks()
{
    lockedAids_ = ApplyLevelAidLocks(g_menuState);
    OptionPanel& aids = Options(OptionPanelId::RideAids);
    for (size_t row = 0; row < kRideAidOptionRows; ++row)
    {
        aids.rows[row].visible = (lockedAids_ >> row & 1) != 0 ? 0 : 1;
    }
}

void MainMenu::OpenRealismPanel()
{
    if (Options(OptionPanelId::Realism).active)
    {
        return;
    }
    CloseOpenPanel();
    selectedEntry_ = kRealismEntry;
    kept_ = g_menuState;
    const uint8_t kind = ConditionsChangeable() ? kGadgetHighlight : 0;
    for (const OptionPanelId id : {OptionPanelId::RideAids, OptionPanelId::Weather,
                                   OptionPanelId::Opposition, OptionPanelId::Damage})
    {
        OptionPanel& panel = Options(id);
        for (size_t row = 0; row < panel.rowCount; ++row)
        {
            panel.rows[row].kind = kind;
        }
    }
    OpenOptionPanel(OptionPanelId::Realism, &bottomBar_.frame, kSubPanelSpeed);
}

void MainMenu::OpenOptionsPanel()
{
    if (Options(OptionPanelId::Options).active)
    {
        return;
    }
    CloseOpenPanel();
    selectedEntry_ = kOptionsEntry;
    kept_ = g_menuState;
    keptConfig_ = g_config;
    OpenOptionPanel(OptionPanelId::Options, nullptr, kSubPanelSpeed);
}

void MainMenu::OpenNetworkPanel()
{
    OpenOptionPanel(OptionPanelId::Network, &mainPanel_.frame, 3.0f);
    mainPanel_.shown = false;
    bottomBar_.shown = false;
}

void MainMenu::OnNetworkPanel(int32_t input)
{
    const bool host = input == 0;
    if (input >= 0)
    {
        // 1 hosts a new session, 0 joins one.
        g_menuState.SetU8At(MenuState::kNetworkRoleOffset, host ? 1 : 0);
    }
    CloseOptionPanel(OptionPanelId::Network);
    // The main buttons answer again as well as the bottom bar, also once the lobby is left.
    mainPanel_.shown = true;
    bottomBar_.shown = true;
    if (input >= 0 && lobbyPages_.has_value())
    {
        if (host)
        {
            lobbyPages_->OpenServerPage();
        }
        else
        {
            lobbyPages_->OpenPlayerPage();
        }
        startLayout_ = false;
        page_ = lobbyPages_->CurrentPage();
    }
    RepaintAll();
}

void MainMenu::OnRealismPanel(int32_t input)
{
    MenuFrame* realism = &Options(OptionPanelId::Realism).frame;
    switch (input)
    {
        case 0:
        case 1:
        case 2:
        {
            constexpr std::array<OptionPanelId, 3> kRows = {
                OptionPanelId::RideAids, OptionPanelId::Weather, OptionPanelId::Opposition};
            working_ = kept_;
            OpenOptionPanel(kRows[static_cast<size_t>(input)], realism, kSubPanelSpeed);
            break;
        }
        case 3:
            OpenSettingsPanel();
            break;
        case kPanelOk:
            CloseSubPanels(true);
            g_menuState = kept_;
            selectedEntry_ = kNoEntry;
            CloseOptionPanel(OptionPanelId::Realism);
            break;
        case kPanelCancel:
            CloseSubPanels(false);
            selectedEntry_ = kNoEntry;
            CloseOptionPanel(OptionPanelId::Realism);
            break;
        default:
            break;
    }
}

bool MainMenu::FinishSubPanel(OptionPanelId id, int32_t input)
{
    if (input >= 0)
    {
        return false;
    }
    if (input == kPanelOk)
    {
        kept_ = working_;
        if (id == OptionPanelId::Sound)
        {
            keptConfig_ = workingConfig_;
        }
    }
    if (id == OptionPanelId::Controls)
    {
        EndControlWaiting();
    }
    CloseOptionPanel(id);
    return true;
}

void MainMenu::OnRideAidsPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::RideAids, input) || !ConditionsChangeable())
    {
        return;
    }
    const auto row = static_cast<size_t>(input);
    if (row < kRideAidOptionRows)
    {
        if ((lockedAids_ >> row & 1) == 0)
        {
            ToggleRideAid(working_, row);
        }
    }
    else
    {
        SetEveryRideAid(working_, lockedAids_, allValue_);
        allValue_ ^= 1;
    }
    RepaintAll();
}

void MainMenu::OnDamagePanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Damage, input) || !ConditionsChangeable())
    {
        return;
    }
    const auto row = static_cast<size_t>(input);
    if (row < kDamageAllRow)
    {
        ToggleDamage(working_, row);
    }
    else
    {
        SetEveryDamage(working_, allValue_);
        allValue_ ^= 1;
    }
    RepaintAll();
}

void MainMenu::OnWeatherPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Weather, input) || !ConditionsChangeable())
    {
        return;
    }
    if (input == 0)
    {
        CycleMenuWeather(working_);
    }
    else
    {
        CycleByte(working_, MenuState::kWeatherPersistencyOffset, 3);
    }
    RepaintValue(OptionPanelId::Weather, static_cast<size_t>(input));
}

void MainMenu::OnOppositionPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Opposition, input) || !ConditionsChangeable())
    {
        return;
    }
    CycleByte(working_,
              input == 0 ? MenuState::kOpponentLevelOffset : MenuState::kOpponentBehaviourOffset,
              3);
    RepaintValue(OptionPanelId::Opposition, static_cast<size_t>(input));
}

void MainMenu::OpenSettingsPanel()
{
    working_ = kept_;
    ClampRaceField(working_);
    SetSliderValues(OptionPanelId::Settings);
    OpenOptionPanel(OptionPanelId::Settings, &Options(OptionPanelId::Realism).frame,
                    kSubPanelSpeed);
}

void MainMenu::OnSettingsPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Settings, input) || !ConditionsChangeable())
    {
        return;
    }
    const auto row = static_cast<size_t>(input);
    if (row <= kStartRow)
    {
        draggedSlider_ = input;
        return;
    }
    if (row == 3)
    {
        working_.SetU32At(MenuState::kTrainingLengthOffset,
                          working_.U32At(MenuState::kTrainingLengthOffset) == 0 ? 1 : 0);
    }
    else
    {
        constexpr std::array<size_t, 4> kToggles = {
            MenuState::kStartPointOffset, MenuState::kEngineFailureOffset,
            MenuState::kEngineTuningOffset, MenuState::kTimePenaltyOffset};
        ToggleByte(working_, kToggles[std::min<size_t>(row - 4, kToggles.size() - 1)]);
    }
    RepaintValue(OptionPanelId::Settings, row);
}

void MainMenu::OnOptionsPanel(int32_t input)
{
    switch (input)
    {
        case 0:
        case 1:
        case 2:
        {
            constexpr std::array<OptionPanelId, 3> kRows = {
                OptionPanelId::Graphics, OptionPanelId::Sound, OptionPanelId::Controls};
            const OptionPanelId id = kRows[static_cast<size_t>(input)];
            working_ = kept_;
            workingConfig_ = keptConfig_;
            SetSliderValues(id);
            if (id == OptionPanelId::Controls)
            {
                joystickCodes_.Disarm();
                EndControlWaiting();
            }
            OpenOptionPanel(id, &Options(OptionPanelId::Options).frame, kSubPanelSpeed);
            break;
        }
        case 3:
            ToggleByte(kept_, MenuState::kIntroOffset);
            RepaintValue(OptionPanelId::Options, 3);
            break;
        case kPanelOk:
            CommitOptions();
            break;
        case kPanelCancel:
            CloseSubPanels(false);
            CloseOptionPanel(OptionPanelId::Options);
            selectedEntry_ = kNoEntry;
            break;
        default:
            break;
    }
}

void MainMenu::CommitOptions()
{
    CloseSubPanels(true);
    const bool restartSound = SoundOutputDiffers(g_config, keptConfig_);
    g_config = keptConfig_;
    g_menuState = kept_;
    if (restartSound && g_soundManager.IsEnabled())
    {
        g_soundManager.ReleaseMenuSounds();
        g_soundManager.StopOutput();
        g_soundManager.StartOutput();
        g_soundManager.LoadMenuSounds();
    }
    const bool menuMusicOff = g_menuState.U8At(MenuState::kMenuMusicOffOffset) != 0;
    if (!menuMusicOff && !IsCdMusicPlaying())
    {
        SelectMusicTrack(MusicSituation::Intro, g_lastFrameMs & 0xFF);
    }
    else if (menuMusicOff && IsCdMusicPlaying())
    {
        StopCdTrack();
    }
    g_soundManager.ApplyVolume();
    selectedEntry_ = kNoEntry;
    CloseOptionPanel(OptionPanelId::Options);
}

void MainMenu::OnGraphicsPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Graphics, input))
    {
        return;
    }
    switch (input)
    {
        case 0:
            draggedSlider_ = 0;
            return;
        case 1:
            CycleByte(working_, MenuState::kModelDetailOffset, 3);
            break;
        default:
            ToggleByte(working_, MenuState::kTransparencyOffset);
            break;
    }
    RepaintValue(OptionPanelId::Graphics, static_cast<size_t>(input));
}

void MainMenu::OnSoundPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Sound, input))
    {
        return;
    }
    switch (input)
    {
        case 0:
            draggedSlider_ = 0;
            return;
        case 1:
            ToggleMenuMusic(working_);
            break;
        case 2:
            ToggleRaceMusic(working_);
            break;
        case 3:
            CycleSampleRate(workingConfig_);
            break;
        case 4:
            CycleBufferSize(workingConfig_);
            break;
        case 5:
            CycleVoices(workingConfig_);
            break;
        default:
            ToggleInterpolation(workingConfig_);
            break;
    }
    RepaintAll();
}

void MainMenu::OnControlsPanel(int32_t input)
{
    if (FinishSubPanel(OptionPanelId::Controls, input))
    {
        return;
    }
    const auto row = static_cast<size_t>(input);
    if (row >= kFirstSensitivityRow)
    {
        draggedSlider_ = static_cast<int32_t>(row - kFirstSensitivityRow);
        return;
    }
    EndControlWaiting();
    waitingControl_ = input;
    RepaintValue(OptionPanelId::Controls, row);
}

void MainMenu::SetSliderValues(OptionPanelId id)
{
    OptionPanel& panel = Options(id);
    const auto set = [&panel](size_t index, float minimum, float maximum, float value)
    {
        Slider& slider = panel.sliders[index];
        slider.minimum = minimum;
        slider.maximum = maximum;
        slider.value = value;
        slider.UpdateKnob();
    };
    switch (id)
    {
        case OptionPanelId::Settings:
        {
            const auto riders = static_cast<float>(RidersOfSettingsClass(working_));
            const auto opponents = static_cast<float>(working_.U32At(MenuState::kOpponentsOffset));
            set(0, 1.0f, 21.0f, static_cast<float>(working_.U32At(MenuState::kRaceLapsOffset)));
            set(kOpponentsRow, 0.0f, riders - 5.0f, opponents - 4.0f);
            set(kStartRow, 1.0f, opponents + 1.0f,
                static_cast<float>(working_.U32At(MenuState::kGridPositionOffset)));
            break;
        }
        case OptionPanelId::Graphics:
            set(0, 200.0f, 1200.0f,
                static_cast<float>(working_.U32At(MenuState::kViewDistanceOffset)));
            break;
        case OptionPanelId::Sound:
            set(0, 0.0f, 1.0f, working_.F32At(MenuState::kVolumeOffset));
            break;
        case OptionPanelId::Controls:
            for (size_t index = 0; index < 3; ++index)
            {
                set(index, 0.0f, 100.0f, working_.U8At(kSensitivityOffset + index));
            }
            break;
        default:
            break;
    }
}

void MainMenu::DragSlider()
{
    for (const OptionPanelId id : kSliderPanels)
    {
        OptionPanel& panel = Options(id);
        if (!panel.active || !panel.frame.open)
        {
            continue;
        }
        const auto index = static_cast<size_t>(draggedSlider_);
        if (index >= panel.sliderCount)
        {
            return;
        }
        Slider& slider = panel.sliders[index];
        slider.SetFromMouse(pointer_.X());
        const int32_t value = Truncated(slider);
        switch (id)
        {
            case OptionPanelId::Settings:
                if (index == 0)
                {
                    working_.SetU32At(MenuState::kRaceLapsOffset, static_cast<uint32_t>(value));
                }
                else if (index == kOpponentsRow)
                {
                    working_.SetU32At(MenuState::kOpponentsOffset,
                                      static_cast<uint32_t>(value + 4));
                    ClampRaceField(working_);
                    SetSliderValues(OptionPanelId::Settings);
                    RepaintValue(id, kStartRow);
                }
                else
                {
                    working_.SetU32At(MenuState::kGridPositionOffset, static_cast<uint32_t>(value));
                }
                break;
            case OptionPanelId::Graphics:
                working_.SetU32At(MenuState::kViewDistanceOffset, static_cast<uint32_t>(value));
                break;
            case OptionPanelId::Sound:
                working_.SetF32At(MenuState::kVolumeOffset, slider.value);
                break;
            default:
                working_.SetU8At(kSensitivityOffset + index, static_cast<uint8_t>(value));
                break;
        }
        RepaintValue(id, panel.firstSliderRow + index);
        return;
    }
}

void MainMenu::RepaintValue(OptionPanelId id, size_t row)
{
    const OptionPanel& panel = Options(id);
    const ValueArea area = RowValueArea(panel, row);
    Repaint(area.left, area.top, area.right, area.bottom);
    if (const Slider* slider = SliderOfRow(Options(id), row))
    {
        Repaint(slider->x - slider->knobWidth, slider->y,
                slider->x + slider->width + slider->knobWidth, slider->y + slider->knobHeight + 2);
    }
}

void MainMenu::EndControlWaiting()
{
    if (waitingControl_ >= 0)
    {
        RepaintAll();
    }
    waitingControl_ = -1;
    controlMapChanged_ = false;
}

void MainMenu::PollControlInput()
{
    if (waitingControl_ < 0 || !Options(OptionPanelId::Controls).active)
    {
        return;
    }
    const JoystickState state = g_joystick.GetState();
    JoystickBlock joystick;
    joystick.axes = {static_cast<int32_t>(state.x), static_cast<int32_t>(state.y),
                     static_cast<int32_t>(state.z), static_cast<int32_t>(state.r)};
    joystick.buttons = state.buttons;
    const std::optional<uint8_t> code = joystickCodes_.Read(joystick);
    if (code &&
        AssignJoystickCode(ControlCodesOf(working_), static_cast<size_t>(waitingControl_), *code))
    {
        EndControlWaiting();
    }
}

void MainMenu::TakeKey(uint32_t virtualKey)
{
    if (waitingControl_ < 0 || !Options(OptionPanelId::Controls).active || virtualKey > 0xFF)
    {
        return;
    }
    if (AssignKey(ControlCodesOf(working_), static_cast<size_t>(waitingControl_),
                  static_cast<uint8_t>(virtualKey)))
    {
        controlMapChanged_ = true;
        EndControlWaiting();
    }
}

int32_t MainMenu::OnKey(uint32_t kind, uint32_t virtualKey)
{
    if (g_mainMenu == nullptr)
    {
        return 0;
    }
    if (g_mainMenu->lobbyPages_.has_value() && g_mainMenu->IsOnLobbyPage())
    {
        return g_mainMenu->lobbyPages_->KeyInput(kind, virtualKey);
    }
    if (kind != kKeyWentDown || g_mainMenu->waitingControl_ < 0)
    {
        return 0;
    }
    g_mainMenu->TakeKey(virtualKey);
    return 1;
}

std::string MainMenu::OptionValue(OptionPanelId id, size_t row) const
{
    const OptionValueTexts& texts = OptionValueTextsFor(g_language);
    const auto onOff = [&texts](const MenuState& settings, size_t offset)
    { return std::string(Pick(texts.onOff, settings.U8At(offset) != 0 ? 1 : 0)); };
    switch (id)
    {
        case OptionPanelId::RideAids:
            return row < kRideAidOptionRows ? onOff(working_, RideAidOffset(row)) : "";
        case OptionPanelId::Damage:
            return row < kDamageAllRow ? onOff(working_, MenuState::kDamageOffset + row) : "";
        case OptionPanelId::Weather:
            return row == 0 ? Pick(texts.weather, working_.U8At(MenuState::kWeatherOffset))
                            : Pick(texts.persistency,
                                   working_.U8At(MenuState::kWeatherPersistencyOffset));
        case OptionPanelId::Opposition:
            return row == 0
                       ? Pick(texts.opponentLevel, working_.U8At(MenuState::kOpponentLevelOffset))
                       : Pick(texts.opponentBehaviour,
                              working_.U8At(MenuState::kOpponentBehaviourOffset));
        case OptionPanelId::Settings:
            switch (row)
            {
                case 0:
                {
                    const uint32_t laps = working_.U32At(MenuState::kRaceLapsOffset);
                    return laps >= 21 ? texts.realDistance : Number(laps);
                }
                case 1:
                    return Number(working_.U32At(MenuState::kOpponentsOffset));
                case 2:
                    return Number(working_.U32At(MenuState::kGridPositionOffset));
                case 3:
                    return Pick(texts.training,
                                working_.U32At(MenuState::kTrainingLengthOffset) != 0 ? 1 : 0);
                case 4:
                    return Pick(texts.startPoint, working_.U8At(MenuState::kStartPointOffset));
                case 5:
                    return onOff(working_, MenuState::kEngineFailureOffset);
                case 6:
                    return onOff(working_, MenuState::kEngineTuningOffset);
                default:
                    return onOff(working_, MenuState::kTimePenaltyOffset);
            }
        case OptionPanelId::Options:
            return row == 3 ? onOff(kept_, MenuState::kIntroOffset) : "";
        case OptionPanelId::Graphics:
            if (row == 0)
            {
                return Number(working_.U32At(MenuState::kViewDistanceOffset), "%lldm");
            }
            return row == 1 ? Pick(texts.detail, working_.U8At(MenuState::kModelDetailOffset))
                            : onOff(working_, MenuState::kTransparencyOffset);
        case OptionPanelId::Sound:
            switch (row)
            {
                case 0:
                    return Number(
                        static_cast<int64_t>(working_.F32At(MenuState::kVolumeOffset) * 100.0f),
                        "%lld%%");
                case 1:
                    return onOff(working_, MenuState::kMenuMusicOffOffset);
                case 2:
                    return onOff(working_, MenuState::kRaceMusicOffOffset);
                case 3:
                    return Number(SampleRateOf(workingConfig_));
                case 4:
                    return Number(BufferSizeOf(workingConfig_));
                case 5:
                    return Number(VoicesShownOf(workingConfig_));
                default:
                    // The flag set means interpolated: "on".
                    return Pick(texts.onOff,
                                workingConfig_.U8At(ConfigBlock::kSampleOptionOffset) != 0 ? 0 : 1);
            }
        case OptionPanelId::Controls:
            if (row < kControlRows)
            {
                const bool blinkedOut =
                    static_cast<int32_t>(row) == waitingControl_ && (blinkPhase_ & kBlinkBit) != 0;
                return blinkedOut
                           ? ""
                           : ControlCodeName(working_.U8At(MenuState::kControlMapOffset + row),
                                             g_language);
            }
            return Number(working_.U8At(kSensitivityOffset + row - kFirstSensitivityRow));
        default:
            return "";
    }
}

void MainMenu::DrawOptionPanels() const
{
    for (const OptionPanelId id :
         {OptionPanelId::Network, OptionPanelId::Realism, OptionPanelId::Options,
          OptionPanelId::Graphics, OptionPanelId::Sound, OptionPanelId::Controls})
    {
        DrawOptionPanel(id);
    }
    // One sub-panel of the realism tree is open at a time; it lies on top.
    for (const OptionPanelId id : kRealismSubPanels)
    {
        if (Options(id).frame.visible)
        {
            DrawOptionPanel(id);
            return;
        }
    }
}

void MainMenu::DrawOptionPanel(OptionPanelId id) const
{
    const OptionPanel& panel = Options(id);
    if (!panel.frame.visible)
    {
        return;
    }
    MenuFrame::Draw(panel.frame);
    if (!panel.frame.fullyOpen)
    {
        return;
    }
    const OptionPanelTexts& texts = OptionPanelTextsFor(id, g_language);
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    for (size_t row = 0; row < panel.rowCount; ++row)
    {
        const Gadget& gadget = panel.rows[row];
        // A slider's gadget follows the slider; its caption stays at the row's place.
        const bool slider =
            row >= panel.firstSliderRow && row < panel.firstSliderRow + panel.sliderCount;
        const Gadget place =
            slider ? PanelRowGadget(panel.frame, static_cast<int32_t>(row)) : gadget;
        const bool dim = gadget.visible == 0 || gadget.kind == 0;
        const uint32_t colour =
            dim ? kDimColour : (gadget.hover != 0 ? kHighlightColour : kTextColour);
        DrawColorTextClipped(place.screenX + 4, place.screenY + 2, colour, texts.captions[row],
                             kAlignLeft);
        const ValueArea value = RowValueArea(panel, row);
        DrawColorTextClipped(value.right - 8, place.screenY + 2, colour,
                             OptionValue(id, row).c_str(), kAlignRight);
    }
    for (size_t index = 0; index < panel.sliderCount; ++index)
    {
        const Slider& slider = panel.sliders[index];
        const int32_t middle = slider.y + slider.height / 2;
        FillRectClipped(slider.x, middle - 1, slider.x + slider.width, middle + 1, kTrackColour);
        DrawBitmapClipped(pictures_[kButtonSheetPicture], kKnobSheetX, 0, slider.knobPosition,
                          middle - slider.knobHeight / 2, slider.knobWidth, slider.knobHeight, 1);
    }
    if (id != OptionPanelId::Network)
    {
        DrawBitmapClipped(
            pictures_[panel.ok.hover != 0 ? kLitButtonSheetPicture : kButtonSheetPicture],
            panel.ok.sourceX, 0, panel.ok.screenX, panel.ok.screenY, panel.ok.width,
            panel.ok.height, 1);
    }
    DrawBitmapClipped(
        pictures_[panel.cancel.hover != 0 ? kLitButtonSheetPicture : kButtonSheetPicture],
        panel.cancel.sourceX, 0, panel.cancel.screenX, panel.cancel.screenY, panel.cancel.width,
        panel.cancel.height, 1);
}
