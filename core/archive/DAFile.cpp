#include "core/archive/DAFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/archive/CprArchive.h"
#include "core/archive/LzCodec.h"
#include "core/util/LittleEndian.h"
#include "core/util/Message.h"
#include "core/util/PathUtils.h"

namespace
{
constexpr uint32_t kPackedHeaderSize = 8;

void ReportUnopened(std::string_view name)
{
    ShowMessage("DAFile -> Unable to open " + std::string(name));
}
}  // namespace

DAFile::DAFile(CprArchive* archive) : archive_(archive) {}

DAFile::DAFile(std::string_view archivePath) : ownedArchive_(std::make_unique<CprArchive>())
{
    if (ownedArchive_->Open(archivePath, false))
    {
        archive_ = ownedArchive_.get();
    }
    else
    {
        ownedArchive_.reset();
    }
}

DAFile::~DAFile()
{
    // Closed here as well, so that a forgotten Close never keeps the archive's buffers lent.
    Close();
}

bool DAFile::Open(std::string_view name, uint32_t /*mode*/)
{
    if (open_)
    {
        return false;
    }
    if (archive_ == nullptr)
    {
        plainFile_ = files::File(name, files::File::Mode::Read);
        open_ = plainFile_.IsOpen();
        return open_;
    }
    if (!OpenMember(name))
    {
        ReportUnopened(name);
        return false;
    }
    return true;
}

bool DAFile::OpenMember(std::string_view name)
{
    if (name.size() > kMaxNameLength)
    {
        return false;
    }
    name_ = name;
    ToForwardSlashes(name_);
    cachedBlock_ = -1;
    CprLocation location;
    if (!archive_->Lookup(location, name_))
    {
        return false;
    }
    dataOffset_ = static_cast<uint32_t>(location.dataOffset);
    storedSize_ = location.storedSize;
    size_ = storedSize_;
    packed_ = location.packed != 0;
    position_ = 0;
    if (packed_ && !ReadBlockTable())
    {
        return false;
    }
    open_ = true;
    archive_->AddOpenFile();
    if (packed_)
    {
        TakeBlockBuffers();
    }
    return true;
}

// The table is checked against the member's stored size, so that no block can reach past
// the member or overflow the block buffers.
bool DAFile::ReadBlockTable()
{
    uint8_t header[kPackedHeaderSize];
    if (storedSize_ < kPackedHeaderSize ||
        archive_->ReadAt(header, dataOffset_, kPackedHeaderSize) != kPackedHeaderSize)
    {
        return false;
    }
    const uint32_t unpackedSize = LoadLe32(header);
    const uint32_t blockCount = LoadLe32(header + 4);
    const uint64_t expectedBlocks = (uint64_t{unpackedSize} + kLzBlockSize - 1) / kLzBlockSize;
    if (unpackedSize > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
        blockCount != expectedBlocks ||
        blockCount > (storedSize_ - kPackedHeaderSize) / sizeof(uint32_t))
    {
        return false;
    }
    std::vector<uint8_t> sizes(size_t{blockCount} * sizeof(uint32_t));
    const auto tableBytes = static_cast<uint32_t>(sizes.size());
    if (archive_->ReadAt(sizes.data(), dataOffset_ + kPackedHeaderSize, tableBytes) != tableBytes)
    {
        return false;
    }
    dataStart_ = kPackedHeaderSize + tableBytes;
    const uint32_t available = storedSize_ - dataStart_;
    blockOffsets_.assign(size_t{blockCount} + 1, 0);
    uint32_t total = 0;
    for (uint32_t b = 0; b < blockCount; ++b)
    {
        const uint32_t size = LoadLe32(&sizes[size_t{b} * sizeof(uint32_t)]);
        if (size < sizeof(uint32_t) || size > kMaxPackedBlockSize || size > available - total)
        {
            return false;
        }
        total += size;
        blockOffsets_[b + 1] = total;
    }
    if (total != available)
    {
        return false;
    }
    size_ = unpackedSize;
    return true;
}

// Only the archive's sole open reader may use the archive's buffers.
void DAFile::TakeBlockBuffers()
{
    if (archive_->OpenFileCount() == 1)
    {
        packedBlock_ = archive_->LentPackedBlock();
        expandedBlock_ = archive_->LentExpandedBlock();
        return;
    }
    ownBlockBuffers_ = std::make_unique<uint8_t[]>(CprArchive::kPackedBlockBufferSize +
                                                   CprArchive::kExpandedBlockBufferSize);
    packedBlock_ = {ownBlockBuffers_.get(), CprArchive::kPackedBlockBufferSize};
    expandedBlock_ = {ownBlockBuffers_.get() + CprArchive::kPackedBlockBufferSize,
                      CprArchive::kExpandedBlockBufferSize};
}

uint32_t DAFile::Read(void* buffer, uint32_t count)
{
    if (!open_)
    {
        return 0;
    }
    if (archive_ == nullptr)
    {
        return static_cast<uint32_t>(plainFile_.Read(buffer, count));
    }
    count = std::min(count, size_ - position_);
    auto* bytes = static_cast<uint8_t*>(buffer);
    return packed_ ? ReadPacked(bytes, count) : ReadStored(bytes, count);
}

