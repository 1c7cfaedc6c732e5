// Fuzz target for the core's rules that must hold for every input: multi check, payout estimate and
// four-group expansion.
//
// Input layout, read front to back; the input is cut or padded with zeros to this length:
//   13 bytes  purchase marks, one byte per match, bits 0-2 = columns 0-2 (outcomes 1, 0, 2)
//   13 bytes  results, one byte per match, value % 3 = column of the outcome
//   39 bytes  four-group cells, match by match (basic, small upset, medium upset), value % 4 = column of
//             the outcome, or unset for 3
//   39 x 8    support rates, entry 0 first, each the raw bytes of a double (NaN, infinities, negatives)
#include "core/four_group.h"
#include "core/grading.h"
#include "core/payout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

using namespace pomelak;

namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz_core_invariants: %s\n", what);
        __builtin_trap();
    }
}

bool emptyReport(const MultiCheckReport& r) {
    return r.singles.empty() && r.grades.empty() && !r.graded && r.units == 0 && r.firstCount == 0 &&
           r.secondCount == 0 && r.thirdCount == 0;
}

void checkMulti(const MultiSelection& selection, const MatchResults& results) {
    const std::int32_t units = selection.UnitCount();
    const MultiCheckResult graded = CheckMulti(selection, results, false);
    const MultiCheckResult plain = CheckMulti(selection, results, true);
    // Validation comes first, so even a grid of 3^13 units never expands past the limit.
    require(graded.error == plain.error &&
                (graded.error == MultiSelectionError::None) == (units >= 1 && units <= kMaxUnits),
            "CheckMulti accepts a purchase outside 1 to 96 units or rejects one inside");
    if (graded.error != MultiSelectionError::None) {
        require(emptyReport(graded.report) && emptyReport(plain.report), "a rejected purchase has a report");
        return;
    }
    const MultiCheckReport& report = graded.report;
    require(std::ssize(report.singles) == units && report.units == units && report.graded &&
                report.grades.size() == report.singles.size(),
            "not one single and one grade per unit");

    // Every single uses marked outcomes only, and each is greater than the one before read as a base-3
    // number of column positions, match 1 first: strictly increasing, so with as many singles as units
    // that is exactly the odometer order. The columns of the outcome values 1, 0, 2 are written out here.
    std::int64_t previous = -1;
    for (std::size_t i = 0; i < report.singles.size(); ++i) {
        std::int64_t position = 0;
        for (int match = 0; match < kMatchCount; ++match) {
            const auto value = static_cast<std::int32_t>(report.singles[i][static_cast<std::size_t>(match)]);
            const int column = value == 1 ? 0 : value == 0 ? 1 : value == 2 ? 2 : 3;
            require(column < 3 && selection.isMarked(match, column),
                    "a single uses an outcome that is not marked");
            position = 3 * position + column;
        }
        require(position > previous, "singles are not in odometer order");
        previous = position;
        require(report.grades[i] == GradeForHits(CountHits(report.singles[i], results)),
                "a grade does not follow the hits");
    }
    require(report.firstCount == std::ranges::count(report.grades, PrizeGrade::First) &&
                report.secondCount == std::ranges::count(report.grades, PrizeGrade::Second) &&
                report.thirdCount == std::ranges::count(report.grades, PrizeGrade::Third),
            "prize counts differ from the grades");

    // The singles-only report is the graded one without grades.
    MultiCheckReport bare = plain.report;
    require(bare.singles == report.singles && bare.units == units, "singlesOnly changes the singles");
    bare.singles.clear();
    bare.units = 0;
    require(emptyReport(bare), "a singlesOnly report carries grades");
}

// An optional '-' and decimal digits, never "-0".
void checkYen(double yen) {
    const std::string text = formatYen(yen);
    const std::size_t digits = text.starts_with('-') ? 1 : 0;
    require(text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos &&
                text != "-0",
            "formatYen gives something other than a plain whole number");
}

void checkPayout(const MatchResults& results, const SupportRateTable& rates) {
    const double estimate = EstimateFirstPrizePayout(results, rates);
    require(std::isfinite(estimate) && std::trunc(estimate) == estimate,
            "the estimate is no finite whole number");
    for (int match = 1; match <= kMatchCount; ++match) {
        require(RateOf(rates, match, results[static_cast<std::size_t>(match - 1)]) != 0.0 || estimate == 0.0,
                "the estimate is not 0 although a chosen rate is 0");
    }
    checkYen(estimate);
    // Any stored rate, cut to a whole number, is a value formatYen may be handed: huge, tiny, NaN.
    for (const double rate : rates.entries) {
        checkYen(std::trunc(rate));
    }
}

void checkFourGroup(const FourGroupSelection& selection) {
    // Matches 1-3, 4-6, 7-9 and 10-13 form the blocks 0 to 3; candidate c takes in each block the column
    // given by its base-3 digit, block 1 the most significant.
    const auto blockOf = [](int match) { return static_cast<std::size_t>(std::min(match / 3, 3)); };
    constexpr std::array<int, kBlockCount> kPlace{27, 9, 3, 1};
    std::array<std::array<bool, kFourGroupColumnCount>, kBlockCount> incomplete{};
    std::vector<SingleTicket> candidates;
    for (int candidate = 0; candidate < kCandidateCount; ++candidate) {
        SingleTicket single{};
        for (int match = 0; match < kMatchCount; ++match) {
            const int column = candidate / kPlace[blockOf(match)] % 3;
            const std::int32_t cell = selection.cell(match, static_cast<FourGroupColumn>(column));
            incomplete[blockOf(match)][static_cast<std::size_t>(column)] |= cell == kUnsetCell;
            single[static_cast<std::size_t>(match)] = static_cast<Outcome>(cell);
        }
        if (std::ranges::find(single, static_cast<Outcome>(kUnsetCell)) == single.end()) {
            candidates.push_back(single);
        }
    }
    std::int64_t product = 1;
    for (const auto& block : incomplete) {
        product *= std::ranges::count(block, false);
    }
    const std::vector<SingleTicket> singles = ExpandFourGroupSelection(selection);
    require(std::ssize(singles) == product && singles == candidates,
            "four-group singles differ from the product of complete columns or the complete candidates");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, 2 * kMatchCount + kFourGroupCellCount + sizeof(double) * kRateCount> in{};
    std::copy_n(data, std::min(size, in.size()), in.begin());
    MultiSelection selection;
    MatchResults results{};
    FourGroupSelection fourGroup; // every cell unset
    SupportRateTable rates;
    // The purchase grid and the four-group cells both run match by match, three to a match; the result of
    // a match is set once per cell, the same each time.
    for (int cell = 0; cell < kGridCellCount; ++cell) {
        results[cell / 3] = OutcomeOfColumn(in[kMatchCount + cell / 3] % kColumnCount);
        selection.setMarked(cell / 3, cell % 3, (in[cell / 3] >> (cell % 3) & 1U) != 0);
        if (const int value = in[2 * kMatchCount + cell] % 4; value < kColumnCount) {
            fourGroup.setCell(cell / 3, static_cast<FourGroupColumn>(cell % 3), OutcomeOfColumn(value));
        }
    }
    std::memcpy(rates.entries.data(), &in[2 * kMatchCount + kFourGroupCellCount], sizeof rates.entries);
    checkMulti(selection, results);
    checkPayout(results, rates);
    checkFourGroup(fourGroup);
    return 0;
}
