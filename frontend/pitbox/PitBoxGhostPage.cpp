// The ghost laps of the pit box: keeping a lap of the session, using one as the ghost, and the
// ghost-file page with its list, its name entry and its buttons.

#include <algorithm>

#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "app/window/KeyListeners.h"
#include "frontend/framework/MenuSounds.h"
#include "frontend/pitbox/PitBoxMenu.h"
#include "frontend/toolkit/MenuTexts.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "race/RaceContext.h"

namespace
{
constexpr int32_t kGhostRowHeight = 19;
constexpr int32_t kGhostRowsShown = 12;
constexpr uint32_t kGhostRepeatMs = 300;
constexpr int32_t kKnobWithList = 160;

PitBoxMenu* g_ghostNameMenu = nullptr;
std::string* g_ghostName = nullptr;
GhostNameEntry* g_ghostNameEntry = nullptr;

uint32_t NowMs()
{
    return CurrentPlatform().NowMs();
}

GhostWords WordsOf(const RaceContext& race)
{
    GhostWords words;
    words.language = g_language;
    words.circuitTitle = [](CircuitId circuit)
    {
        const CircuitTextRecord& record = CircuitTexts()[static_cast<size_t>(circuit)];
        const size_t slot = static_cast<size_t>(g_language);
        const char* title = record.titles[slot] != nullptr ? record.titles[slot] : "";
        const char* name = record.names[slot] != nullptr ? record.names[slot] : "";
        return std::string(title) + " " + name;
    };
    const RaceContext* context = &race;
    words.riderName = [context](BikeClass bikeClass, uint32_t rider)
    {
        if (rider >= kRiderCount)
        {
            return std::string();
        }
        return context->riderProfiles[rider].displayNames[static_cast<size_t>(bikeClass)];
    };
    return words;
}
}  // namespace

void PitBoxMenu::SaveLapAsGhost()
{
    for (ListRow& row : list_.rows)
    {
        if (row.rider <= 0)
        {
            break;
        }
        constexpr uint8_t kKeepable = kLapFileValid | kLapMayBeKept | kLapSelected;
        if ((row.flags & kKeepable) != kKeepable)
        {
            continue;
        }
        if (KeepLapAsGhost(static_cast<uint32_t>(row.rider), context_.race->race.ghostFileName))
        {
            row.flags &= static_cast<uint8_t>(~kLapMayBeKept);
            pageButtons_[kKeepGhostButton].visible = 0;
            Mark(0, 104, 630, 440);
            Mark(72, 104, 186, 440);
            Mark(80, 444, 160, 480);
        }
        return;
    }
}

void PitBoxMenu::SelectLapForReplay()
{
    for (ListRow& row : list_.rows)
    {
        if ((row.flags & kLapSelected) == 0)
        {
            continue;
        }
        MenuState& settings = *context_.settings;
        BikeClass bikeClass = context_.race->current.bikeClass;
        if (context_.ghost->Load(SessionLapPath(static_cast<uint32_t>(row.rider)),
                                 context_.race->race, settings, bikeClass))
        {
            for (ListRow& other : list_.rows)
            {
                other.flags &= static_cast<uint8_t>(~kLapIsGhost);
            }
            row.flags |= kLapIsGhost;
            pageButtons_[kUseGhostButton].visible = 0;
        }
        Mark(0, 104, 630, 440);
        return;
    }
}

void PitBoxMenu::ListGhostFiles()
{
    context_.ghost->Clear(context_.race->race);
    EndNameEntry();
    nameEntry_ = GhostNameEntry{};
    const BikeClass bikeClass = static_cast<BikeClass>(
        std::min<uint32_t>(context_.settings->U32At(MenuState::kBikeClassOffset), 2));
    ghosts_ = ListGhosts(bikeClass, *context_.settings, WordsOf(*context_.race));
    selectedGhost_ = 0;
    ghostScroll_ = 0;
    ghostScrollKnob_ = ghosts_.size() < 13 ? 0 : kKnobWithList;
}

bool PitBoxMenu::LoadGhost()
{
    if (selectedGhost_ < 1 || selectedGhost_ >= static_cast<int32_t>(ghosts_.size()))
    {
        return false;
    }
    BikeClass bikeClass = context_.race->current.bikeClass;
    const GhostListEntry& entry = ghosts_[static_cast<size_t>(selectedGhost_)];
    if (!context_.ghost->Load(GhostFilePath(entry.fileTitle), context_.race->race,
                              *context_.settings, bikeClass))
    {
        return false;
    }
    context_.settings->SetU32At(MenuState::kBikeClassOffset, static_cast<uint32_t>(bikeClass));
    return true;
}

