#pragma once

#include "linearization/FileName.h"

#include <cstdio>
#include <memory>
#include <string_view>

// Reads a point file one line at a time with fixed memory, whatever the
// length of the file or of its lines. Lines end with CR, LF or CR LF; only
// the first MaxLineLength bytes of a line are kept; a Ctrl-Z byte ends its
// line and the file. A read error counts as the end of the file.
class LineReader {
public:
    static constexpr std::size_t MaxLineLength = 127;
    // Bytes behind the end of every line given that may be read (not used):
    // a field parser can then load whole words without looking for the end.
    static constexpr std::size_t Padding = 32;

    LineReader();

    bool open(const FileName& fileName);
    // The next line without its line end; false when the file is exhausted.
    // The view stays valid until the next call.
    bool nextLine(std::string_view& line);

    // Direct reading, for a caller that reads the common lines itself: the
    // bytes from the start of the next line to the end of what is read so far
    // (readable up to Padding bytes further). False when that is nothing;
    // nextLine then takes the next line.
    bool peek(const char*& start, const char*& limit)
    {
        if (afterCr && position < end) {
            afterCr = false;
            position += buffer[position] == '\n';
        }
        if (afterCr || position == end)
            return false;
        start = buffer.get() + position;
        limit = buffer.get() + end;
        return true;
    }
    // Ends the line that peek began, at its line end lineEnd (CR or LF).
    void endLineAt(const char* lineEnd)
    {
        afterCr = *lineEnd == '\r';
        position = static_cast<std::size_t>(lineEnd - buffer.get()) + 1;
    }

private:
    bool refill();

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::unique_ptr<std::FILE, FileCloser> file;
    std::unique_ptr<char[]> buffer;
    std::size_t position = 0;
    std::size_t end = 0;
    char line[MaxLineLength + Padding] = {};
    bool afterCr = false; // an LF right after a CR belongs to the previous line end
    bool finished = true;
};
