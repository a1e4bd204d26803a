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

    LineReader();

    bool open(const FileName& fileName);
    // The next line without its line end; false when the file is exhausted.
    // The view stays valid until the next call.
    bool nextLine(std::string_view& line);

private:
    bool refill();

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::unique_ptr<std::FILE, FileCloser> file;
    std::unique_ptr<char[]> buffer;
    std::size_t position = 0;
    std::size_t end = 0;
    char line[MaxLineLength] = {};
    bool afterCr = false; // an LF right after a CR belongs to the previous line end
    bool finished = true;
};
