#include "frontend/season/PreRaceScreen.h"

#include <utility>

#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "app/settings/MenuState.h"
#include "frontend/framework/MenuFlag.h"
#include "frontend/framework/MenuSounds.h"
#include "frontend/season/SessionCountdown.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/GadgetDrawing.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "render/RenderApi.h"

namespace
{
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr const char* kButtonSheet = "streckeninfo/ButtonsA.bmp";
constexpr const char* kLitButtonSheet = "streckeninfo/ButtonsH.bmp";
constexpr uint8_t kButtonKind = 3;

struct ButtonPlace
{
    uint32_t soundEvent;
    uint16_t sourceY;
    uint16_t width;
    uint16_t height;
    uint16_t x;
    uint16_t y;
};
constexpr std::array<ButtonPlace, PreRaceScreen::kButtonCount> kButtonPlaces = {{
    {2, 0, 66, 29, 0, 451},
    {3, 29, 66, 36, 574, 406},
    {1, 65, 66, 38, 574, 442},
}};

Gadget ButtonOf(const ButtonPlace& place)
{
    Gadget button;
    button.soundEvent = place.soundEvent;
    button.normalPicture = 0;
    button.hoverPicture = 1;
    button.sourceY = place.sourceY;
    button.width = place.width;
    button.height = place.height;
    button.screenX = place.x;
    button.screenY = place.y;
    button.drawFlag = 1;
    button.visible = 1;
    return button;
}
}  // namespace

PreRaceScreen::PreRaceScreen(std::unique_ptr<SetupScreen> setup) : setup_(std::move(setup)) {}

PreRaceScreen::~PreRaceScreen()
{
    Leave();
}

void PreRaceScreen::Enter()
{
    ClearAllKeys();
    result_ = kStay;
    setupState_ = kSetupClosed;
    const int32_t session = static_cast<int32_t>(g_menuState.U32At(MenuState::kSessionOffset));
    owner_.head = nullptr;
    CircuitInfoScreen::Open(owner_, g_menuState, session);
    for (size_t button = 0; button < kButtonCount; ++button)
    {
        buttons_[button] = ButtonOf(kButtonPlaces[button]);
        AddGadget(owner_, buttons_[button], kButtonKind);
    }
    g_renderDevice.LoadMemoryTexture(kButtonSheet, &pictures_[0]);
    g_renderDevice.LoadMemoryTexture(kLitButtonSheet, &pictures_[1]);
    CircuitInfoScreen::OkGadget().visible = 0;
    if (!HasMenuFlag())
    {
        g_renderDevice.SaveState(worldBeforeFlag_.data(), true);
        if (g_renderSlots.rdll_SaveRenderState != nullptr)
        {
            renderStateBeforeFlag_ = g_renderSlots.rdll_SaveRenderState();
        }
        ownsFlag_ = g_menuFlag.Create();
        if (!ownsFlag_)
        {
            RestoreWorldBeforeFlag();
        }
    }
    g_menuFlag.ShowNationOf(g_menuState.U32At(MenuState::kCircuitOffset));
    screenActive_ = g_renderDevice.IsGlideActive() != 0;
    entered_ = true;
    if (g_renderDevice.BeginDraw() != 0)
    {
        // Both video buffers get the whole page.
        RepaintAll();
        PresentFrame();
        RepaintAll();
        PresentFrame();
        g_renderDevice.EndDraw();
    }
    else
    {
        pendingRedraws_ = 2;
    }
}

int32_t PreRaceScreen::Step(float dt)
{
    if (HasSessionCountdownRunOut())
    {
        result_ = kStartSession;
    }
    if (setupState_ != kSetupClosed)
    {
        StepSetup(dt);
        return result_;
    }
    if (g_renderDevice.BeginDraw() == 0)
    {
        pendingRedraws_ = 2;
        return result_;
    }
    if (pendingRedraws_ > 0)
    {
        RepaintAll();
        --pendingRedraws_;
    }
    HandlePointer();
    g_menuFlag.Wave(dt);
    if (g_menuFlag.Visible())
    {
        for (DirtyRectList& list : lists_)
        {
            list.Add(MenuFlag::kLeft, MenuFlag::kTop, MenuFlag::kRight, MenuFlag::kBottom);
        }
    }
    PresentFrame();
    g_renderDevice.EndDraw();
    return result_;
}

