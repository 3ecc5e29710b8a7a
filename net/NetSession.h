#pragma once

// One machine's network session: everything network play keeps, in one object, so that a test
// can run several machines in one process; the game's is g_net.
//
// There is no server program. One player's machine hosts the session and the others join it;
// every datagram is broadcast on the session's port, names its sender's slot (the rider it
// plays) and, where it matters, its target, and each machine ignores what is not meant for it.
// A request that awaits an answer is re-sent by the timer tick until it is answered or its
// re-sends run out; at most one is pending at a time, and starting one abandons the other.
//
// Threads: the receive loop, the re-sends, the host's watch and the input exchange run on the
// 2 ms timer thread (Receive, CountDownTimers, ResendPending, CheckTimeouts, and the input
// calls); everything else on the main thread. One lock keeps the session's state whole between
// them. It is never held across a pass of the message pump (the scripted machine runs the
// timer tick inside it), nor while the machine resets the race clock; the timer tick may hold
// the race clock's lock when it calls in.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "net/NetLinks.h"
#include "net/NetLobbyMessages.h"
#include "net/NetPacket.h"
#include "net/NetPeer.h"
#include "net/NetRaceMessages.h"
#include "net/NetSettings.h"
#include "platform/DatagramNetwork.h"

enum class NetSessionState : int32_t
{
    None = -1,    // no session: only the join and the server search are heard
    Lobby = 0,    // the host found a free port, or the client was accepted
    Running = 1,  // the host started the session's races
};

// Why a session ended for this machine (besides a refused join's reason).
inline constexpr uint32_t kNetErrorDropped = 400;   // the host dropped this machine
inline constexpr uint32_t kNetErrorHostLost = 500;  // nothing heard from the host

// One of the eight servers a search can list, one per probe port.
struct ServerListEntry
{
    uint16_t probePort = 0;
    uint32_t hostAddress = 0;
    int32_t sessionState = -1;  // -1 = nobody answered on this port
    NetName serverName;
    ServerSettings settings;
    std::array<int8_t, kNetCalendarEntries> circuits{};

    bool operator==(const ServerListEntry&) const = default;
};

// What a test compares to see that a datagram changed nothing: every value of the session but
// the last-heard times and the input rings.
struct NetSessionSnapshot
{
    struct Peer
    {
        uint32_t address;
        NetPeerState state;
        std::array<bool, 5> flags;
        uint32_t reserved;
        bool operator==(const Peer&) const = default;
    };
    std::array<Peer, kNetSlotCount> peers;
    std::array<NetName, kNetSlotCount> riderNames;
    std::array<uint32_t, kNetSlotCount> riderChoices;
    std::array<std::array<bool, 3>, kNetSlotCount> rideAids;
    std::array<bool, 5> waitFlags;
    std::array<bool, 9> replyFlags;
    std::array<uint32_t, 4> counters;
    NetSessionState sessionState;
    bool aborted;
    uint32_t ownSlot, hostSlot, hostAddress, inputDelay, pendingType, failedType, errorCode;
    int32_t retriesLeft, grantedSlot;
    LobbyRoster lobbyRoster;
    std::array<ServerListEntry, kNetProbePorts> serverList;
    HostStatus hostStatus;
    bool operator==(const NetSessionSnapshot&) const = default;
};

class OutputWindow;

class NetSession
{
public:
    static constexpr uint32_t kRequestRetries = 10;
    static constexpr uint32_t kSearchRetries = 3;
    static constexpr uint32_t kSilentMs = 2000;
    static constexpr uint32_t kDropMs = 10000;
    static constexpr int32_t kStatusIntervalMs = 500;
    static constexpr uint32_t kReceivesPerTick = 10;

    NetSession();
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // The machine, race and network the session works with; all three must outlive it or
    // the next Attach. The game window attaches the game's (the window's message pump is the
    // one every wait runs). Main thread, with no network play on.
    void Attach(NetMachine& machine, NetRace& race, DatagramNetwork& network);
    void Detach();

