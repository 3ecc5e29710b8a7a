#include "core/archive/CprArchive.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/util/Collation.h"
#include "core/util/LittleEndian.h"
#include "core/util/PathUtils.h"

namespace
{
constexpr uint32_t kChunkHeaderSize = 16;
constexpr uint32_t kEntryHeaderSize = 16;
constexpr uint32_t kSmallestArchive = 9;
constexpr char kChunkMagic[4] = {'B', 'A', 'U', 'M'};

// Directory names are lower-cased for A-Z only; lookups fold the umlauts as well.
void LowerAsciiInPlace(std::string& name)
{
    for (char& c : name)
    {
        if (c >= 'A' && c <= 'Z')
        {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
}
}  // namespace

void ScrambleCprName(std::span<uint8_t> name)
{
    for (size_t i = 0; i < name.size(); ++i)
    {
        name[i] ^= static_cast<uint8_t>(CprArchive::kScrambleKey >> (8 * (i % 4)));
    }
}

CprArchive::CprArchive() = default;

CprArchive::~CprArchive()
{
    Close();
}

bool CprArchive::Open(std::string_view path, bool readWholly)
{
    if (IsMounted())
    {
        return false;
    }
    openFileCount_ = 0;
    path_ = path;
    inMemory_ = readWholly;
    file_ = std::make_unique<files::File>(path, files::File::Mode::Read);
    if (!file_->IsOpen())
    {
        Unmount();
        return false;
    }
    fileOpen_ = true;
    const uint64_t length = file_->Size();
    if (length < kSmallestArchive || length > std::numeric_limits<int32_t>::max())
    {
        Unmount();
        return false;
    }
    length_ = static_cast<uint32_t>(length);
    if (readWholly)
    {
        image_.resize(length_);
        if (file_->Read(image_.data(), length_) != length_)
        {
            Unmount();
            return false;
        }
    }
    if (!ReadDirectory())
    {
        Unmount();
        return false;
    }
    SortNames();
    if (!packedBlock_)
    {
        packedBlock_ = std::make_unique<uint8_t[]>(kPackedBlockBufferSize);
        expandedBlock_ = std::make_unique<uint8_t[]>(kExpandedBlockBufferSize);
    }
    return true;
}

bool CprArchive::Close()
{
    if (!IsMounted())
    {
        return false;
    }
    Unmount();
    return true;
}

void CprArchive::Unmount()
{
    file_.reset();
    fileOpen_ = false;
    image_ = {};
    chunks_.clear();
    entries_.clear();
    nameOrder_.clear();
    length_ = 0;
}

bool CprArchive::ReadDirectory()
{
    uint32_t position = 0;
    while (position < length_)
    {
        if (!ReadChunk(position))
        {
            return false;
        }
    }
    return true;
}

// Every size is checked against what is left of the file before it is used, so that a bad
// header can neither reach outside the file nor stop the walk from moving forward.
bool CprArchive::ReadChunk(uint32_t& position)
{
    uint8_t header[kChunkHeaderSize];
    CprChunk chunk;
    chunk.headerPosition = position;
    if (!ReadExactly(header, position, kChunkHeaderSize) ||
        std::memcmp(header, kChunkMagic, sizeof kChunkMagic) != 0)
    {
        return false;
    }
    std::memcpy(chunk.magic.data(), header, sizeof kChunkMagic);
    chunk.entryCount = static_cast<int32_t>(LoadLe32(header + 4));
    chunk.reservedSize = LoadLe32(header + 8);
    chunk.usedSize = LoadLe32(header + 12);
    position += kChunkHeaderSize;
    if (chunk.entryCount < 0 ||
        static_cast<uint32_t>(chunk.entryCount) > (length_ - position) / kEntryHeaderSize ||
        chunk.reservedSize < chunk.usedSize)
    {
        return false;
    }

    uint64_t dataSize = 0;
    for (int32_t i = 0; i < chunk.entryCount; ++i)
    {
        CprEntry entry;
        if (!ReadEntry(position, entry))
        {
            return false;
        }
        dataSize += entry.storedSize;
        if (static_cast<uint32_t>(entry.dataOffset) != kDirectoryMarker)
        {
            entries_.push_back(std::move(entry));
        }
    }

    const uint32_t padding = chunk.reservedSize - chunk.usedSize;
    if (padding > length_ - position)
    {
        return false;
    }
    position += padding;
    if (dataSize > length_ - position)
    {
        return false;
    }
    chunk.dataSize = static_cast<uint32_t>(dataSize);
    position += chunk.dataSize;
    chunks_.push_back(chunk);
    return true;
}

bool CprArchive::ReadEntry(uint32_t& position, CprEntry& entry)
{
    uint8_t record[kEntryHeaderSize];
    entry.recordPosition = position;
    if (!ReadExactly(record, position, kEntryHeaderSize))
    {
        return false;
    }
    const uint32_t dataOffset = LoadLe32(record);
    const uint32_t flags = LoadLe32(record + 8);
    entry.storedSize = LoadLe32(record + 4);
    entry.nameLength = LoadLe32(record + 12);
    entry.packed = (flags & kPackedFlag) != 0 ? 1 : 0;
    entry.kind = flags & 0xFF;
    position += kEntryHeaderSize;
    if (entry.nameLength > kMaxNameLength)
    {
        return false;
    }
    const bool isMarker = dataOffset == kDirectoryMarker;
    if (!isMarker && (dataOffset > length_ || entry.storedSize > length_ - dataOffset))
    {
        return false;
    }
    entry.dataOffset = static_cast<int32_t>(dataOffset);
    return ReadEntryName(position, entry);
}

bool CprArchive::ReadEntryVariant(uint32_t& position, CprEntry& entry)
{
    constexpr uint32_t kVariantHeaderSize = 24;
    uint8_t record[kVariantHeaderSize];
    if (!ReadExactly(record, position, kVariantHeaderSize))
    {
        return false;
    }
    CprEntry read;
    read.recordPosition = position;
    read.dataOffset = static_cast<int32_t>(LoadLe32(record));
    read.storedSize = LoadLe32(record + 4);
    const uint32_t flags = LoadLe32(record + 16);
    read.packed = (flags & kPackedFlag) != 0 ? 1 : 0;
    read.kind = flags & 0xFF;
    read.nameLength = LoadLe32(record + 20);
    uint32_t next = position + kVariantHeaderSize;
    if (read.nameLength > kMaxNameLength || !ReadEntryName(next, read))
    {
        return false;
    }
    position = next;
    entry = std::move(read);
    return true;
}

bool CprArchive::ReadEntryName(uint32_t& position, CprEntry& entry)
{
    std::array<uint8_t, kMaxNameLength> name;
    if (!ReadExactly(name.data(), position, entry.nameLength))
    {
        return false;
    }
    position += entry.nameLength;
    const std::span<uint8_t> stored(name.data(), entry.nameLength);
    ScrambleCprName(stored);
    // The name ends at its first zero byte, if it has one.
    const auto end = std::ranges::find(stored, 0);
    entry.name.assign(stored.begin(), end);
    LowerAsciiInPlace(entry.name);
    return true;
}

bool CprArchive::ReadExactly(void* buffer, uint32_t position, uint32_t count)
{
    return count <= length_ && position <= length_ - count &&
           ReadAt(buffer, position, count) == count;
}

void CprArchive::SortNames()
{
    nameOrder_.resize(entries_.size());
    for (uint32_t i = 0; i < nameOrder_.size(); ++i)
    {
        nameOrder_[i] = i;
    }
    std::ranges::stable_sort(
        nameOrder_, [this](uint32_t a, uint32_t b)
        { return CompareNamesFromEnd(entries_[a].name.c_str(), entries_[b].name.c_str()) < 0; });
}

const CprEntry* CprArchive::FindEntry(std::string_view name) const
{
    const std::string key(name);
    const auto first = std::lower_bound(
        nameOrder_.begin(), nameOrder_.end(), key,
        [this](uint32_t index, const std::string& k)
        { return CompareNamesFromEnd(entries_[index].name.c_str(), k.c_str()) < 0; });
    if (first == nameOrder_.end() ||
        CompareNamesFromEnd(entries_[*first].name.c_str(), key.c_str()) != 0)
    {
        return nullptr;
    }
    return &entries_[*first];
}

bool CprArchive::Lookup(CprLocation& location, std::string_view name) const
{
    const CprEntry* entry = FindEntry(name);
    if (entry == nullptr)
    {
        return false;
    }
    location = {entry->dataOffset, entry->storedSize, entry->packed};
    return true;
}

bool CprArchive::FindMatch(std::string_view pattern) const
{
    std::string wanted(pattern);
    ToForwardSlashes(wanted);
    return std::ranges::any_of(entries_,
                               [&wanted](const CprEntry& entry) { return entry.name == wanted; });
}

uint32_t CprArchive::ReadAt(void* buffer, uint32_t position, uint32_t count)
{
    if (!fileOpen_ || position > length_)
    {
        return 0;
    }
    count = std::min(count, length_ - position);
    if (count == 0)
    {
        return 0;
    }
    if (inMemory_)
    {
        std::memcpy(buffer, image_.data() + position, count);
        return count;
    }
    if (!file_->Seek(position))
    {
        return 0;
    }
    return static_cast<uint32_t>(file_->Read(buffer, count));
}

bool CprArchive::Seek(uint32_t position)
{
    if (!fileOpen_ || position > length_)
    {
        return false;
    }
    return inMemory_ || file_->Seek(position);
}

bool CprArchive::Suspend()
{
    if (fileOpen_ && !inMemory_)
    {
        suspendedPosition_ = file_->Tell();
        *file_ = files::File();
        fileOpen_ = false;
    }
    return true;
}

bool CprArchive::Resume()
{
    if (!IsMounted() || fileOpen_ || inMemory_)
    {
        return true;
    }
    files::File reopened(path_, files::File::Mode::Read);
    if (!reopened.IsOpen() || !reopened.Seek(suspendedPosition_))
    {
        return false;
    }
    *file_ = std::move(reopened);
    fileOpen_ = true;
    return true;
}

bool CprArchive::IsArchive(std::string_view path)
{
    files::File file(path, files::File::Mode::Read);
    char magic[sizeof kChunkMagic];
    return file.IsOpen() && file.Size() >= kSmallestArchive &&
           file.Read(magic, sizeof magic) == sizeof magic &&
           std::memcmp(magic, kChunkMagic, sizeof magic) == 0;
}
