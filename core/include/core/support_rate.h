// Support rates: the percentage of the public that backed each outcome of each match, and the two text
// forms a rate takes in the rate dialog.
//
// The table holds 39 percentages grouped by outcome column, 13 to a column: entries 0 to 12 are the home
// rates of matches 1 to 13, 13 to 25 the draw rates, 26 to 38 the away rates. Values are not checked:
// zero, negative and above-100 rates are held as given.
//
// formatRate shows a rate as C's printf "%g" does (6 significant digits, trailing zeros dropped,
// exponent form below 1e-4 and from 1e6). parseRate reads a typed text as C's atof does: leading white
// space skipped, the longest prefix that forms a decimal number (optional sign, digits with an optional
// ".", optional exponent) converted, the rest ignored, 0 without such a prefix. Both ignore the locale:
// "12.5" is twelve and a half everywhere. Only decimal numbers are read, so "inf", "nan" and full-width
// digits read 0, "0x10" reads 0, and "1e999" reads infinity.
//
// Example: parseRate(" 50%") == 50.0; formatRate(100.0 / 3) == "33.3333".
#pragma once

#include "core/ticket.h"

#include <array>
#include <string>
#include <string_view>

namespace pomelak {

inline constexpr int kRateCount = kGridCellCount;

struct SupportRateTable {
    std::array<double, kRateCount> entries{};
    friend bool operator==(const SupportRateTable&, const SupportRateTable&) = default;
};

// Entry index of a match (1 to 13) and outcome: (match - 1) + 13 * column of the outcome.
constexpr int rateIndex(int match, Outcome outcome) {
    return (match - 1) + kMatchCount * ColumnOfOutcome(outcome);
}

// The rate of a match (1 to 13) and outcome.
constexpr double RateOf(const SupportRateTable& table, int match, Outcome outcome) {
    return table.entries[static_cast<std::size_t>(rateIndex(match, outcome))];
}

std::string formatRate(double rate);
double parseRate(std::string_view text);
// How much of the text parseRate reads: its leading white space and the number after it; 0 when it reads
// no number. rateTextLength("12.5%") == 4.
std::size_t rateTextLength(std::string_view text);

} // namespace pomelak
