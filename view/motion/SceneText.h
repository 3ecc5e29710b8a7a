#pragma once

// The text of a motion scene (".lws") as the motion readers see it: lines, keyword search and
// the key lists of scene objects. The text is Windows-1252 bytes; a line ends at CR LF, at a
// lone LF or at a zero byte, and empty lines are not counted. Keywords and names are compared
// with ASCII lower-casing, anywhere in a line. Numbers are read in the C locale.
//
// What is read of an object: with its object line as line L, line L + 4 holds the key count;
// each key follows as two lines from L + 5 on, a value line "x y z heading pitch bank sx sy sz"
// and a frame line "frame s1 s2 s3 s4" (the scale and spline values are not used). The keys
// count only when an "EndBehavior" line follows the object line.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

struct SceneKey
{
    int32_t frame = 0;
    std::array<float, 3> position{};  // units
    float heading = 0.0f;             // degrees
    float pitch = 0.0f;
    float bank = 0.0f;
};

// The longest clip a scene may describe; gaps between keys stay within an i16 divisor.
inline constexpr int32_t kMaxMotionFrames = 32767;

struct SceneFrameRange
{
    int32_t first = 0;
    int32_t last = 0;

    int32_t FrameCount() const { return last - first + 1; }
};

class SceneText
{
public:
    // Reads "%s.lws" from the menu archive (plain files without one); false, reported, when
    // there is none.
    bool Load(std::string_view name);
    // Takes the file's bytes; the lines index into them.
    void Assign(std::vector<uint8_t> bytes);
    void Clear();

    bool IsLoaded() const { return !lines_.empty(); }
    int32_t LineCount() const { return static_cast<int32_t>(lines_.size()); }
    std::string_view Line(int32_t index) const;

    // The first line at or after fromLine (from 0 when negative) that contains the keyword;
    // -1 when there is none.
    int32_t FindLine(int32_t fromLine, std::string_view keyword) const;
    // The first line from the top that contains both the keyword ("LoadObject" or
    // "AddNullObject") and the name; -1 when there is none.
    int32_t FindObjectLine(std::string_view keyword, std::string_view name) const;
    // "PreviewFirstFrame" (0 when missing) and "PreviewLastFrame", searched from the first
    // frame's line on; nothing without a last frame or for a count outside 1..kMaxMotionFrames.
    std::optional<SceneFrameRange> ReadFrameRange() const;
    // The keys of the object on that line, in file order; none when the line is -1, there is
    // no "EndBehavior" after it or the count line is missing. A key list cut short by the end
    // of the text keeps the keys before the cut.
    std::vector<SceneKey> ReadObjectKeys(int32_t objectLine) const;

private:
    struct LineSpan
    {
        uint32_t start;
        uint32_t length;
    };

    std::vector<uint8_t> text_;
    std::vector<LineSpan> lines_;
};

// The message of a scene that cannot be read, or has no frames: it is as good as missing.
void ReportMissingScene(std::string_view name);
