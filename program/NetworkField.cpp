#include "program/NetworkField.h"

#include <algorithm>

#include "app/game/CurrentRace.h"
#include "net/NetPeer.h"
#include "race/RaceContext.h"

namespace
{
// Race statuses the field starts with: a player's rider at the controls of its input ring, or
// the computer's.
constexpr uint32_t kPlayerAtControls = 0;
constexpr uint32_t kComputerRider = 8;
}  // namespace

NetworkField EnterNetworkField(RaceContext& race, const RaceLineup& lineup, uint32_t ownRider,
                               uint32_t laps)
{
    uint32_t riders = 0;
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        riders = lineup.gridPlusOne[rider] != 0 ? rider + 1 : riders;
    }
    StandingsSession session;
    session.isRace = true;
    session.isNetwork = true;
    session.laps = laps;
    session.language = static_cast<uint32_t>(g_language);
    session.playerRider = ownRider;
    session.viewedRider = ownRider;
    session.riderCount = static_cast<uint16_t>(riders);
    race.current.riderCount = riders;
    race.race.riderCount = static_cast<uint16_t>(riders);
    race.race.totalLaps = static_cast<uint16_t>(laps);
    race.race.inRace.fill(0);
    NetworkField field;
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        const bool inRace = lineup.gridPlusOne[rider] != 0;
        const bool player = inRace && lineup.human[rider] != 0 &&
                            lineup.peers[rider].state == static_cast<int32_t>(NetPeerState::Player);
        bike.raceStatus = player ? kPlayerAtControls : kComputerRider;
        bike.flags = inRace ? 0 : bike_flags::kInactive;
        // Never what an earlier race left in the record: the machines would differ.
        bike.autoGearbox = lineup.firstAid[rider];
        bike.furtherAid = lineup.secondAid[rider];
        bike.steeringAid = lineup.thirdAid[rider];
        bike.steeringAidMode = 0;
        bike.autoClutch = 1;
        // The rider a player chose in the lobby, whose machine and livery it rides.
        const uint32_t choice = player ? lineup.riderChoice[rider] : 0;
        for (size_t byte = 0; byte < bike.lobbyChoices.size(); ++byte)
        {
            bike.lobbyChoices[byte] = static_cast<uint8_t>(choice >> (8 * byte));
        }
        race.race.inRace[rider] = inRace ? 1 : 0;
        session.inRace[rider] = inRace ? 1 : 0;
        race.standings.gridOrder[rider] =
            inRace ? lineup.gridPlusOne[rider] : static_cast<int32_t>(kRiderCount + 1);
        field.racingRiders |= inRace ? 1u << rider : 0;
        field.otherPlayers |= player && rider != ownRider ? 1u << rider : 0;
    }
    race.standings.ResetForRace(session);
    std::copy(lineup.randomTable.begin(), lineup.randomTable.end(), race.randomTable.words.begin());
    return field;
}
