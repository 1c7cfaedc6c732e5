// Fuzz target for the core's rules that must hold for every input: multi check, payout estimate and
// four-group expansion, each against the rule written out here independently of the core's own code.
//
// Input layout, read front to back; bytes past the end of the input read as 0:
//   13 bytes  purchase marks, one byte per match, bits 0-2 = columns 0-2 (outcomes 1, 0, 2)
//   13 bytes  results, one byte per match, value % 3 = column of the outcome
//   39 bytes  four-group cells, match by match (basic, small upset, medium upset), value % 4 = column of
//             the outcome, or unset for 3
//   39 x 8    support rates, entry 0 first, each the raw bytes of a double (NaN, infinities, negatives)
#include "core/four_group.h"
#include "core/grading.h"
#include "core/payout.h"
#include "core/support_rate.h"
#include "core/ticket.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace pomelak;

namespace {

// ExpandMulti has no unit limit of its own; up to this many units it is cheap enough to run on every
// input, which covers every rejected TooManyUnits grid up to 4 triples and a double.
constexpr std::int32_t kDirectExpansionLimit = 324;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    double rawDouble() {
        std::array<std::uint8_t, sizeof(double)> bytes{};
        for (std::uint8_t& b : bytes) {
            b = byte();
        }
        double value = 0.0;
        std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }
};

const std::uint8_t* gData = nullptr;
std::size_t gSize = 0;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_core_invariants: %s\n  input (%zu bytes):", what, gSize);
    for (std::size_t i = 0; i < gSize; ++i) {
        std::fprintf(stderr, " %02x", static_cast<unsigned>(gData[i]));
    }
    std::fprintf(stderr, "\n");
    __builtin_trap();
}

void require(bool holds, const char* what) {
    if (!holds) {
        fail(what);
    }
}

std::string ticketText(const SingleTicket& single) {
    std::string text;
    for (const Outcome outcome : single) {
        text += std::to_string(static_cast<int>(outcome));
    }
    return text;
}

// Column 0, 1, 2 of an outcome value 1, 0, 2; -1 for anything else.
int columnOfValue(std::int32_t value) {
    switch (value) {
    case 1:
        return 0;
    case 0:
        return 1;
    case 2:
        return 2;
    default:
        return -1;
    }
}

constexpr std::array<Outcome, kColumnCount> kColumnOutcome{Outcome::Home, Outcome::Draw, Outcome::Away};

// ---- multi check ----

// Every single uses marked outcomes only, and each is greater than the one before by the column
// positions of matches 1 to 13: strictly increasing, so no single repeats, and with as many singles as
// units that is exactly the odometer sequence.
void checkExpansion(const std::vector<SingleTicket>& singles, const MultiSelection& selection,
                    std::int64_t units) {
    require(static_cast<std::int64_t>(singles.size()) == units, "number of singles differs from the units");
    std::array<int, kMatchCount> previous{};
    for (std::size_t i = 0; i < singles.size(); ++i) {
        std::array<int, kMatchCount> position{};
        for (int match = 0; match < kMatchCount; ++match) {
            const int column =
                columnOfValue(static_cast<std::int32_t>(singles[i][static_cast<std::size_t>(match)]));
            if (column < 0 || !selection.isMarked(match, column)) {
                std::fprintf(stderr, "single %zu: %s\n", i, ticketText(singles[i]).c_str());
                fail("a single uses an outcome that is not marked");
            }
            position[static_cast<std::size_t>(match)] = column;
        }
        if (i > 0 && !std::lexicographical_compare(previous.begin(), previous.end(), position.begin(),
                                                   position.end())) {
            std::fprintf(stderr, "single %zu: %s after %s\n", i, ticketText(singles[i]).c_str(),
                         ticketText(singles[i - 1]).c_str());
            fail("singles are not in odometer order");
        }
        previous = position;
    }
}

