// The pit box's pages drawn over the active repaint list: header, calendar, times and results,
// points and series table, ghost files, the page buttons and the confirmation frame.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "frontend/framework/MenuFlag.h"
#include "frontend/pitbox/PitBoxMenu.h"
#include "frontend/pitbox/PitBoxTexts.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/SessionCountdown.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/GadgetDrawing.h"
#include "frontend/toolkit/KnobDrawing.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"
#include "race/RaceContext.h"

namespace
{
constexpr uint32_t kTextColour = 0xF0F0F0;  // 0x00BBGGRR
constexpr uint32_t kPlayerColour = 0x40D0F8;
constexpr uint32_t kDimColour = 0x808080;
constexpr uint32_t kShadowColour = 0x101010;
constexpr uint32_t kSelectedColour = 0x4080F8;
constexpr uint32_t kLitCaptionColour = 0x282828;
constexpr int32_t kRowHeight = 21;
constexpr std::array<int32_t, 6> kHeadingX = {48, 184, 192, 288, 385, 480};
constexpr std::array<int32_t, 4> kValueX = {202, 298, 395, 490};
constexpr std::array<int32_t, 5> kStripOffsets = {216, 144, 0, 72, 288};
constexpr std::array<int32_t, 4> kTimesColumnX = {250, 340, 420, 500};
constexpr int32_t kClassStripX = 403;
constexpr int32_t kClassStripY = 56;
constexpr int32_t kClassStripHeight = 31;
constexpr int32_t kHeaderGap = 8;
constexpr int32_t kHeaderBottom = 91;  // where the heading line of the results starts

// A caption on a button: dark on the lit picture of a hovered one, as the pictures' own labels
// are, dim on a disabled one, in the player's colour on the chosen one.
uint32_t CaptionColour(const Gadget& button, bool chosen)
{
    if (button.hover != 0)
    {
        return kLitCaptionColour;
    }
    return chosen ? kPlayerColour : button.visible != 0 ? kTextColour : kDimColour;
}

const PitBoxTexts& Texts()
{
    return PitBoxTextsOf(g_language);
}

void Shadowed(int32_t x, int32_t y, uint32_t colour, const std::string& text, int32_t alignment)
{
    DrawColorTextClipped(x + 1, y + 1, kShadowColour, text.c_str(), alignment);
    DrawColorTextClipped(x, y, colour, text.c_str(), alignment);
}

// The player's name and below it his second name line, small enough to end above the heading
// line of the results; where the longer of the two ends.
int32_t DrawRiderNames(const RaceContext& race, int32_t top)
{
    const RiderProfile& profile = race.riderProfiles[race.playerRider.load() % kRiderCount];
    SetTextFont(GetRaceFont(RaceFont::Balmoral));
    const int32_t nameWidth =
        DrawColorTextClipped(50, top, kTextColour, profile.ShownName().c_str(), kAlignLeft);
    const std::string second(profile.infoText.data(),
                             strnlen(profile.infoText.data(), profile.infoText.size()));
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    const int32_t secondWidth =
        DrawColorTextClipped(50, top + 20, kTextColour, second.c_str(), kAlignLeft);
    return 50 + std::max(nameWidth, secondWidth);
}

// The class strip of the class picture, with the circuit's title lines left of it and clear of
// the rider's name, which ends at nameRight; on the strip they would cover its class.
void DrawClassAndCircuit(const RaceContext& race, const MenuState& settings, int32_t nameRight)
{
    const int32_t bikeClass =
        static_cast<int32_t>(std::min<uint32_t>(settings.U32At(MenuState::kBikeClassOffset), 2));
    if (Texture* strip = GetMenuPicture(MenuPicture::ClassPicture))
    {
        DrawBitmapClipped(strip, 0, bikeClass * kClassStripHeight, kClassStripX, kClassStripY,
                          strip->width, kClassStripHeight, 1);
    }
    const size_t circuit =
        std::min<size_t>(static_cast<size_t>(race.current.circuitIndex), kCircuitCount - 1);
    const CircuitTextRecord& record = CircuitTexts()[circuit];
    const size_t slot = static_cast<size_t>(g_language);
    constexpr int32_t kTitleRight = kClassStripX - kHeaderGap;
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    SetExtraClipRect(nameRight + kHeaderGap, 0, kTitleRight + 1, kHeaderBottom);
    for (const auto& [text, y] : {std::pair{record.titles[slot], 65}, {record.names[slot], 78}})
    {
        if (text != nullptr)
        {
            DrawColorTextClipped(kTitleRight, y, kTextColour, text, kAlignRight);
        }
    }
    ClearExtraClipRect();
}
}  // namespace

