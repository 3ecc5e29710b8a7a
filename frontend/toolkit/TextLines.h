#pragma once

// Splitting a text file held in memory into lines, in place. Lines end at CR or LF; every CR
// and LF after a line is overwritten with a zero byte, so a run of them is one line end and
// text files have no empty lines (except a first one). The buffer must hold a zero byte at
// *end, so that a last line without a line end is terminated as well.

#include <cstdint>
#include <optional>

// The line at the cursor into *line; the cursor moves past the line and its line end. True
// while the cursor is still before the end: the last line of the buffer gives false, whether
// it ended with a line end or not.
bool NextTextLine(char** line, char** cursor, char* end);

// The lines of a buffer in turn, the last one included.
class TextLineReader
{
public:
    TextLineReader(char* begin, char* end) : cursor_(begin), end_(end) {}
    // The next line, or null once every line was given.
    char* Next();

private:
    char* cursor_;
    char* end_;
    bool done_ = false;
};

// The number a line starts with, as "%d" reads it: blanks, a sign and decimal digits; what
// follows is ignored. Nothing when no digit comes or the number does not fit.
std::optional<int32_t> ReadTextNumber(const char* line);