    // The game window, whose messages every wait of the session pumps and whose quit flag
    // ends the wait; set once by the window.
    void SetWindow(OutputWindow* window) { window_ = window; }
    OutputWindow* Window() const { return window_; }

    // --- Role and switches (main thread) ---------------------------------------------------
    void SetHost(bool host);
    bool IsHost() const;
    // Network play is on: the timer tick runs the session's steps.
    void SetActive(bool active) { active_.store(active, std::memory_order_relaxed); }
    bool IsActive() const { return active_.load(std::memory_order_relaxed); }
    // Input steps between sampling an input and the simulation step that uses it.
    void SetInputDelay(uint32_t frames);
    uint32_t InputDelay() const;
    void SetPort(uint16_t portValue);
    uint16_t Port() const;

    // --- Start and end (main thread) --------------------------------------------------------
    // Finds the own address, takes the settings, empties the peer table (the host takes its
    // own slot) and leaves no session. False when the machine has no address.
    bool Startup();
    // (Re)opens the socket on the current port. False when it cannot be opened.
    bool OpenSocket();
    // Network play off, no session, socket closed.
    void Shutdown();
    // Empties the peer table, the wait flags and the lobby roster; primes every input ring.
    void ResetPeers();
    // Primes every input ring for a race (frames below the input delay present, with no
    // input) and clears the previous race's start. The line-up and set-up request of the next
    // race may have come already: they stay (a client forgets the old ones with the result).
    void ResetInputRings();

    // --- Timer thread -----------------------------------------------------------------------
    // Takes and handles up to kReceivesPerTick waiting datagrams.
    void Receive();
    // The re-send and host-status countdowns lose ms.
    void CountDownTimers(int32_t ms);
    // Re-sends the pending request once its countdown has run out; when its re-sends are used
    // up the request has failed.
    void ResendPending();
    // The host's watch over silent players and its status; a client's watch over the host.
    void CheckTimeouts();
    // The lock-step input exchange of a running race: it comes with the race exchange, and
    // until then sends and asks for nothing.
    void SendInputFrames();
    void RequestMissingInputs();
    void RepeatInputRequests(uint32_t frame);
    // The input ring of a slot: the input step fills the own rider's, the receive loop the
    // others', the race reads them. Lock-free.
    InputRing& InputRingOf(uint32_t slot) { return peers_[slot].inputRing; }

    // --- State check (host, main thread, after each simulation step) --------------------------
    // Adds a rider's state block, as entry `index` from 0, to the state check of the step; a
    // new step starts a new check.
    void AddStateCheckRider(uint32_t tick, uint32_t rider, uint32_t index,
                            std::span<const uint8_t, kStateBlockBytes> block);
    // Broadcasts the check when a rider was added since the last one.
    void SendStateCheck();

    // --- Lobby (main thread; each waiting one runs the message pump until done) -----------
    // Client: asks the host to take this machine in. True when accepted: the player's rider,
    // the settings record and the race variables then follow the host.
    bool Join();
    // Client: probes the settings' port, or all eight probe ports, for servers; returns how
    // many answered (at most one per port).
    uint32_t SearchServers(uint32_t portCount);
    // Host: the first of the settings' port, or of the eight probe ports, on which no host
    // answers; the session's port stays there. False when all are taken or a socket failed.
    bool FindFreePort(uint32_t portCount);
    // Host: a session runs on its port from now on.
    void OpenLobby();
    // Sends the settings' player name to the host (re-sent until acknowledged).
    void SendPlayerName();
    // Client: asks for another slot; the granted slot, or nothing when refused or unanswered.
    std::optional<uint32_t> RequestSlotChange(uint32_t slot);
    // Moves this machine's player to another slot: a client asks the host, the host moves
    // itself unless a player holds the slot. False when nothing changed.
    bool MoveToSlot(uint32_t slot);
    // Client: tells the host the rider and ride aids chosen; true once acknowledged.
    bool SendRiderChoice();
    // Client: whether the host's session is still open (it then forgets this machine's
    // readiness); nothing when unanswered.
    std::optional<bool> QuerySessionOpen();
    // Host: its own readiness, as a client's rider choice sets it.
    void SetOwnReady(bool ready);
    // Host: starts the session's races once every player is ready; false (still in the
    // lobby) while one is not.
    bool StartSession();
    // Host: the rosters to every client.
    void SendPlayerRoster();
    void SendRiderRoster();
    void SetRiderName(uint32_t slot, std::string_view name);