void PitBoxMenu::Draw()
{
    const bool active = g_renderDevice.IsGlideActive() != 0;
    if (active != glideWasActive_)
    {
        glideWasActive_ = active;
        for (DirtyRectList& list : lists_)
        {
            list.Clear();
        }
        MarkAll();
    }
    if (active)
    {
        DrawList(lists_[drawnList_]);
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        drawnList_ ^= 1;
        DrawList(lists_[drawnList_]);
    }
    SetActiveRectList(nullptr);
    for (DirtyRectList& list : lists_)
    {
        list.Clear();
    }
}

void PitBoxMenu::DrawList(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    switch (page_)
    {
        case kCalendarPage:
            DrawCalendarPage();
            break;
        case kTimesPage:
            DrawTimesPage();
            break;
        case kPointsPage:
            DrawPointsPage(false);
            break;
        case kSeriesPage:
            DrawPointsPage(true);
            break;
        case kCircuitInfoPage:
            CircuitInfoScreen::Draw();
            DrawMenuScene();
            DrawSessionCountdown();
            break;
        case kGhostPage:
            DrawGhostPage();
            break;
        default:
            break;
    }
    if (g_fileRequester.IsOpen())
    {
        g_fileRequester.Draw();
    }
    if (confirmFrame_.visible)
    {
        DrawConfirmation();
    }
    DrawPointer(list);
}

void PitBoxMenu::DrawPointer(const DirtyRectList& list)
{
    if (&list != &lists_[drawnList_])
    {
        return;
    }
    if (Texture* pointer = GetMenuPicture(MenuPicture::Pointer))
    {
        DrawBitmapClipped(pointer, 0, 0, pointer_.X(), pointer_.Y(), pointer->width,
                          pointer->height, 1);
    }
}

void PitBoxMenu::DrawGadgets()
{
    DrawGadgetList(gadgets_, buttonPictures_);
    const auto greyed = [this](const Gadget& button)
    {
        // Each sheet's inactive picture follows its active one.
        const int32_t picture = button.normalPicture + 1;
        if (button.visible != 0 || button.normalPicture < 0 ||
            picture >= static_cast<int32_t>(buttonPictures_.size()) ||
            buttonPictures_[static_cast<size_t>(picture)] == nullptr)
        {
            return;
        }
        DrawBitmapClipped(buttonPictures_[static_cast<size_t>(picture)], button.sourceX,
                          button.sourceY, button.screenX, button.screenY, button.width,
                          button.height, button.drawFlag);
    };
    for (uint32_t index = 0; index < kPageButtonCount; ++index)
    {
        if ((offeredButtons_ >> index & 1u) != 0)
        {
            greyed(pageButtons_[index]);
        }
    }
    if (page_ == kCalendarPage)
    {
        for (const Gadget& button : sessionButtons_)
        {
            greyed(button);
        }
    }
}

void PitBoxMenu::DrawHeader()
{
    g_menuBackground.Draw();
    // The flag waves behind the header's texts.
    DrawMenuScene();
    DrawGadgets();
    const RaceContext& race = *context_.race;
    DrawClassAndCircuit(race, *context_.settings, DrawRiderNames(race, 60));
}

