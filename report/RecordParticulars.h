#pragma once

#include <array>
#include <cstddef>
#include <string>

// What names the measuring point on a record handed to a customer: the
// tag, where it is, who commissioned it and a note. Empty when not given.
struct RecordParticulars {
    std::string tag;
    std::string location;
    std::string technician;
    std::string note;

    // One of them as `dnx8 report` (--NAME) and the served page (?NAME=)
    // take it. The limits keep the record on one A4 page.
    struct Field {
        const char* name;
        std::size_t maxCharacters;
        std::size_t maxLines; // only the note may break lines
        std::string RecordParticulars::*member;
    };
};

inline constexpr std::array<RecordParticulars::Field, 4> ParticularsFields = {{
    {"tag", 40, 1, &RecordParticulars::tag},
    {"location", 80, 1, &RecordParticulars::location},
    {"technician", 50, 1, &RecordParticulars::technician},
    {"note", 240, 4, &RecordParticulars::note},
}};

// Tidies text for the field (surrounding spaces and blank lines dropped,
// line breaks as "\n") and says why it cannot stand there: not UTF-8, a
// control character, a line break where none may be, too long or too many
// lines. Empty when it can; text is then the tidied form.
std::string particularsProblem(const RecordParticulars::Field& field, std::string& text);