void PitBoxMenu::DeleteGhost()
{
    if (selectedGhost_ < 1 || selectedGhost_ >= static_cast<int32_t>(ghosts_.size()) ||
        !DeleteGhostFile(ghosts_[static_cast<size_t>(selectedGhost_)]))
    {
        return;
    }
    ghosts_.erase(ghosts_.begin() + selectedGhost_);
    selectedGhost_ = std::min(selectedGhost_, static_cast<int32_t>(ghosts_.size()) - 1);
    pageButtons_[kSetupButton].visible = selectedGhost_ > 0 ? 1 : 0;
    ghostScroll_ =
        std::min(ghostScroll_, std::max(0, static_cast<int32_t>(ghosts_.size()) - kGhostRowsShown));
    ghostScrollKnob_ = ghosts_.size() < 13 ? 0 : ghostScrollKnob_;
    Mark(0, 100, 640, 400);
}

void PitBoxMenu::MarkGhostList()
{
    Mark(624, 191, 633, 480);
    Mark(20, 144, 620, 373);
    Mark(153, 112, 620, 132);
    Mark(320, 444, 392, 480);
    pageButtons_[kSetupButton].visible = selectedGhost_ > 0 && !nameEntry_.IsActive() ? 1 : 0;
}

void PitBoxMenu::OnGhostListClick(int32_t x, int32_t y)
{
    const int32_t count = static_cast<int32_t>(ghosts_.size());
    const int32_t lastScroll = std::max(0, count - kGhostRowsShown);
    if (y < 145 || y > 372)
    {
        repeatTimeMs_ = 0;
        if (x >= 150 && x <= 569 && y >= 390 && y <= 407 && !nameEntry_.IsActive())
        {
            PlayMenuSound(0, 1);
            nameEntry_.Start();
            g_ghostNameMenu = this;
            g_ghostName = &context_.race->race.ghostFileName;
            g_ghostNameEntry = &nameEntry_;
            AddKeyListener(&PitBoxMenu::OnGhostNameKey);
            pageButtons_[kLeaveButton].visible = 0;
            pageButtons_[kContinueButton].visible = 0;
            Mark(0, 444, 639, 480);
            Mark(150, 390, 569, 407);
        }
        return;
    }
    if (x < 20 || x > 633)
    {
        repeatTimeMs_ = 0;
        return;
    }
    if (x < 600)
    {
        const int32_t row = std::min((y - 145) / kGhostRowHeight + ghostScroll_, count - 1);
        if (row != selectedGhost_)
        {
            PlayMenuSound(0, 1);
        }
        selectedGhost_ = row;
        repeatTimeMs_ = 0;
    }
    else
    {
        const uint32_t now = NowMs();
        const bool repeatDue = repeatTimeMs_ == 0 || now - repeatTimeMs_ >= kGhostRepeatMs;
        if (y < 168)
        {
            if (repeatDue && selectedGhost_ > 0)
            {
                --selectedGhost_;
                ghostScroll_ = std::min(ghostScroll_, selectedGhost_);
                repeatTimeMs_ = now;
            }
        }
        else if (y < 193)
        {
            if (repeatDue && selectedGhost_ < count - 1)
            {
                ++selectedGhost_;
                ghostScroll_ = std::max(ghostScroll_, selectedGhost_ - (kGhostRowsShown - 1));
                repeatTimeMs_ = now;
            }
        }
        else if (count > kGhostRowsShown)
        {
            ghostScrollKnob_ = std::clamp(y - 31, 162, 308);
            ghostScroll_ = (ghostScrollKnob_ - 162) * lastScroll / (308 - 162);
        }
    }
    if (count > kGhostRowsShown && lastScroll > 0)
    {
        ghostScrollKnob_ = 162 + ghostScroll_ * (308 - 162) / lastScroll;
    }
    MarkGhostList();
}

int32_t PitBoxMenu::OnGhostNameKey(uint32_t kind, uint32_t key)
{
    if (g_ghostNameEntry == nullptr || g_ghostName == nullptr)
    {
        return 0;
    }
    const bool shift = (ReadKey(vk::Shift) & kKeyHeld) != 0;
    if (g_ghostNameEntry->OnKey(*g_ghostName, kind != kKeyWentDown, key, shift))
    {
        return 1;
    }
    return 0;
}

void PitBoxMenu::StepGhostNameEntry()
{
    if (page_ != kGhostPage)
    {
        return;
    }
    if (!nameEntry_.TakeTyped())
    {
        const bool blink = ((NowMs() >> 7) & 1u) != 0;
        if (nameEntry_.IsActive() && blink != cursorBlink_)
        {
            cursorBlink_ = blink;
            Mark(150, 390, 569, 407);
        }
        return;
    }
    if (!nameEntry_.IsActive() && g_ghostNameMenu == this)
    {
        EndNameEntry();
        pageButtons_[kSetupButton].visible = selectedGhost_ > 0 ? 1 : 0;
        pageButtons_[kLeaveButton].visible = 1;
        pageButtons_[kContinueButton].visible = 1;
        Mark(0, 444, 639, 480);
    }
    Mark(150, 390, 569, 407);
}

void PitBoxMenu::EndNameEntry()
{
    if (g_ghostNameMenu == this)
    {
        RemoveKeyListener(&PitBoxMenu::OnGhostNameKey);
        g_ghostNameMenu = nullptr;
        g_ghostName = nullptr;
        g_ghostNameEntry = nullptr;
    }
}