void PitBoxMenu::DrawCalendarPage()
{
    DrawHeader();
    const PitBoxTexts& texts = Texts();
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    constexpr std::array<size_t, 6> kTabOfButton = {0, 1, 0, 1, 2, 3};
    for (size_t index = 0; index < sessionButtons_.size(); ++index)
    {
        const Gadget& button = sessionButtons_[index];
        if (index % 2 == 0)
        {
            Shadowed(button.screenX + button.width / 2, button.screenY - 26, kTextColour,
                     std::string(texts.dayNames[index / 2]), kAlignCentre);
        }
        DrawColorTextClipped(
            button.screenX + button.width / 2, button.screenY + 12, CaptionColour(button, false),
            std::string(texts.sessionTabs[kTabOfButton[index]]).c_str(), kAlignCentre);
    }
}

void PitBoxMenu::DrawTimesPage()
{
    DrawHeader();
    const bool ghostSession = Mode() == GameMode::GhostRace;
    if (headline_ != nullptr)
    {
        if (ghostSession)
        {
            DrawBitmapClipped(headline_, 0, 0, 0, 0, 400, 50, 1);
        }
        else
        {
            DrawBitmapClipped(headline_, 0, kStripOffsets[std::min<uint32_t>(headlineStrip_, 4)], 0,
                              0, 300, 72, 1);
        }
    }
    DrawSessionCountdown();
    if (sliderGadget_.visible != 0 && rowCount_ > visibleRows_)
    {
        DrawSpriteClipped(51, slider_);
    }
    if (showSessionClock_)
    {
        DrawSessionClock();
    }
    if (pageButtons_[kClockRateButton].visible != 0)
    {
        char label[8];
        std::snprintf(label, sizeof(label), "x%u", ClockRateOf(clockRateIndex_));
        SetTextFont(GetMenuFont(MenuFont::Menu16));
        DrawColorTextClipped(430, 452, kTextColour, label, kAlignCentre);
    }
    if (resultsLayout_)
    {
        DrawResultList();
        return;
    }
    const PitBoxTexts& texts = Texts();
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    for (uint32_t tab = 0; tab < tabButtons_.size(); ++tab)
    {
        const Gadget& button = tabButtons_[tab];
        const uint32_t colour = CaptionColour(button, tab == sessionTab_);
        DrawColorTextClipped(button.screenX + button.width / 2, button.screenY + 4, colour,
                             std::string(texts.sessionTabs[tab]).c_str(), kAlignCentre);
    }
    for (uint32_t day = 0; day < dayButtons_.size(); ++day)
    {
        const Gadget& button = dayButtons_[day];
        const uint32_t colour = CaptionColour(button, day == day_);
        DrawColorTextClipped(button.screenX + button.width / 2, button.screenY + 4, colour,
                             std::string(texts.dayNames[day]).c_str(), kAlignCentre);
    }
    Shadowed(20, 152, kTextColour, std::string(texts.timesTitles[listKind_]), kAlignLeft);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    DrawColorTextClipped(60, headingY_, kTextColour,
                         (listKind_ == 0 ? list_.headings[1] : std::string(texts.lapWord)).c_str(),
                         kAlignLeft);
    for (size_t column = 0; column < 4; ++column)
    {
        DrawColorTextClipped(kTimesColumnX[column], headingY_, kTextColour,
                             std::string(texts.timesHeadings[column + 1]).c_str(), kAlignLeft);
    }
    SetExtraClipRect(18, 188, 571, 442);
    for (int32_t shown = 0; shown < visibleRows_; ++shown)
    {
        const size_t index = static_cast<size_t>(scrollRow_ + shown);
        if (index >= list_.rows.size())
        {
            break;
        }
        const ListRow& row = list_.rows[index];
        const int32_t y = 196 + shown * kRowHeight;
        const uint32_t colour = list_.holdsRiders && static_cast<int32_t>(index) == list_.playerRow
                                    ? kPlayerColour
                                    : kTextColour;
        if (list_.holdsRiders || index > 0)
        {
            char position[16];
            std::snprintf(position, sizeof(position), "%d.",
                          static_cast<int>(index) + (list_.holdsRiders ? 1 : 0));
            DrawColorTextClipped(24, y, colour, position, kAlignLeft);
        }
        DrawColorTextClipped(60, y, colour, row.name.c_str(), kAlignLeft);
        for (size_t column = 0; column < row.columns.size(); ++column)
        {
            DrawColorTextClipped(kTimesColumnX[column], y, colour, row.columns[column].c_str(),
                                 kAlignLeft);
        }
    }
    ClearExtraClipRect();
}