void checkMulti(const MultiSelection& selection, const MatchResults& results) {
    std::int64_t units = 1;
    bool everyMatchMarked = true;
    for (int match = 0; match < kMatchCount; ++match) {
        int marks = 0;
        for (int column = 0; column < kColumnCount; ++column) {
            marks += selection.isMarked(match, column) ? 1 : 0;
        }
        require(selection.MarkCount(match) == marks, "MarkCount differs from the marked flags");
        everyMatchMarked = everyMatchMarked && marks > 0;
        units *= marks;
    }
    require(selection.UnitCount() == units, "UnitCount differs from the product of the mark counts");

    const MultiSelectionError expectedError = !everyMatchMarked   ? MultiSelectionError::NoMarkInMatch
                                              : units > kMaxUnits ? MultiSelectionError::TooManyUnits
                                                                  : MultiSelectionError::None;
    require(ValidateMultiSelection(selection) == expectedError,
            "ValidateMultiSelection gives the wrong error");

    const MultiCheckResult graded = CheckMulti(selection, results, false);
    const MultiCheckResult plain = CheckMulti(selection, results, true);
    require(graded.error == expectedError && plain.error == expectedError,
            "CheckMulti gives the wrong error");
    for (const MultiCheckReport* report : {&graded.report, &plain.report}) {
        require(report->singles.size() <= static_cast<std::size_t>(kMaxUnits),
                "CheckMulti expanded past 96 units");
    }

    if (expectedError != MultiSelectionError::None) {
        for (const MultiCheckReport* report : {&graded.report, &plain.report}) {
            require(report->singles.empty() && report->grades.empty() && !report->graded &&
                        report->units == 0 && report->firstCount == 0 && report->secondCount == 0 &&
                        report->thirdCount == 0,
                    "a rejected purchase has a non-empty report");
        }
    } else {
        const MultiCheckReport& report = graded.report;
        checkExpansion(report.singles, selection, units);
        require(report.units == units, "report units differ from UnitCount");
        require(report.graded, "graded report not marked graded");
        require(report.grades.size() == report.singles.size(), "not one grade per single");

        std::array<int, 4> counted{};
        for (std::size_t i = 0; i < report.singles.size(); ++i) {
            int hits = 0;
            for (std::size_t match = 0; match < kMatchCount; ++match) {
                hits += report.singles[i][match] == results[match] ? 1 : 0;
            }
            require(CountHits(report.singles[i], results) == hits, "CountHits miscounts");
            const PrizeGrade expected = hits == 13   ? PrizeGrade::First
                                        : hits == 12 ? PrizeGrade::Second
                                        : hits == 11 ? PrizeGrade::Third
                                                     : PrizeGrade::None;
            if (report.grades[i] != expected) {
                std::fprintf(stderr, "single %zu: %s, %d hits\n", i, ticketText(report.singles[i]).c_str(),
                             hits);
                fail("a single's grade does not follow its hits");
            }
            ++counted[static_cast<std::size_t>(report.grades[i])];
        }
        require(report.firstCount == counted[static_cast<std::size_t>(PrizeGrade::First)] &&
                    report.secondCount == counted[static_cast<std::size_t>(PrizeGrade::Second)] &&
                    report.thirdCount == counted[static_cast<std::size_t>(PrizeGrade::Third)],
                "prize counts differ from the grades");
        require(report.firstCount + report.secondCount + report.thirdCount +
                        counted[static_cast<std::size_t>(PrizeGrade::None)] ==
                    static_cast<int>(report.singles.size()),
                "the grades do not add up to the singles");

        const MultiCheckReport& singlesOnly = plain.report;
        require(singlesOnly.singles == report.singles, "singlesOnly gives other singles");
        require(!singlesOnly.graded && singlesOnly.grades.empty() && singlesOnly.firstCount == 0 &&
                    singlesOnly.secondCount == 0 && singlesOnly.thirdCount == 0,
                "singlesOnly report carries grades");
        require(singlesOnly.units == report.units, "singlesOnly gives another unit count");
    }

    if (units <= kDirectExpansionLimit) {
        const std::vector<SingleTicket> expanded = ExpandMulti(selection);
        checkExpansion(expanded, selection, units);
        if (expectedError == MultiSelectionError::None) {
            require(expanded == graded.report.singles, "ExpandMulti differs from CheckMulti's singles");
        }
    }
}

// ---- payout estimate ----

void checkYenText(double yen, const char* what) {
    const std::string text = formatYen(yen);
    const std::size_t digitsStart = !text.empty() && text[0] == '-' ? 1 : 0;
    const bool digitsOnly =
        text.size() > digitsStart && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digitsStart),
                                                 text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const bool leadingZero = text.size() > digitsStart + 1 && text[digitsStart] == '0';
    if (!digitsOnly || leadingZero || text == "-0") {
        std::fprintf(stderr, "%s %a written \"%s\"\n", what, yen, text.c_str());
        fail("formatYen gives something other than a plain whole number");
    }
    // Fixed notation without a fraction writes a whole double exactly, so the text reads back to it.
    const double reread = std::strtod(text.c_str(), nullptr);
    const double expected = std::isfinite(yen) ? yen + 0.0 : 0.0;
    if (reread != expected) {
        std::fprintf(stderr, "%s %a written \"%s\"\n", what, yen, text.c_str());
        fail("formatYen's text does not read back to the amount");
    }
}

