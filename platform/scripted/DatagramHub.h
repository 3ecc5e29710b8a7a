#pragma once

// A local network inside one process, for tests: machines with addresses of their own, each
// opening broadcast sockets as on the real network (every socket on a port gets every datagram
// sent to that port, the sender's own included). Links between machines lose, duplicate, delay
// and reorder datagrams, or are cut, as the test sets them, from a seeded generator, so that
// every run is the same. Time is virtual: datagrams in transit arrive when the test advances
// the hub's clock; those without delay arrive at once.
//
// Threads: every call may come from any thread; the hub keeps itself under one lock. The hub
// must outlive the networks and sockets it hands out.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

#include "platform/DatagramNetwork.h"

// What happens on the way from one machine to another.
struct LinkConditions
{
    uint32_t lossPercent = 0;       // datagrams that never arrive
    uint32_t duplicatePercent = 0;  // datagrams that arrive twice
    uint32_t delayMs = 0;           // transit time of every datagram
    uint32_t jitterMs = 0;          // a further 0..jitterMs each: datagrams overtake others
    bool cut = false;               // nothing arrives: a partition
};

class DatagramHub
{
public:
    explicit DatagramHub(uint32_t seed = 1);
    ~DatagramHub();
    DatagramHub(const DatagramHub&) = delete;
    DatagramHub& operator=(const DatagramHub&) = delete;

    // A machine on the hub; without an address it has none to give (as a machine without a
    // network interface).
    std::unique_ptr<DatagramNetwork> AddMachine(std::optional<uint32_t> address);

    // Every link between two machines; a machine's datagrams to itself always arrive at once.
    void SetConditions(const LinkConditions& conditions);
    // The link from one machine to another, over what SetConditions gave.
    void SetLinkConditions(uint32_t from, uint32_t to, const LinkConditions& conditions);
    // Cuts a machine off from every other one, both ways, or joins it again.
    void Isolate(uint32_t address, bool isolated);
    // Opening a socket fails while set.
    void SetSocketsFail(bool fail);

    // Lets virtual time pass: every datagram due by then arrives, in the order it is due.
    void AdvanceTo(uint32_t nowMs);
    uint32_t NowMs() const;
    // Datagrams sent so far, by every machine.
    uint64_t DatagramsSent() const;

private:
    class Network;
    class Socket;
    struct Endpoint
    {
        uint32_t address = 0;
        uint16_t port = 0;
        bool open = true;
        std::deque<std::vector<uint8_t>> arrived;
    };
    struct InTransit
    {
        uint32_t dueMs = 0;
        uint64_t order = 0;
        std::shared_ptr<Endpoint> to;
        std::vector<uint8_t> datagram;
    };

    void Send(const Endpoint& from, std::span<const uint8_t> datagram);
    void Deliver(const std::shared_ptr<Endpoint>& to, std::span<const uint8_t> datagram,
                 uint32_t delayMs);
    LinkConditions ConditionsOf(uint32_t from, uint32_t to) const;
    uint32_t Roll(uint32_t below);

    mutable std::mutex mutex_;
    std::minstd_rand random_;
    LinkConditions conditions_;
    struct LinkOverride
    {
        uint32_t from = 0;
        uint32_t to = 0;
        LinkConditions conditions;
    };
    std::vector<LinkOverride> overrides_;
    std::vector<uint32_t> isolated_;
    std::vector<std::shared_ptr<Endpoint>> endpoints_;
    std::vector<InTransit> inTransit_;
    uint64_t nextOrder_ = 0;
    uint32_t nowMs_ = 0;
    uint64_t sent_ = 0;
    bool socketsFail_ = false;
};