void PreRaceScreen::StepSetup(float dt)
{
    if (setupState_ == kSetupOpening)
    {
        backgroundBeforeSetup_ = g_menuBackground.Name();
        setupState_ = kSetupShown;
        setup_->Load();
    }
    if (setup_->Update(dt) == 0)
    {
        return;
    }
    setupState_ = kSetupClosed;
    setup_->ReleaseResources();
    SetMenuBackground(backgroundBeforeSetup_.c_str());
    RepaintAll();
}

void PreRaceScreen::HandlePointer()
{
    const Texture* pointerPicture = GetMenuPicture(MenuPicture::Pointer);
    const int32_t pointerWidth = pointerPicture != nullptr ? pointerPicture->width : 0;
    const int32_t pointerHeight = pointerPicture != nullptr ? pointerPicture->height : 0;
    pointer_.Update(pointerWidth, pointerHeight, true, lists_[0], lists_[1]);
    const bool click = pointer_.TakeClick();
    Gadget* hit = FindGadgetAt(owner_, pointer_.X(), pointer_.Y());
    if (Gadget* lit = UpdateGadgetHover(owner_, hit, lists_[0], lists_[1]))
    {
        PlayGadgetSound(*lit, 1);
    }
    if (!click || hit == nullptr)
    {
        return;
    }
    PlayGadgetSound(*hit, 0);
    if (hit == &buttons_[kBack])
    {
        result_ = kBackToMenus;
    }
    else if (hit == &buttons_[kSetup])
    {
        setupState_ = kSetupOpening;
    }
    else if (hit == &buttons_[kStart])
    {
        result_ = kStartSession;
    }
}

void PreRaceScreen::RepaintAll()
{
    for (DirtyRectList& list : lists_)
    {
        list.Add(0, 0, kScreenWidth, kScreenHeight);
    }
}

void PreRaceScreen::PresentFrame()
{
    const bool active = g_renderDevice.IsGlideActive() != 0;
    if (active != screenActive_)
    {
        screenActive_ = active;
        RepaintAll();
    }
    Texture* pointer = GetMenuPicture(MenuPicture::Pointer);
    if (active && pointer != nullptr)
    {
        // Every frame: the buffer shown next gets the pointer, the other one the page under it.
        for (DirtyRectList& list : lists_)
        {
            list.Add(pointer_.X(), pointer_.Y(), pointer_.X() + pointer->width,
                     pointer_.Y() + pointer->height);
        }
    }
    if (active)
    {
        DrawPage(lists_[0]);
        if (pointer != nullptr)
        {
            DrawBitmapClipped(pointer, 0, 0, pointer_.X(), pointer_.Y(), pointer->width,
                              pointer->height, 1);
        }
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        DrawPage(lists_[1]);
    }
    SetActiveRectList(nullptr);
    for (DirtyRectList& list : lists_)
    {
        list.Clear();
    }
}

void PreRaceScreen::DrawPage(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    CircuitInfoScreen::Draw();
    // The buffer shown next waves the flag.
    if (&list == &lists_[0])
    {
        DrawMenuScene();
    }
    DrawGadgetList(owner_, pictures_);
    DrawSessionCountdown();
}

void PreRaceScreen::RestoreWorldBeforeFlag()
{
    if (renderStateBeforeFlag_ != 0 && g_renderSlots.rdll_ResetRenderState != nullptr)
    {
        g_renderSlots.rdll_ResetRenderState(renderStateBeforeFlag_);
    }
    renderStateBeforeFlag_ = 0;
    g_renderDevice.RestoreState(worldBeforeFlag_.data());
}

void PreRaceScreen::Leave()
{
    if (!entered_)
    {
        return;
    }
    entered_ = false;
    if (setupState_ == kSetupShown)
    {
        setup_->ReleaseResources();
    }
    setupState_ = kSetupClosed;
    CircuitInfoScreen::Close();
    for (Texture*& picture : pictures_)
    {
        if (picture != nullptr)
        {
            g_renderDevice.FreeMemoryTexture(&picture);
        }
    }
    if (ownsFlag_)
    {
        DestroyMenuFlag();
        RestoreWorldBeforeFlag();
        ownsFlag_ = false;
    }
    SetActiveRectList(nullptr);
}