    // --- Race exchange (main thread) --------------------------------------------------------
    // Host: builds the race's line-up (grid by points or at random, the players' rider
    // choices and ride aids, the start tick and the random table), hands it to its own race
    // and waits until every player has it. A host alone returns at once. False when a player
    // did not acknowledge it, or the session ended.
    bool SendRaceLineup(uint32_t raceStartTick);
    // Client: waits for the host's line-up. False when the session ended or the player backed
    // out with Esc (the session is then left).
    bool WaitForRaceLineup();
    // The player leaves the running race: the computer takes the own rider over, here and on
    // every other machine. Does not wait.
    void RetireRider();
    // Host: asks every player for its bike set-up, waits for them (Esc ends only that wait)
    // and sends every racing rider's set-up to all, without waiting for the answers. A host
    // alone returns at once. False when a player did not answer the request, or the session
    // ended.
    bool CollectBikeSetups();
    // Client: waits for the host's request, sends the own rider's set-up and waits for
    // everyone's. False when the session ended or the player backed out with Esc (the
    // session is then left).
    bool SendBikeSetup();
    // Host: the race's result to every client. Does not wait.
    void SendRaceResult(const RaceResult& result);
    // Client: waits for the host's result of the race. Nothing when the session ended or the
    // player backed out with Esc (the session is then left).
    std::optional<RaceResult> ReceiveRaceResult();

    // --- Race start (main thread) -----------------------------------------------------------
    // Host: waits for every player to be ready, restarts the race clock and starts the race.
    // False when the host backed out with Esc (the session is then closed) or left.
    bool StartRaceAsHost();
    // Client: reports ready and waits for the host's start. False when it failed or the
    // player backed out with Esc (the session is then left).
    bool WaitForRaceStart();

    // --- Leaving (main thread) --------------------------------------------------------------
    // Leaves the session, waiting for every player's acknowledgement. False when unanswered.
    bool Leave();
    // Host: ends the session for everyone. False when a client did not acknowledge.
    bool CloseSession();
    // The host closes the session, a client leaves it.
    void EndSession();

    // --- What the lobby, the race and tests read (any thread) ------------------------------
    NetSessionState SessionState() const;
    bool IsAborted() const;
    void ClearAborted();
    uint32_t ErrorCode() const;
    // The error code, cleared: each error is told once.
    uint32_t TakeErrorCode();
    uint32_t FailedType() const;
    uint32_t PendingType() const;
    uint32_t OwnSlot() const;
    uint32_t OwnAddress() const;
    uint32_t HostSlot() const;
    uint32_t ActivePeerCount() const;
    NetPeerState PeerState(uint32_t slot) const;
    bool IsPeerReady(uint32_t slot) const;
    NetName RiderName(uint32_t slot) const;
    std::array<ServerListEntry, kNetProbePorts> ServerList() const;
    LobbyRoster CurrentLobbyRoster() const;
    // Counters that change with new data: rosters, rider lists, a closed session (or this
    // machine dropped), servers found.
    uint32_t RostersReceived() const;
    uint32_t RiderListsReceived() const;
    uint32_t SessionsClosed() const;
    void ClearSessionsClosed();
    uint32_t ServersFound() const;
    // The race may start: the input steps run.
    bool RaceStarted() const { return raceStarted_.load(std::memory_order_relaxed); }
    uint32_t RaceStartClockMs() const;
    // The input frame the race clock waits for.
    uint32_t AwaitedFrame() const { return awaitedFrame_.load(std::memory_order_relaxed); }
    NetSessionSnapshot Snapshot() const;

private:
    enum class WaitEnd
    {
        Done,     // the awaited condition holds
        Stopped,  // the window quits or the session was aborted
        Failed,   // the request's re-sends ran out, or the join was refused
        Escaped,  // the player pressed Esc
    };
    struct SendBuffer
    {
        std::vector<uint8_t> bytes;
        size_t length = 0;
    };
    using Lock = std::unique_lock<std::mutex>;