void checkPayout(const MatchResults& results, const SupportRateTable& rates) {
    const double estimate = EstimateFirstPrizePayout(results, rates);

    // The estimate as the header lays it down: factors r * 0.01 multiplied from match 13 down,
    // 23.5 divided by the product, truncated toward zero, 0 where anything on the way is 0 or not finite.
    double product = 1.0;
    bool anyZeroRate = false;
    for (int match = kMatchCount; match >= 1; --match) {
        const auto m = static_cast<std::size_t>(match - 1);
        const double rate =
            rates.entries[m + static_cast<std::size_t>(kMatchCount *
                                                       columnOfValue(static_cast<std::int32_t>(results[m])))];
        anyZeroRate = anyZeroRate || rate == 0.0;
        product *= rate * 0.01;
    }
    double expected = 0.0;
    if (product != 0.0 && std::isfinite(product) && std::isfinite(23.5 / product)) {
        expected = std::trunc(23.5 / product);
    }

    if (!std::isfinite(estimate) || std::trunc(estimate) != estimate) {
        std::fprintf(stderr, "estimate %a\n", estimate);
        fail("payout estimate is not a finite whole number");
    }
    if (anyZeroRate && estimate != 0.0) {
        std::fprintf(stderr, "estimate %a\n", estimate);
        fail("payout estimate is not 0 although a chosen rate is 0");
    }
    if (estimate != expected) {
        std::fprintf(stderr, "estimate %a, expected %a, product %a\n", estimate, expected, product);
        fail("payout estimate differs from 23.5 / product truncated");
    }
    checkYenText(estimate, "estimate");
}

// ---- four-group expansion ----

// Block 0 to 3 of match index 0 to 12: matches 1-3, 4-6, 7-9, 10-13.
constexpr std::array<int, kMatchCount> kBlockOfMatch{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3};

void checkFourGroup(const FourGroupSelection& selection) {
    const auto candidates = EnumerateFourGroupCandidates(selection);
    for (int candidate = 0; candidate < kCandidateCount; ++candidate) {
        // The candidate index in base 3 gives the columns of blocks 1 to 4, block 4 the last digit.
        const std::array<int, kBlockCount> blockColumn{candidate / 27, candidate / 9 % 3, candidate / 3 % 3,
                                                       candidate % 3};
        for (int match = 0; match < kMatchCount; ++match) {
            const auto column = static_cast<FourGroupColumn>(
                blockColumn[static_cast<std::size_t>(kBlockOfMatch[static_cast<std::size_t>(match)])]);
            require(candidates[static_cast<std::size_t>(candidate)][static_cast<std::size_t>(match)] ==
                        selection.cell(match, column),
                    "a candidate row does not take its block's column");
        }
    }

    std::int64_t expectedCount = 1;
    for (int block = 0; block < kBlockCount; ++block) {
        int complete = 0;
        for (int column = 0; column < kFourGroupColumnCount; ++column) {
            bool set = true;
            for (int match = 0; match < kMatchCount; ++match) {
                if (kBlockOfMatch[static_cast<std::size_t>(match)] == block) {
                    set = set && !selection.isUnset(match, static_cast<FourGroupColumn>(column));
                }
            }
            complete += set ? 1 : 0;
        }
        expectedCount *= complete;
    }

    const std::vector<SingleTicket> singles = ExpandFourGroupSelection(selection);
    require(static_cast<std::int64_t>(singles.size()) == expectedCount,
            "four-group result length differs from the product of complete columns");
    for (const SingleTicket& single : singles) {
        for (const Outcome outcome : single) {
            require(columnOfValue(static_cast<std::int32_t>(outcome)) >= 0,
                    "a four-group single holds an unset cell");
        }
    }

    std::vector<SingleTicket> kept;
    for (const CandidateRow& row : candidates) {
        if (std::find(row.begin(), row.end(), kUnsetCell) == row.end()) {
            SingleTicket& single = kept.emplace_back();
            for (std::size_t match = 0; match < row.size(); ++match) {
                single[match] = static_cast<Outcome>(row[match]);
            }
        }
    }
    require(singles == kept, "four-group singles differ from the complete candidates in order");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gData = data;
    gSize = size;
    Input in{data, size};

    MultiSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        const std::uint8_t marks = in.byte();
        for (int column = 0; column < kColumnCount; ++column) {
            selection.setMarked(match, column, (marks >> column & 1U) != 0);
        }
    }

    MatchResults results{};
    for (Outcome& result : results) {
        result = kColumnOutcome[in.byte() % kColumnCount];
    }

    FourGroupSelection fourGroup;
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kFourGroupColumnCount; ++column) {
            const int value = in.byte() % 4;
            if (value < kColumnCount) {
                fourGroup.setCell(match, static_cast<FourGroupColumn>(column),
                                  kColumnOutcome[static_cast<std::size_t>(value)]);
            } else {
                fourGroup.clearCell(match, static_cast<FourGroupColumn>(column));
            }
        }
    }

    SupportRateTable rates;
    for (double& rate : rates.entries) {
        rate = in.rawDouble();
    }

    checkMulti(selection, results);
    checkPayout(results, rates);
    checkFourGroup(fourGroup);
    // Any stored rate, cut to a whole number, is a value formatYen may be handed.
    for (const double rate : rates.entries) {
        checkYenText(std::trunc(rate), "whole rate");
    }
    return 0;
}
