#pragma once
// The column fills of the table view: a sequence of values and a repeated
// text, as their dialogs hand them over, and the bound on their size.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tablefill {

// No fill writes at or beyond this table row (far beyond any label run).
constexpr int64_t kMaxFillRows = 1000000;

// What the sequence dialog answers on OK.
struct SequenceRequest {
    std::string cell;             // "B3": column letter and 1-based row
    int64_t start = 1;            // first value (Stop in reverse order)
    int64_t stop = 1;             // last value (Start in reverse order)
    int64_t step = 1;             // 1 ..
    int64_t copies = 1;           // rows per value
    int64_t sets = 1;             // repetitions of the whole run
    bool insert = false;          // insert rows for the values
    bool reverse = false;         // count down from start to stop
    std::function<std::string(int64_t)> format; // the cell text of a value
};

// What the repeat dialog answers on OK.
struct RepeatRequest {
    std::string column; // its first character is the column letter
    int64_t row = 1;    // 1-based, as entered
    int64_t copies = 1;
    bool insert = false;
    std::string text;
};

// A cell "%c%d": column 0..25 and 1-based row; nothing when it does not
// parse, the letter is not A..Z (any case) or the row is below 1.
struct Cell {
    int column = 0;
    int64_t row = 1;
};
std::optional<Cell> ParseCell(const std::string& text);

// The number of values one set of the sequence writes (0 for a step below
// 1 or a start past the stop), counted without overflow.
int64_t SequenceValueCount(int64_t start, int64_t stop, int64_t step, bool reverse);

// Whether `rows` rows written from the 0-based `firstRow` stay below
// kMaxFillRows; `rows` is values x copies x sets, checked without overflow.
bool FitsRowLimit(int64_t firstRow, int64_t values, int64_t copies, int64_t sets);

// The message a refused fill shows (cp1252).
std::string LimitMessage();

} // namespace tablefill
