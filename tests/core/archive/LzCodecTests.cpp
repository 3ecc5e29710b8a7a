#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/archive/LzCodec.h"
#include "tests/core/archive/CodeStream.h"
#include "tests/core/archive/TestData.h"

namespace
{
std::vector<uint8_t> Pack(const std::vector<uint8_t>& input)
{
    LzCodec codec;
    std::vector<uint8_t> block(input.size() + 4);
    block.resize(codec.Pack(input, block));
    return block;
}

std::optional<std::vector<uint8_t>> Unpack(const std::vector<uint8_t>& block, size_t capacity)
{
    std::vector<uint8_t> out(capacity);
    const std::optional<size_t> length = LzUnpackBlock(block, out);
    if (!length)
    {
        return std::nullopt;
    }
    out.resize(*length);
    return out;
}

std::vector<uint8_t> Stored(const std::vector<uint8_t>& input)
{
    std::vector<uint8_t> block = CodeStream(-static_cast<int32_t>(input.size())).Bytes();
    block.insert(block.end(), input.begin(), input.end());
    return block;
}

std::vector<uint8_t> Repeat(uint8_t byte, size_t count)
{
    return std::vector<uint8_t>(count, byte);
}

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bytes in which no two neighbours are equal and no pair of neighbours occurs twice, all of
// them 128 or above, so that the packer finds nothing in them to match: 128 129 128 130 ...
// 128 255 129 130 129 131 ...
std::vector<uint8_t> UnmatchableBytes(size_t count)
{
    std::vector<uint8_t> bytes;
    for (unsigned low = 128; bytes.size() < count; ++low)
    {
        for (unsigned high = low + 1; high < 256 && bytes.size() < count; ++high)
        {
            bytes.push_back(static_cast<uint8_t>(low));
            bytes.push_back(static_cast<uint8_t>(high));
        }
    }
    bytes.resize(count);
    return bytes;
}

TEST(LzPackBlockTest, SixteenEqualBytesPackToTwoLiteralsAndOneRun)
{
    EXPECT_EQ(Pack(Repeat('A', 16)), (std::vector<uint8_t>{0x10, 0, 0, 0, 0x82, 0x04, 0x85, 0x2F}));
}

TEST(LzPackBlockTest, BlocksShorterThanSixteenBytesAreStored)
{
    EXPECT_EQ(Pack(Repeat('A', 15)), Stored(Repeat('A', 15)));
    EXPECT_EQ(Pack({}), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(LzPackBlockTest, BlockThatDoesNotShrinkIsStoredFourBytesLonger)
{
    const std::vector<uint8_t> noise = RandomBytes(1000, 1);
    EXPECT_EQ(Pack(noise), Stored(noise));
}

// The packer's choices, against streams written from the format by hand.
TEST(LzPackBlockTest, ChoosesTheCodesOfTheGreedySearch)
{
    const std::vector<uint8_t> farWindow = UnmatchableBytes(508);
    const std::vector<uint8_t> pastWindow = UnmatchableBytes(509);
    const std::vector<uint8_t> marker = {'#', '$'};
    const std::vector<uint8_t> tail = Repeat('z', 2000);

    struct Case
    {
        std::string name;
        std::vector<uint8_t> input;
        std::vector<uint8_t> expected;
    };
    auto literals = [](CodeStream& stream, const std::vector<uint8_t>& bytes) -> CodeStream&
    {
        for (const uint8_t byte : bytes)
        {
            stream.Literal(byte);
        }
        return stream;
    };
    const std::vector<uint8_t> atWindowEdge = Join(Join(Join(marker, farWindow), marker), tail);
    const std::vector<uint8_t> beyondWindow = Join(Join(Join(marker, pastWindow), marker), tail);
    CodeStream edgeStream(static_cast<int32_t>(atWindowEdge.size()));
    literals(literals(edgeStream, marker), farWindow).Match(510, 2).Literal('z').Match(1, 1999);
    CodeStream beyondStream(static_cast<int32_t>(beyondWindow.size()));
    literals(literals(literals(beyondStream, marker), pastWindow), marker)
        .Literal('z')
        .Match(1, 1999);

    const Case cases[] = {
        {"a match that runs to the end is the last code", BytesOf("abcabcabcabcabcabc"),
         CodeStream(18).Literal('a').Literal('b').Literal('c').Match(3, 15).Bytes()},
        {"the nearest of equally long matches wins", BytesOf("ABcdABefABgh" + std::string(20, 'z')),
         CodeStream(32)
             .Literal('A')
             .Literal('B')
             .Literal('c')
             .Literal('d')
             .Match(4, 2)
             .Literal('e')
             .Literal('f')
             .Match(4, 2)
             .Literal('g')
             .Literal('h')
             .Literal('z')
             .Match(1, 19)
             .Bytes()},
        {"a longer match further back wins", BytesOf("ABCdABeABCf" + std::string(20, 'z')),
         CodeStream(31)
             .Literal('A')
             .Literal('B')
             .Literal('C')
             .Literal('d')
             .Match(4, 2)
             .Literal('e')
             .Match(7, 3)
             .Literal('f')
             .Literal('z')
             .Match(1, 19)
             .Bytes()},
        {"a pair run of two is searched, not run-coded", BytesOf("xyyxyy" + std::string(20, 'z')),
         CodeStream(26)
             .Literal('x')
             .Literal('y')
             .Literal('y')
             .Match(3, 3)
             .Literal('z')
             .Match(1, 19)
             .Bytes()},
        {"a match 510 bytes back is found", atWindowEdge, edgeStream.Bytes()},
        {"a match 511 bytes back has left the window", beyondWindow, beyondStream.Bytes()},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Pack(c.input), c.expected) << c.name;
    }
}

TEST(LzUnpackBlockTest, ExpandsEveryKindOfBlock)
{
    EXPECT_EQ(Unpack({0, 0, 0, 0}, 0), std::vector<uint8_t>());
    EXPECT_EQ(Unpack(Stored(BytesOf("stored")), 6), BytesOf("stored"));
    EXPECT_EQ(Unpack({0x10, 0, 0, 0, 0x82, 0x04, 0x85, 0x2F}, 16), Repeat('A', 16));
}

// Every bit position of a word is reached by a prefix of 9-bit literals.
TEST(LzUnpackBlockTest, FieldsThatStraddleWordsDecodeLikeOthers)
{
    for (uint32_t prefix = 1; prefix <= 32; ++prefix)
    {
        std::vector<uint8_t> expected;
        CodeStream stream(static_cast<int32_t>(prefix + 300 + 40));
        for (uint32_t i = 0; i < prefix; ++i)
        {
            expected.push_back(static_cast<uint8_t>('a' + i % 26));
            stream.Literal(expected.back());
        }
        stream.Match(1, 300).Match(static_cast<uint32_t>(std::min<size_t>(prefix + 300, 510)), 40);
        expected.insert(expected.end(), 300, expected.back());
        for (size_t i = 0; i < 40; ++i)
        {
            expected.push_back(expected[expected.size() - std::min<size_t>(prefix + 300, 510)]);
        }
        EXPECT_EQ(Unpack(stream.Bytes(), expected.size()), expected) << "prefix " << prefix;
    }
}

TEST(LzCodecTest, PackedBlocksUnpackToTheirInput)
{
    const std::pair<std::string, std::vector<uint8_t>> inputs[] = {
        {"empty", {}},
        {"one byte", {7}},
        {"sixteen bytes", BytesOf("sixteen bytes!!!")},
        {"noise", RandomBytes(70000, 2)},
        {"long run", Repeat(0x55, kLzBlockSize)},
        {"two symbols",
         []
         {
             std::vector<uint8_t> bytes = RandomBytes(50000, 3);
             for (uint8_t& byte : bytes)
             {
                 byte &= 1;
             }
             return bytes;
         }()},
        {"short periods",
         []
         {
             std::vector<uint8_t> bytes;
             for (uint8_t period = 2; period <= 9; ++period)
             {
                 for (size_t i = 0; i < 301; ++i)
                 {
                     bytes.push_back(static_cast<uint8_t>('a' + i % period));
                 }
                 bytes.push_back('|');
             }
             return bytes;
         }()},
        {"mixed block", MixedBytes(kLzBlockSize, 4)},
        {"mixed, odd length", MixedBytes(77777, 5)},
    };
    for (const auto& [name, input] : inputs)
    {
        const std::vector<uint8_t> block = Pack(input);
        EXPECT_LE(block.size(), input.size() + kLzMaxBlockOverhead) << name;
        EXPECT_EQ(Unpack(block, input.size()), input) << name;
    }
}

TEST(LzCodecTest, UnpacksLikeTheBlockRoutine)
{
    LzCodec codec;
    const std::vector<uint8_t> input = MixedBytes(5000, 6);
    std::vector<uint8_t> block(input.size() + kLzMaxBlockOverhead);
    block.resize(codec.Pack(input, block));
    std::vector<uint8_t> out(input.size());
    EXPECT_EQ(codec.Unpack(block, out), input.size());
    EXPECT_EQ(out, input);
    std::vector<uint8_t> tooSmall(input.size() - 1);
    EXPECT_FALSE(codec.Unpack(block, tooSmall));
    EXPECT_FALSE(codec.Unpack(std::vector<uint8_t>{1, 0}, out));
}

TEST(LzUnpackBlockTest, RejectsMalformedBlocks)
{
    CodeStream endlessLength(1000);
    endlessLength.Literal('a').Bits(1, 1).Bits(0, 3).Bits(0, 1);
    for (unsigned width = 2; width <= 31; ++width)
    {
        endlessLength.Bits((uint64_t{1} << width) - 1, width);
    }
    const std::pair<std::string, std::vector<uint8_t>> blocks[] = {
        {"no header", {1, 0}},
        {"longer than the destination", CodeStream(17).Literal('a').Match(1, 16).Bytes()},
        {"stored bytes missing", {0xFC, 0xFF, 0xFF, 0xFF, 'a', 'b'}},
        {"most negative header", {0, 0, 0, 0x80}},
        {"match reaching before the start", CodeStream(4).Literal('a').Match(2, 3).Bytes()},
        {"match past the end", CodeStream(3).Literal('a').Match(1, 5).Bytes()},
        {"stream ends early", CodeStream(10).Literal('a').Bytes()},
        {"length without end", endlessLength.Bytes()},
    };
    for (const auto& [name, block] : blocks)
    {
        std::vector<uint8_t> out(16);
        EXPECT_FALSE(LzUnpackBlock(block, out)) << name;
    }
}
}  // namespace