    // NetSession.cpp: state, requests, waits and the timer steps.
    SendBuffer& BufferOf(NetMsgType type);
    NetPacketHeader HeaderFor(NetMsgType type, uint8_t target = kNetAllSlots) const;
    uint8_t SenderSlot() const;
    void Send(NetMsgType type);
    void StartRequest(NetMsgType type, uint32_t retries);
    void ClearPending(NetMsgType answered);
    // Runs the message pump until `done` (called under the lock) holds or the wait ends
    // otherwise; Esc ends it only when escapable.
    WaitEnd Wait(const std::function<bool()>& done, bool escapable);
    void ResetPeersLocked();
    void PrimeInputRings();
    uint32_t CountActivePeers() const;
    bool AllActive(bool NetPeer::*flag) const;
    void ClearFlag(bool NetPeer::*flag);
    void ReevaluateClockHold();
    void BuildHeaderOnly(NetMsgType type, uint8_t target);
    // Waits while the race result is still being sent: a new request would replace it while
    // a client waits for it.
    void FinishSendingResult();
    bool OpenSocketLocked();
    // A player's record, name and choices go to another slot; the old slot is left empty
    // with the computer's name.
    void MoveRecord(uint32_t from, uint32_t to);
    void WatchPeersAsHost(uint32_t nowMs);
    void DropPeer(uint32_t slot);
    void GiveSlotToComputer(uint32_t slot);
    NetName DefaultNameOf(uint32_t slot) const;

