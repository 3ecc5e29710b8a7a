#include "net/NetPacket.h"

#include <algorithm>
#include <bit>

#include "core/util/LittleEndian.h"

std::optional<NetPacketHeader> ReadNetHeader(std::span<const uint8_t> datagram)
{
    if (datagram.size() < kNetHeaderSize)
    {
        return std::nullopt;
    }
    return NetPacketHeader{datagram[0], datagram[2], datagram[3]};
}

void WriteNetHeader(std::span<uint8_t> datagram, const NetPacketHeader& header)
{
    assert(datagram.size() >= kNetHeaderSize);
    datagram[0] = header.type;
    datagram[1] = 0;
    datagram[2] = header.target;
    datagram[3] = header.sender;
}

size_t BeginNetDatagram(std::span<uint8_t> out, NetPacketHeader header, NetMsgType type,
                        size_t length)
{
    if (length == 0)
    {
        length = NetMsg(type).length;
    }
    assert(out.size() >= length);
    std::fill_n(out.begin(), length, uint8_t{0});
    header.type = static_cast<uint8_t>(type);
    WriteNetHeader(out, header);
    return length;
}

NetName::NetName(std::string_view text)
{
    const size_t length = std::min(text.find('\0'), std::min(text.size(), kSize - 1));
    std::copy_n(text.begin(), length, bytes_.begin());
}

std::string_view NetName::View() const
{
    const auto end = std::find(bytes_.begin(), bytes_.end(), '\0');
    return {bytes_.data(), static_cast<size_t>(end - bytes_.begin())};
}

uint16_t NetFields::U16(size_t offset) const
{
    return LoadLe16(&datagram_[Checked(offset, 2)]);
}

uint32_t NetFields::U32(size_t offset) const
{
    return LoadLe32(&datagram_[Checked(offset, 4)]);
}

float NetFields::F32(size_t offset) const
{
    return std::bit_cast<float>(U32(offset));
}

NetName NetFields::Name(size_t offset) const
{
    const std::span<const uint8_t> bytes = Bytes(offset, NetName::kSize);
    return NetName(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void NetFieldWriter::U16(size_t offset, uint16_t value)
{
    StoreLe16(&datagram_[Checked(offset, 2)], value);
}

void NetFieldWriter::U32(size_t offset, uint32_t value)
{
    StoreLe32(&datagram_[Checked(offset, 4)], value);
}

void NetFieldWriter::F32(size_t offset, float value)
{
    U32(offset, std::bit_cast<uint32_t>(value));
}

void NetFieldWriter::Name(size_t offset, const NetName& name)
{
    const std::string_view text = name.View();
    std::fill_n(&datagram_[Checked(offset, NetName::kSize)], NetName::kSize, uint8_t{0});
    std::copy(text.begin(), text.end(), &datagram_[offset]);
}

void NetFieldWriter::Bytes(size_t offset, std::span<const uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), &datagram_[Checked(offset, bytes.size())]);
}

bool HasFixedLength(std::span<const uint8_t> datagram, NetMsgType type)
{
    return datagram.size() == NetMsg(type).length;
}

std::optional<size_t> BlockCount(std::span<const uint8_t> datagram, NetMsgType type)
{
    const NetMsgInfo& info = NetMsg(type);
    if (info.blockLength == 0 || datagram.size() < info.length ||
        (datagram.size() - info.length) % info.blockLength != 0)
    {
        return std::nullopt;
    }
    const size_t blocks = (datagram.size() - info.length) / info.blockLength;
    if (blocks > info.maxBlocks)
    {
        return std::nullopt;
    }
    return blocks;
}
