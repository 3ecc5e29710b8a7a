#include "kit/CprWriter.h"

#include <algorithm>
#include <limits>

#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{
constexpr size_t kEntryHeaderSize = 16;

void AppendScrambled(std::vector<uint8_t>& out, std::string_view name)
{
    const size_t at = out.size();
    out.insert(out.end(), name.begin(), name.end());
    ScrambleCprName(std::span(out).subspan(at));
}
}  // namespace

std::vector<uint8_t> PackMember(std::span<const uint8_t> bytes, LzCodec& codec)
{
    const size_t blockCount = (bytes.size() + kLzBlockSize - 1) / kLzBlockSize;
    std::vector<uint8_t> blocks;
    std::vector<uint8_t> head;
    AppendLe32(head, static_cast<uint32_t>(bytes.size()));
    AppendLe32(head, static_cast<uint32_t>(blockCount));
    std::vector<uint8_t> packed(kLzBlockSize + kLzMaxBlockOverhead);
    for (size_t offset = 0; offset < bytes.size(); offset += kLzBlockSize)
    {
        const auto block = bytes.subspan(offset, std::min(kLzBlockSize, bytes.size() - offset));
        const size_t length = codec.Pack(block, packed);
        AppendLe32(head, static_cast<uint32_t>(length));
        blocks.insert(blocks.end(), packed.begin(),
                      packed.begin() + static_cast<ptrdiff_t>(length));
    }
    head.insert(head.end(), blocks.begin(), blocks.end());
    return head;
}

bool CprWriter::Add(std::string_view name, std::span<const uint8_t> bytes, MemberStorage storage,
                    std::string& error)
{
    if (name.empty() || name.size() > DAFile::kMaxNameLength ||
        name.find('\0') != std::string_view::npos)
    {
        error = "member name cannot be read back: " + std::string(name);
        return false;
    }
    std::string key(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    key.push_back(static_cast<char>(storage));
    if (const auto same = byContent_.find(key); same != byContent_.end())
    {
        Member member = same->second;
        member.name = std::string(name);
        return Append(std::move(member), error);
    }
    Member member{std::string(name), {}, storage != MemberStorage::Stored};
    std::vector<uint8_t> stored;
    if (member.packed)
    {
        stored = PackMember(bytes, codec_);
        if (storage == MemberStorage::Smaller && stored.size() >= bytes.size())
        {
            member.packed = false;
        }
    }
    if (!member.packed)
    {
        stored.assign(bytes.begin(), bytes.end());
    }
    member.stored = std::make_shared<const std::vector<uint8_t>>(std::move(stored));
    byContent_.emplace(std::move(key), member);
    return Append(std::move(member), error);
}

bool CprWriter::Append(Member member, std::string& error)
{
    const uint64_t grown =
        archiveSize_ + kEntryHeaderSize + member.name.size() + member.stored->size();
    if (grown > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
    {
        error = "archive would exceed 2 GiB at " + member.name;
        return false;
    }
    archiveSize_ = grown;
    members_.push_back(std::move(member));
    return true;
}

bool CprWriter::AddMissingFrom(const CprWriter& other, std::string& error)
{
    for (const Member& member : other.members_)
    {
        const bool held =
            std::any_of(members_.begin(), members_.end(),
                        [&member](const Member& own) { return own.name == member.name; });
        if (!held && !Append(member, error))
        {
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> CprWriter::Build() const
{
    uint32_t directorySize = 0;
    for (const Member& member : members_)
    {
        directorySize += static_cast<uint32_t>(kEntryHeaderSize + member.name.size());
    }

    std::vector<uint8_t> image = {'B', 'A', 'U', 'M'};
    image.reserve(archiveSize_);
    AppendLe32(image, static_cast<uint32_t>(members_.size()));
    AppendLe32(image, directorySize);  // reserved: no padding follows
    AppendLe32(image, directorySize);
    uint32_t dataOffset = static_cast<uint32_t>(image.size()) + directorySize;
    for (const Member& member : members_)
    {
        AppendLe32(image, dataOffset);
        AppendLe32(image, static_cast<uint32_t>(member.stored->size()));
        AppendLe32(image, member.packed ? CprArchive::kPackedFlag : 0);
        AppendLe32(image, static_cast<uint32_t>(member.name.size()));
        AppendScrambled(image, member.name);
        dataOffset += static_cast<uint32_t>(member.stored->size());
    }
    for (const Member& member : members_)
    {
        image.insert(image.end(), member.stored->begin(), member.stored->end());
    }
    return image;
}
}  // namespace kit
