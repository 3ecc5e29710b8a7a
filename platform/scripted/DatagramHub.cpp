#include "platform/scripted/DatagramHub.h"

#include <algorithm>

class DatagramHub::Socket final : public DatagramSocket
{
public:
    Socket(DatagramHub& hub, std::shared_ptr<Endpoint> endpoint)
        : hub_(hub), endpoint_(std::move(endpoint))
    {
    }

    ~Socket() override
    {
        const std::lock_guard lock(hub_.mutex_);
        endpoint_->open = false;
        std::erase(hub_.endpoints_, endpoint_);
    }

    bool Broadcast(std::span<const uint8_t> datagram) override
    {
        hub_.Send(*endpoint_, datagram);
        return true;
    }

    std::optional<size_t> Receive(std::span<uint8_t> buffer) override
    {
        const std::lock_guard lock(hub_.mutex_);
        if (endpoint_->arrived.empty())
        {
            return std::nullopt;
        }
        const std::vector<uint8_t> datagram = std::move(endpoint_->arrived.front());
        endpoint_->arrived.pop_front();
        std::copy_n(datagram.begin(), std::min(datagram.size(), buffer.size()), buffer.begin());
        return datagram.size();
    }

private:
    DatagramHub& hub_;
    std::shared_ptr<Endpoint> endpoint_;
};

class DatagramHub::Network final : public DatagramNetwork
{
public:
    Network(DatagramHub& hub, std::optional<uint32_t> address) : hub_(hub), address_(address) {}

    std::optional<uint32_t> OwnAddress() override { return address_; }

    std::unique_ptr<DatagramSocket> OpenBroadcastSocket(uint16_t udpPort) override
    {
        const std::lock_guard lock(hub_.mutex_);
        if (hub_.socketsFail_)
        {
            return nullptr;
        }
        auto endpoint = std::make_shared<Endpoint>();
        endpoint->address = address_.value_or(kIpv4None);
        endpoint->port = udpPort;
        hub_.endpoints_.push_back(endpoint);
        return std::make_unique<Socket>(hub_, std::move(endpoint));
    }

private:
    DatagramHub& hub_;
    std::optional<uint32_t> address_;
};

DatagramHub::DatagramHub(uint32_t seed) : random_(seed) {}

DatagramHub::~DatagramHub() = default;

std::unique_ptr<DatagramNetwork> DatagramHub::AddMachine(std::optional<uint32_t> address)
{
    return std::make_unique<Network>(*this, address);
}

void DatagramHub::SetConditions(const LinkConditions& conditions)
{
    const std::lock_guard lock(mutex_);
    conditions_ = conditions;
}

void DatagramHub::SetLinkConditions(uint32_t from, uint32_t to, const LinkConditions& conditions)
{
    const std::lock_guard lock(mutex_);
    std::erase_if(overrides_,
                  [&](const LinkOverride& link) { return link.from == from && link.to == to; });
    overrides_.push_back({from, to, conditions});
}

void DatagramHub::Isolate(uint32_t address, bool isolated)
{
    const std::lock_guard lock(mutex_);
    std::erase(isolated_, address);
    if (isolated)
    {
        isolated_.push_back(address);
    }
}

void DatagramHub::SetSocketsFail(bool fail)
{
    const std::lock_guard lock(mutex_);
    socketsFail_ = fail;
}

void DatagramHub::AdvanceTo(uint32_t nowMs)
{
    const std::lock_guard lock(mutex_);
    nowMs_ = std::max(nowMs_, nowMs);
    std::vector<InTransit> due;
    std::erase_if(inTransit_,
                  [&](InTransit& transit)
                  {
                      if (transit.dueMs > nowMs_)
                      {
                          return false;
                      }
                      due.push_back(std::move(transit));
                      return true;
                  });
    std::sort(due.begin(), due.end(),
              [](const InTransit& a, const InTransit& b)
              { return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order; });
    for (InTransit& transit : due)
    {
        if (transit.to->open)
        {
            transit.to->arrived.push_back(std::move(transit.datagram));
        }
    }
}

uint32_t DatagramHub::NowMs() const
{
    const std::lock_guard lock(mutex_);
    return nowMs_;
}

uint64_t DatagramHub::DatagramsSent() const
{
    const std::lock_guard lock(mutex_);
    return sent_;
}

void DatagramHub::Send(const Endpoint& from, std::span<const uint8_t> datagram)
{
    const std::lock_guard lock(mutex_);
    ++sent_;
    for (const std::shared_ptr<Endpoint>& to : endpoints_)
    {
        if (to->port != from.port)
        {
            continue;
        }
        if (to->address == from.address)
        {
            Deliver(to, datagram, 0);
            continue;
        }
        const LinkConditions link = ConditionsOf(from.address, to->address);
        if (link.cut || Roll(100) < link.lossPercent)
        {
            continue;
        }
        const uint32_t copies = Roll(100) < link.duplicatePercent ? 2 : 1;
        for (uint32_t copy = 0; copy < copies; ++copy)
        {
            Deliver(to, datagram, link.delayMs + Roll(link.jitterMs + 1));
        }
    }
}

void DatagramHub::Deliver(const std::shared_ptr<Endpoint>& to, std::span<const uint8_t> datagram,
                          uint32_t delayMs)
{
    if (delayMs == 0)
    {
        to->arrived.emplace_back(datagram.begin(), datagram.end());
        return;
    }
    inTransit_.push_back({nowMs_ + delayMs, nextOrder_++, to, {datagram.begin(), datagram.end()}});
}

LinkConditions DatagramHub::ConditionsOf(uint32_t from, uint32_t to) const
{
    if (std::find(isolated_.begin(), isolated_.end(), from) != isolated_.end() ||
        std::find(isolated_.begin(), isolated_.end(), to) != isolated_.end())
    {
        LinkConditions cut;
        cut.cut = true;
        return cut;
    }
    for (const LinkOverride& link : overrides_)
    {
        if (link.from == from && link.to == to)
        {
            return link.conditions;
        }
    }
    return conditions_;
}

uint32_t DatagramHub::Roll(uint32_t below)
{
    return below <= 1 ? 0 : static_cast<uint32_t>(random_() % below);
}