void PitBoxMenu::DrawResultList()
{
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    for (size_t column = 0; column < list_.headings.size(); ++column)
    {
        // The second heading ends where the lap numbers and the names end.
        Shadowed(kHeadingX[column], headingY_, kTextColour, list_.headings[column],
                 column == 1 ? kAlignRight : kAlignLeft);
    }
    const bool ghostSession = Mode() == GameMode::GhostRace;
    for (int32_t shown = 0; shown < visibleRows_; ++shown)
    {
        const size_t index = static_cast<size_t>(scrollRow_ + shown);
        if (index >= list_.rows.size())
        {
            break;
        }
        const ListRow& row = list_.rows[index];
        const int32_t y = headingY_ + 19 + shown * kRowHeight;
        char place[16];
        std::snprintf(place, sizeof(place), "%2d", static_cast<int>(index) + 1);
        uint32_t colour = kTextColour;
        if (list_.holdsRiders)
        {
            const bool player = static_cast<int32_t>(index) == list_.playerRow;
            colour = player ? kPlayerColour : kTextColour;
            DrawColorTextClipped(48, y, colour, place, kAlignLeft);
            SetExtraClipRect(54, y - 2, 185, y + kRowHeight);
            DrawColorTextClipped(70, y, colour, row.name.c_str(), kAlignLeft);
            ClearExtraClipRect();
        }
        else
        {
            colour = (row.flags & kLapSelected) != 0 ? kSelectedColour : kTextColour;
            DrawColorTextClipped(48, y, colour, place, kAlignLeft);
            char lap[24];
            if (ghostSession && (row.flags & kLapIsGhost) != 0)
            {
                std::snprintf(lap, sizeof(lap), "Ghost %2d", row.rider);
            }
            else
            {
                std::snprintf(lap, sizeof(lap), "%2d", row.rider);
            }
            DrawColorTextClipped(184, y, colour, lap, kAlignRight);
        }
        for (size_t column = 0; column < row.columns.size(); ++column)
        {
            DrawColorTextClipped(kValueX[column], y, colour, row.columns[column].c_str(),
                                 kAlignLeft);
        }
    }
    if (!list_.title.empty())
    {
        SetTextFont(GetMenuFont(MenuFont::Menu16));
        Shadowed(228, 49, kTextColour, list_.title, kAlignLeft);
    }
}

void PitBoxMenu::DrawSessionClock()
{
    RaceContext& race = *context_.race;
    const StandingsSession& session = race.standings.Session();
    const GameMode mode = Mode();
    float seconds = session.raceTime;
    if (mode != GameMode::TestRide)
    {
        seconds = std::max(0.0f, race.standings.sessionEndTime - session.raceTime);
    }
    const auto whole = static_cast<int32_t>(std::min(seconds, 5999.0f));
    char clock[16];
    std::snprintf(clock, sizeof(clock), "%2d:%02d", whole / 60, whole % 60);
    // The menu fonts pack a colon into the digits beside it.
    SetTextFont(GetRaceFont(RaceFont::Balmoral));
    DrawColorTextClipped(569, 116, kTextColour, clock, kAlignCentre);
    SetTextFont(GetMenuFont(MenuFont::Menu18));
    if (!session.isRace)
    {
        const uint32_t player = race.playerRider.load() % kRiderCount;
        char laps[16];
        if (session.lapLimit)
        {
            std::snprintf(laps, sizeof(laps), "%d/12",
                          static_cast<int>(race.bikes[player].lapsStarted));
        }
        else
        {
            std::snprintf(laps, sizeof(laps), "%d",
                          static_cast<int>(race.bikes[player].lapsStarted));
        }
        DrawColorTextClipped(569, 134, kTextColour, laps, kAlignCentre);
    }
}