std::optional<std::vector<uint8_t>> DAFile::ReadAll()
{
    const int32_t length = GetLength();
    const int32_t position = GetPosition();
    if (length < 0 || position < 0 || position > length)
    {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(length - position));
    const auto count = static_cast<uint32_t>(bytes.size());
    if (count > 0 && Read(bytes.data(), count) != count)
    {
        return std::nullopt;
    }
    return bytes;
}

uint32_t DAFile::ReadStored(uint8_t* buffer, uint32_t count)
{
    const uint32_t read = archive_->ReadAt(buffer, dataOffset_ + position_, count);
    position_ += read;
    return read;
}

// Whole blocks expand straight into the caller's buffer; a block read in part stays
// expanded, so that small sequential reads expand each block once.
uint32_t DAFile::ReadPacked(uint8_t* buffer, uint32_t count)
{
    const uint32_t end = position_ + count;
    uint32_t done = 0;
    while (position_ < end)
    {
        const uint32_t block = position_ / kLzBlockSize;
        const uint32_t from = position_ % kLzBlockSize;
        const uint32_t to = std::min<uint32_t>(end - block * kLzBlockSize, kLzBlockSize);
        const uint32_t part = to - from;
        if (part == kLzBlockSize)
        {
            if (!ExpandBlock(block, {buffer + done, part}))
            {
                break;
            }
        }
        else
        {
            if (static_cast<int32_t>(block) != cachedBlock_)
            {
                cachedBlock_ = -1;
                if (!ExpandBlock(block, expandedBlock_))
                {
                    break;
                }
                cachedBlock_ = static_cast<int32_t>(block);
            }
            std::memcpy(buffer + done, expandedBlock_.data() + from, part);
        }
        done += part;
        position_ += part;
    }
    return done;
}

uint32_t DAFile::ExpandedBlockLength(uint32_t block) const
{
    return std::min<uint32_t>(size_ - block * kLzBlockSize, kLzBlockSize);
}

bool DAFile::ExpandBlock(uint32_t block, std::span<uint8_t> destination)
{
    const uint32_t packedSize = blockOffsets_[block + 1] - blockOffsets_[block];
    const uint32_t position = dataOffset_ + dataStart_ + blockOffsets_[block];
    if (archive_->ReadAt(packedBlock_.data(), position, packedSize) != packedSize)
    {
        return false;
    }
    const uint32_t expected = ExpandedBlockLength(block);
    const std::optional<size_t> expanded =
        LzUnpackBlock(packedBlock_.first(packedSize), destination.first(expected));
    return expanded == expected;
}

int32_t DAFile::Seek(int32_t offset, int origin)
{
    if (!open_)
    {
        return 0;
    }
    const int64_t length = GetLength();
    int64_t base = 0;
    switch (origin)
    {
        case kFromBegin:
            base = 0;
            break;
        case kFromCurrent:
            base = GetPosition();
            break;
        case kFromEnd:
            base = length;
            break;
        default:
            return -1;
    }
    const int64_t target = base + offset;
    if (target < 0 || target > length)
    {
        return -1;
    }
    if (archive_ == nullptr)
    {
        return plainFile_.Seek(static_cast<uint64_t>(target)) ? static_cast<int32_t>(target) : -1;
    }
    position_ = static_cast<uint32_t>(target);
    return static_cast<int32_t>(target);
}

int32_t DAFile::GetLength() const
{
    if (!open_)
    {
        return -1;
    }
    if (archive_ == nullptr)
    {
        return static_cast<int32_t>(
            std::min<uint64_t>(plainFile_.Size(), std::numeric_limits<int32_t>::max()));
    }
    return static_cast<int32_t>(size_);
}

int32_t DAFile::GetPosition() const
{
    if (!open_)
    {
        return -1;
    }
    if (archive_ == nullptr)
    {
        return static_cast<int32_t>(
            std::min<uint64_t>(plainFile_.Tell(), std::numeric_limits<int32_t>::max()));
    }
    return static_cast<int32_t>(position_);
}

bool DAFile::Exists(std::string_view name) const
{
    if (archive_ != nullptr)
    {
        std::string lookedUp(name);
        ToForwardSlashes(lookedUp);
        CprLocation location;
        return archive_->Lookup(location, lookedUp);
    }
    return files::File(name, files::File::Mode::Read).IsOpen();
}

void DAFile::Close()
{
    if (!open_)
    {
        return;
    }
    if (archive_ == nullptr)
    {
        plainFile_ = files::File();
    }
    else
    {
        archive_->RemoveOpenFile();
        ownBlockBuffers_.reset();
        packedBlock_ = {};
        expandedBlock_ = {};
        blockOffsets_.clear();
        cachedBlock_ = -1;
    }
    open_ = false;
}

std::optional<std::vector<uint8_t>> ReadWholeIfPresent(CprArchive* archive, std::string_view name)
{
    DAFile file(archive);
    if (!file.Exists(name) || !file.Open(name))
    {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(file.GetLength(), 0)));
    if (file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
    {
        return std::nullopt;
    }
    return bytes;
}
