#include "view/motion/SceneText.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "core/archive/DAFile.h"
#include "core/util/Message.h"

namespace
{
constexpr std::string_view kFirstFrameKeyword = "PreviewFirstFrame";
constexpr std::string_view kLastFrameKeyword = "PreviewLastFrame";
constexpr std::string_view kEndBehaviorKeyword = "EndBehavior";
constexpr int32_t kKeyCountLine = 4;  // after the object line
constexpr int32_t kFirstKeyLine = 5;
constexpr size_t kValuesPerKey = 9;

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word)
{
    const auto equal = [](char a, char b) { return LowerAscii(a) == LowerAscii(b); };
    return std::search(text.begin(), text.end(), word.begin(), word.end(), equal) != text.end();
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void SkipSpace(std::string_view& text)
{
    while (!text.empty() && IsSpace(text.front()))
    {
        text.remove_prefix(1);
    }
}

// The readers below take what the C library's formatted input takes for "%s", "%d" and "%f",
// without its undefined cases: a number out of range saturates.
bool SkipWord(std::string_view& text)
{
    SkipSpace(text);
    const auto length =
        static_cast<size_t>(std::find_if(text.begin(), text.end(), IsSpace) - text.begin());
    text.remove_prefix(length);
    return length > 0;
}

bool ReadInt(std::string_view& text, int32_t& value)
{
    SkipSpace(text);
    size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
    {
        ++at;
    }
    const size_t digitsStart = at;
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
    {
        magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
        ++at;
    }
    if (at == digitsStart)
    {
        return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int32_t>(std::clamp<int64_t>(
        signedValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    text.remove_prefix(at);
    return true;
}

bool ReadFloat(std::string_view& text, float& value)
{
    SkipSpace(text);
    if (!text.empty() && text.front() == '+')
    {
        text.remove_prefix(1);
    }
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (end == text.data())
    {
        return false;
    }
    if (error == std::errc::result_out_of_range)
    {
        // Too large becomes infinite, too small zero, as the C library has it.
        const bool negative = text.front() == '-';
        const bool tiny = ContainsIgnoringCase(std::string_view(text.data(), end), "e-");
        parsed = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        parsed = negative ? -parsed : parsed;
    }
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    value = parsed > kFloatMax    ? std::numeric_limits<float>::infinity()
            : parsed < -kFloatMax ? -std::numeric_limits<float>::infinity()
                                  : static_cast<float>(parsed);
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return true;
}

// A line read with "%s %d": the number behind the first word.
bool ReadNumberAfterWord(std::string_view line, int32_t& value)
{
    return SkipWord(line) && ReadInt(line, value);
}

SceneKey ReadKey(std::string_view valueLine, std::string_view frameLine)
{
    std::array<float, kValuesPerKey> values{};
    for (float& value : values)
    {
        if (!ReadFloat(valueLine, value))
        {
            break;
        }
    }
    SceneKey key;
    ReadInt(frameLine, key.frame);
    key.position = {values[0], values[1], values[2]};
    key.heading = values[3];
    key.pitch = values[4];
    key.bank = values[5];
    return key;
}
}  // namespace

bool SceneText::Load(std::string_view name)
{
    DAFile file(g_archiveMenu);
    std::optional<std::vector<uint8_t>> bytes;
    if (file.Open(std::string(name) + ".lws"))
    {
        bytes = file.ReadAll();
    }
    if (!bytes)
    {
        ReportMissingScene(name);
        return false;
    }
    Assign(std::move(*bytes));
    return true;
}

void ReportMissingScene(std::string_view name)
{
    ShowMessage("MotionFile " + std::string(name) + " not found");
}

void SceneText::Assign(std::vector<uint8_t> bytes)
{
    text_ = std::move(bytes);
    lines_.clear();
    uint32_t start = 0;
    const auto size = static_cast<uint32_t>(text_.size());
    for (uint32_t at = 0; at <= size; ++at)
    {
        const bool ends = at == size || text_[at] == '\n' || text_[at] == '\0' ||
                          (text_[at] == '\r' && at + 1 < size && text_[at + 1] == '\n');
        if (!ends)
        {
            continue;
        }
        if (at > start)
        {
            lines_.push_back({start, at - start});
        }
        start = at + 1;
    }
}

void SceneText::Clear()
{
    text_.clear();
    lines_.clear();
}

std::string_view SceneText::Line(int32_t index) const
{
    if (index < 0 || index >= LineCount())
    {
        return {};
    }
    const LineSpan& line = lines_[static_cast<size_t>(index)];
    return {reinterpret_cast<const char*>(text_.data()) + line.start, line.length};
}

int32_t SceneText::FindLine(int32_t fromLine, std::string_view keyword) const
{
    for (int32_t index = std::max(fromLine, 0); index < LineCount(); ++index)
    {
        if (ContainsIgnoringCase(Line(index), keyword))
        {
            return index;
        }
    }
    return -1;
}

int32_t SceneText::FindObjectLine(std::string_view keyword, std::string_view name) const
{
    for (int32_t index = FindLine(0, keyword); index >= 0; index = FindLine(index + 1, keyword))
    {
        if (ContainsIgnoringCase(Line(index), name))
        {
            return index;
        }
    }
    return -1;
}

std::optional<SceneFrameRange> SceneText::ReadFrameRange() const
{
    SceneFrameRange range;
    const int32_t firstLine = FindLine(0, kFirstFrameKeyword);
    if (firstLine >= 0)
    {
        ReadNumberAfterWord(Line(firstLine), range.first);
    }
    const int32_t lastLine = FindLine(firstLine, kLastFrameKeyword);
    if (lastLine < 0 || !ReadNumberAfterWord(Line(lastLine), range.last))
    {
        return std::nullopt;
    }
    const int64_t frames = int64_t{range.last} - range.first + 1;
    if (frames < 1 || frames > kMaxMotionFrames)
    {
        return std::nullopt;
    }
    return range;
}

std::vector<SceneKey> SceneText::ReadObjectKeys(int32_t objectLine) const
{
    std::vector<SceneKey> keys;
    if (objectLine < 0 || FindLine(objectLine + 1, kEndBehaviorKeyword) < 0)
    {
        return keys;
    }
    std::string_view countLine = Line(objectLine + kKeyCountLine);
    int32_t count = 0;
    if (!ReadInt(countLine, count))
    {
        return keys;
    }
    // Never more keys than there are lines for.
    const int64_t linesLeft = int64_t{LineCount()} - objectLine - kFirstKeyLine;
    count =
        static_cast<int32_t>(std::clamp<int64_t>(count, 0, std::max<int64_t>(linesLeft / 2, 0)));
    keys.reserve(static_cast<size_t>(count));
    for (int32_t key = 0; key < count; ++key)
    {
        const int32_t valueLine = objectLine + kFirstKeyLine + 2 * key;
        keys.push_back(ReadKey(Line(valueLine), Line(valueLine + 1)));
    }
    return keys;
}