void PitBoxMenu::DrawPointsPage(bool series)
{
    DrawHeader();
    const MenuState& settings = *context_.settings;
    const PitBoxTexts& texts = Texts();
    const size_t seriesCount = SeriesCircuitCount(settings);
    const int32_t columnWidth = series ? SeriesColumnWidth(seriesCount) : 36;
    const size_t circuits = series ? seriesCount : kLastChampionshipRound + 1;
    const size_t current =
        std::min<size_t>(settings.U32At(MenuState::kCircuitOffset), kCircuitCount - 1);
    const bool seriesOrder = Mode() == GameMode::ChampionshipSeries;
    const auto circuitAt = [&](size_t column)
    {
        if (series || seriesOrder)
        {
            const int8_t entry = settings.I8At(MenuState::kNetworkCircuitsOffset + column);
            return static_cast<size_t>(std::clamp<int32_t>(entry, 0, kCircuitCount - 1));
        }
        return column;
    };
    for (int32_t shown = 0; shown < visibleRows_; ++shown)
    {
        const size_t index = static_cast<size_t>(scrollRow_ + shown);
        if (index >= list_.rows.size())
        {
            break;
        }
        const ListRow& row = list_.rows[index];
        const int32_t y = 110 + shown * 3 * kRowHeight;
        const bool player = static_cast<int32_t>(index) == list_.playerRow;
        const uint32_t colour = player ? kPlayerColour : kTextColour;
        char place[16];
        std::snprintf(place, sizeof(place), "%02d", static_cast<int>(index) + 1);
        // The name's initial keeps its point only in a font that spaces its glyphs.
        SetTextFont(GetRaceFont(RaceFont::Balmoral));
        DrawColorTextClipped(48, y, colour, place, kAlignLeft);
        DrawColorTextClipped(80, y, colour, row.name.c_str(), kAlignLeft);
        DrawColorTextClipped(563, y, colour, row.columns[0].c_str(), kAlignRight);
        SetTextFont(GetMenuFont(MenuFont::Menu12));
        const size_t racesRun = series ? std::min<size_t>(seriesShowings_, circuits) : current + 1;
        for (size_t column = 0; column < circuits; ++column)
        {
            const size_t circuit = circuitAt(column);
            const int32_t x = 48 + static_cast<int32_t>(column) * columnWidth;
            DrawColorTextClipped(x, y + kRowHeight, kDimColour,
                                 std::string(texts.circuitCodes[circuit]).c_str(), kAlignLeft);
            const std::string points =
                column < racesRun ? PlacePointsText(ChampionshipPlace(
                                        settings, static_cast<uint32_t>(row.rider), circuit))
                                  : "-";
            DrawColorTextClipped(x, y + 2 * kRowHeight, colour, points.c_str(), kAlignLeft);
        }
    }
}

