#pragma once

// The wire layouts of the messages around and during a race: the line-up, the bike set-ups,
// the input frames, the state check, the host's status, the start and the results. As in
// NetLobbyMessages.h, every Parse function checks the length and the range of every field
// later used as an index or a count; the large ones are read through views over the datagram.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "net/NetPacket.h"
#include "race/LockstepState.h"

inline constexpr size_t kBikeSetupBytes = 1092;
static_assert(kStateBlockBytes == 372, "a rider's checksum word and 92 words");
inline constexpr size_t kRandomTableWords = 260;
inline constexpr uint32_t kRandomValueMax = 0x7FFF;  // the runtime generator's range

// MsgRaceLineup (1520 bytes): everything a client needs to run the same race.
struct RaceLineup
{
    struct Peer
    {
        uint32_t address = 0;
        int32_t state = -1;
    };

    std::array<uint8_t, kNetSlotCount> gridPlusOne{};  // 0 = not in this race, else 1..26
    std::array<uint32_t, kNetSlotCount> riderChoice{};
    std::array<uint8_t, kNetSlotCount> human{};  // 1 = a player's slot, also a dropped one
    // The three ride aids of each slot as MsgRiderChoice carries them: 1 = on.
    std::array<uint8_t, kNetSlotCount> firstAid{};
    std::array<uint8_t, kNetSlotCount> secondAid{};
    std::array<uint8_t, kNetSlotCount> thirdAid{};
    std::array<Peer, kNetSlotCount> peers{};
    uint32_t raceStartTick = 0;
    std::array<uint32_t, kRandomTableWords> randomTable{};
};
size_t WriteRaceLineup(std::span<uint8_t> out, const NetPacketHeader& header,
                       const RaceLineup& message);
std::optional<RaceLineup> ParseRaceLineup(std::span<const uint8_t> datagram);

// MsgStateCheck (388 + 376 n bytes): the host's state blocks of every rider after one tick.
inline constexpr size_t kStateCheckEntryBytes = 4 + kStateBlockBytes;
class StateCheckView
{
public:
    static std::optional<StateCheckView> Parse(std::span<const uint8_t> datagram);

    uint32_t Tick() const { return fields_.U32(4); }
    size_t EntryCount() const { return entries_; }  // highest index + 1
    uint32_t Rider(size_t entry) const { return fields_.U32(Entry(entry)); }
    std::span<const uint8_t, kStateBlockBytes> Block(size_t entry) const
    {
        return fields_.Bytes(Entry(entry) + 4, kStateBlockBytes).first<kStateBlockBytes>();
    }

private:
    StateCheckView(std::span<const uint8_t> datagram, size_t entries)
        : fields_(datagram), entries_(entries)
    {
    }
    static size_t Entry(size_t entry) { return 12 + kStateCheckEntryBytes * entry; }

    NetFields fields_;
    size_t entries_;
};
// The header of a state check with no entry yet; entries are added with WriteStateCheckEntry
// and the length follows from the highest index.
void WriteStateCheckHead(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t tick,
                         uint32_t highestIndex);
void WriteStateCheckEntry(std::span<uint8_t> out, size_t index, uint32_t rider,
                          std::span<const uint8_t, kStateBlockBytes> block);
size_t StateCheckLength(uint32_t highestIndex);

// MsgBikeSetup (1096 bytes): the sender's whole set-up block.
size_t WriteBikeSetup(std::span<uint8_t> out, const NetPacketHeader& header,
                      std::span<const uint8_t, kBikeSetupBytes> setup);
std::optional<std::span<const uint8_t, kBikeSetupBytes>> ParseBikeSetup(
    std::span<const uint8_t> datagram);

// MsgAllBikeSetups (8 + 1096 n bytes): a block per rider in the race.
inline constexpr size_t kAllBikeSetupsBlockBytes = 4 + kBikeSetupBytes;
class AllBikeSetupsView
{
public:
    static std::optional<AllBikeSetupsView> Parse(std::span<const uint8_t> datagram);

    size_t Count() const { return count_; }
    uint32_t Slot(size_t block) const { return fields_.U32(Block(block)); }
    std::span<const uint8_t, kBikeSetupBytes> Setup(size_t block) const
    {
        return fields_.Bytes(Block(block) + 4, kBikeSetupBytes).first<kBikeSetupBytes>();
    }

private:
    AllBikeSetupsView(std::span<const uint8_t> datagram, size_t count)
        : fields_(datagram), count_(count)
    {
    }
    static size_t Block(size_t block) { return 8 + kAllBikeSetupsBlockBytes * block; }

    NetFields fields_;
    size_t count_;
};
void WriteAllBikeSetupsHead(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t count);
void WriteAllBikeSetupsBlock(std::span<uint8_t> out, size_t block, uint32_t slot,
                             std::span<const uint8_t, kBikeSetupBytes> setup);
size_t AllBikeSetupsLength(uint32_t count);

// MsgInputFrames (20 bytes): one machine's inputs of three successive frames.
struct InputFrames
{
    uint32_t newest = 0;  // frame n, below 2^31; frames n-2, n-1 and n follow
    std::array<std::array<uint8_t, 4>, 3> inputs{};  // of n-2, n-1, n
};
size_t WriteInputFrames(std::span<uint8_t> out, const NetPacketHeader& header,
                        const InputFrames& message);
std::optional<InputFrames> ParseInputFrames(std::span<const uint8_t> datagram);

// MsgInputResendRequest (8 bytes): the frame the target owes; below 2^31.
size_t WriteInputResendRequest(std::span<uint8_t> out, const NetPacketHeader& header,
                               uint32_t frame);
std::optional<uint32_t> ParseInputResendRequest(std::span<const uint8_t> datagram);

// MsgHostStatus (212 bytes): the host's watch over the other machines.
struct HostStatus
{
    std::array<int32_t, kNetSlotCount> silent{};          // the slot's number, else -1
    std::array<int32_t, kNetSlotCount> droppedAtFrame{};  // tick of the drop, else -1

    bool operator==(const HostStatus&) const = default;
};
size_t WriteHostStatus(std::span<uint8_t> out, const NetPacketHeader& header,
                       const HostStatus& message);
std::optional<HostStatus> ParseHostStatus(std::span<const uint8_t> datagram);

// MsgRaceStart (8 bytes): the host's race clock in ms when it sent it.
size_t WriteRaceStart(std::span<uint8_t> out, const NetPacketHeader& header, uint32_t raceClockMs);
std::optional<uint32_t> ParseRaceStart(std::span<const uint8_t> datagram);

// MsgRaceResult (368 bytes): four per-rider arrays of the standings.
inline constexpr uint32_t kNoRiderAtPlace = 0xFFFFFFFF;
struct RaceResult
{
    std::array<uint32_t, kNetSlotCount> riderAtPlace{};  // place 1 first; a rider, or none
    std::array<float, kNetSlotCount> sessionTimes{};     // seconds
    std::array<int16_t, kNetSlotCount> sessionRanks{};   // negative = out
    std::array<uint32_t, kNetSlotCount> fourthValue{};
};
size_t WriteRaceResult(std::span<uint8_t> out, const NetPacketHeader& header,
                       const RaceResult& message);
std::optional<RaceResult> ParseRaceResult(std::span<const uint8_t> datagram);