    // NetReceive.cpp: the receive loop, its dispatch and the lobby's handlers.
    void Handle(std::span<const uint8_t> datagram);
    void Dispatch(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    bool TakeAcknowledgement(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    bool TakeAnswer(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void DispatchLobby(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void DispatchRace(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void DispatchControl(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    NetPeer* ActiveSender(const NetPacketHeader& header);
    NetPeer* AnySender(const NetPacketHeader& header);
    bool FromHost(const NetPacketHeader& header);
    void Answer(NetMsgType type, uint8_t target);
    void OnJoinRequest(std::span<const uint8_t> datagram);
    bool TakeJoiner(const JoinRequest& request, uint32_t& slot);
    void SendJoinAccept(uint32_t requester, uint32_t slot);
    void OnJoinAccept(std::span<const uint8_t> datagram);
    void OnJoinReject(std::span<const uint8_t> datagram);
    void OnRejoinRequest(std::span<const uint8_t> datagram);
    void OnRejoinAnswer(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnPlayerRoster(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnPlayerName(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnSlotChangeRequest(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnSlotChangeReply(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnRiderChoice(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnSessionQuery(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnSessionReply(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnLobbyRoster(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnServerQuery(std::span<const uint8_t> datagram);
    void OnServerInfo(std::span<const uint8_t> datagram);

    // NetRaceHandlers.cpp: the race exchange, the input exchange and the control messages.
    void OnRaceLineup(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnStateCheck(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnBikeSetup(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnAllBikeSetups(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnSetupRequest(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnInputFrames(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnInputResendRequest(std::span<const uint8_t> datagram);
    void OnReadyToStart(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnRaceStart(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnRaceResult(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnHostStatus(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnRiderRetire(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnClientLeave(const NetPacketHeader& header, std::span<const uint8_t> datagram);
    void OnSessionClose(const NetPacketHeader& header, std::span<const uint8_t> datagram);

    // NetInputExchange.cpp: the lock-step exchange's sending side.
    // Broadcasts the own inputs of frames newest-2 .. newest; false (nothing sent) when the
    // own ring lacks one of them, since a gap would reach the others as inputs of zero.
    bool SendOwnInputs(uint32_t newest);
    // Asks every active slot whose ring lacks the frame for it; true when one lacks it.
    bool RequestFrameFromMissing(uint32_t frame);

    // NetSessionLobby.cpp: the lobby's builders and the port probe.
    enum class ProbeEnd
    {
        Answered,      // a host answered on the port
        NoAnswer,      // the query's re-sends ran out
        SocketFailed,  // no socket on the port
        Stopped,       // the window quits or the session was aborted
    };
    ProbeEnd ProbePort(uint16_t port, uint32_t retries);
    std::vector<uint16_t> PortsToProbe(uint32_t portCount);
    void SendPlayerRosterLocked();
    void SendRiderRosterLocked();
    void BuildRiderRoster(NetMsgType type);

    OutputWindow* window_ = nullptr;
    NetMachine* machine_ = nullptr;
    NetRace* race_ = nullptr;
    DatagramNetwork* network_ = nullptr;

    mutable std::mutex mutex_;
    std::atomic<bool> active_{false};
    std::atomic<bool> raceStarted_{false};
    std::atomic<uint32_t> awaitedFrame_{0};

    // Everything below is kept under mutex_.
    std::unique_ptr<DatagramSocket> socket_;
    bool isHost_ = false;
    uint32_t ownAddress_ = 0;
    uint32_t ownSlot_ = 0;
    uint32_t inputDelay_ = 2;
    uint16_t port_ = kNetDefaultPort;
    NetSessionSettings settings_;
    NetSessionState sessionState_ = NetSessionState::None;
    bool aborted_ = false;
    uint32_t hostSlot_ = 0;
    uint32_t hostAddress_ = 0;

    // The wait flags.
    bool allReady_ = false;
    bool lineupReceived_ = false;
    bool allSetupsReceived_ = false;
    bool setupRequested_ = false;
    // The reply flags of the main thread's requests.
    bool joinAccepted_ = false;
    bool rejoinAccepted_ = false;
    bool slotChangeAnswered_ = false;
    int32_t grantedSlot_ = -1;
    bool nameAcknowledged_ = false;
    bool choiceAcknowledged_ = false;
    bool sessionReplied_ = false;
    bool sessionOpen_ = false;
    bool readyAcknowledged_ = false;
    bool raceResultReceived_ = false;
    bool allRetiresAcknowledged_ = false;
    bool raceStartTaken_ = false;  // the first MsgRaceStart of this race has come
    uint32_t raceStartClockMs_ = 0;
    RaceResult raceResult_{};

    // The one pending request.
    uint32_t pendingType_ = 0;
    int32_t retriesLeft_ = 0;
    uint32_t failedType_ = 0;
    uint32_t errorCode_ = 0;
    int32_t resendCountdownMs_ = -1;
    int32_t statusCountdownMs_ = 0;

    uint32_t rostersReceived_ = 0;
    uint32_t riderListsReceived_ = 0;
    uint32_t sessionsClosed_ = 0;
    uint32_t serversFound_ = 0;

    std::array<NetPeer, kNetSlotCount> peers_;
    std::array<NetName, kNetSlotCount> riderNames_;
    std::array<uint32_t, kNetSlotCount> riderChoices_{};
    std::array<std::array<bool, 3>, kNetSlotCount> rideAids_{};
    std::array<ServerListEntry, kNetProbePorts> serverList_;
    LobbyRoster lobbyRoster_;
    HostStatus hostStatus_;
    JoinAccept joined_;  // what the host announced when it took this machine in
    struct SlotMove
    {
        uint32_t from = kNetSlotCount;
        uint32_t to = kNetSlotCount;
    };
    SlotMove lastSlotMove_;  // the host's last granted slot change

    // Grid place + 1 of every slot in the race the host lined up last (0: not racing).
    std::array<uint8_t, kNetSlotCount> raceGrid_{};
    // The state check being built: its step and highest entry (-1: none).
    uint32_t stateCheckTick_ = 0;
    int32_t stateCheckHighest_ = -1;

    std::array<SendBuffer, kNetMsgTypeCount> sendBuffers_;
    std::vector<uint8_t> receiveBuffer_;
};

extern NetSession g_net;