void PitBoxMenu::DrawGhostPage()
{
    g_menuBackground.Draw();
    DrawMenuScene();
    const PitBoxTexts& texts = Texts();
    if (g_language == Language::English && headline_ != nullptr)
    {
        DrawBitmapClipped(headline_, 0, 0, 0, 0, 400, 50, 1);
    }
    DrawGadgets();
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    Shadowed(20, 128, kTextColour, std::string(texts.chooseGhost), kAlignLeft);
    Shadowed(135, 396, kTextColour, std::string(texts.newGhost), kAlignRight);
    RaceContext& race = *context_.race;
    DrawClassAndCircuit(race, *context_.settings, DrawRiderNames(race, 52));
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    const std::string& name = race.race.ghostFileName;
    const int32_t width = DrawColorTextClipped(158, 396, kTextColour, name.c_str(), kAlignLeft);
    if (nameEntry_.IsActive() && cursorBlink_)
    {
        FillRectClipped(159 + width, 403, 159 + width + 8, 407, kPlayerColour);
    }
    if (selectedGhost_ >= 0 && selectedGhost_ < static_cast<int32_t>(ghosts_.size()))
    {
        DrawColorTextClipped(158, 112, kPlayerColour,
                             ghosts_[static_cast<size_t>(selectedGhost_)].ShownTitle().c_str(),
                             kAlignLeft);
    }
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    for (int32_t shown = 0; shown < 12; ++shown)
    {
        const int32_t index = ghostScroll_ + shown;
        if (index >= static_cast<int32_t>(ghosts_.size()))
        {
            break;
        }
        const GhostListEntry& entry = ghosts_[static_cast<size_t>(index)];
        const int32_t y = 150 + shown * 19;
        const uint32_t colour = index == selectedGhost_ ? kPlayerColour : kTextColour;
        if (index == selectedGhost_)
        {
            if (highlight_ != nullptr)
            {
                DrawBitmapClipped(highlight_, 0, 0, 20, y - 2, 600, 18, 0);
            }
            else
            {
                FillRectClipped(20, y - 2, 620, y + 16, 0x503020);
            }
        }
        const auto clipped =
            [&](int32_t left, int32_t right, const std::string& text, int32_t x, int32_t alignment)
        {
            SetExtraClipRect(left, y - 2, right, y + 17);
            DrawColorTextClipped(x, y, colour, text.c_str(), alignment);
            ClearExtraClipRect();
        };
        clipped(20, 210, entry.rider, 24, kAlignLeft);
        clipped(210, 295, entry.difficulty, 210, kAlignLeft);
        clipped(295, 460, entry.circuit, 295, kAlignLeft);
        clipped(460, 532, entry.weather, 460, kAlignLeft);
        SetTextFont(GetMenuFont(MenuFont::Menu12Fixed));
        clipped(533, 620, entry.lapTime, 616, kAlignRight);
        SetTextFont(GetMenuFont(MenuFont::Menu12));
    }
    if (ghostScrollKnob_ > 0)
    {
        SetExtraClipRect(624, 191, 633, 420);
        DrawTextureRectClipped(51, {624, ghostScrollKnob_, 632, ghostScrollKnob_ + 64},
                               TextureArea{}, 255, 0.0f);
        ClearExtraClipRect();
    }
}

void PitBoxMenu::DrawConfirmation()
{
    MenuFrame::Draw(confirmFrame_);
    if (!confirmFrame_.fullyOpen)
    {
        return;
    }
    const PitBoxTexts& texts = Texts();
    const bool grandPrix = Mode() == GameMode::GrandPrix;
    const auto& lines = grandPrix ? texts.quitGrandPrix : texts.quitChampionship;
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    for (size_t line = 0; line < lines.size(); ++line)
    {
        DrawColorTextClipped(confirmFrame_.centreX,
                             confirmFrame_.centreY - 50 + static_cast<int32_t>(line) * 20,
                             kTextColour, std::string(lines[line]).c_str(), kAlignCentre);
    }
    DrawGadgetList(confirmFrame_.gadgets, buttonPictures_);
    DrawColorTextClipped(confirmOk_.screenX + confirmOk_.width / 2, confirmOk_.screenY + 4,
                         confirmOk_.hover != 0 ? kPlayerColour : kTextColour, "OK", kAlignCentre);
    DrawColorTextClipped(confirmCancel_.screenX + confirmCancel_.width / 2,
                         confirmCancel_.screenY + 4,
                         confirmCancel_.hover != 0 ? kPlayerColour : kTextColour,
                         g_language == Language::English ? "Cancel" : "Abbruch", kAlignCentre);
}
