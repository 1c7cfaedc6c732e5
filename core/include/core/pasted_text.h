// Texts players paste: support rates copied from a web page or a spreadsheet, and the 13 results of a round.
//
// Both read full-width digits, the full-width point, percent sign, comma and space as their half-width forms.
//
// A rate block is lines of fields, a line per match from the match pasted into, a field per outcome from
// the column pasted into rightwards. Lines end in LF, CR LF or CR; empty lines at either end are ignored.
// Fields are separated by a tab, a comma or a semicolon, with or without blanks around it, or by blanks
// alone; blanks and tabs at either end of a line are dropped. A field is a number when parseRate reads it
// whole once one "%" right after it is dropped; the edit then shows it in that form. A block is taken
// whole or not at all: an empty line inside it, an empty field, a field that is not a number, or one that
// falls below match 13 or right of the away column refuses it, and the first such place in reading order
// is reported. A text of one field or none is no block: it pastes as any text does.
//
// Results are 13 outcomes "1", "0" or "2", with blanks, tabs, commas or line breaks between them or none.
//
// Example: "50\t30\t20\n４５．５％ 30 24.5" pasted at match 1's home rate gives match 1 the texts 50, 30 and
// 20, and match 2 the texts 45.5, 30 and 24.5; pasted at the draw rate, it is refused at line 1, field 3.
#pragma once

#include "core/ticket.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pomelak {

// Why a block was refused.
enum class PasteRefusal { None, EmptyLine, EmptyField, NotANumber, BelowLastMatch, RightOfAwayColumn };

// One rate of a block: its match index (0 to 12), its outcome column (0 to 2) and the text its edit shows.
struct PastedRate {
    int match = 0;
    int column = 0;
    std::string text;
};

struct RatePaste {
    // False for a text of one field or none.
    bool block = false;
    // Every rate of a block taken whole, line by line; empty when it was refused.
    std::vector<PastedRate> rates;
    PasteRefusal refusal = PasteRefusal::None;
    // Where it was refused, counted from 1 and from the first line that is not empty, and that field's text.
    int line = 0;
    int field = 0;
    std::string fieldText;
};

// The block a text makes when pasted into the rate of a match index (0 to 12) and outcome column (0 to 2).
RatePaste readPastedRates(std::string_view text, int match, int column);

// The 13 results a text names; nothing when it names anything else.
std::optional<MatchResults> readPastedResults(std::string_view text);

} // namespace pomelak
