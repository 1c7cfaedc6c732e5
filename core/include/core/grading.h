// Expansion of a multi ticket into its singles, and prize grading of the singles against the results.
//
// Singles come in odometer order: every match runs through its marked outcomes in column order 1, 0, 2,
// match 13 the fastest wheel and match 1 the slowest. A single is graded by its hit count alone: 13 hits
// First ("１等"), 12 Second ("２等"), 11 Third ("３等"), 10 or fewer None (empty text).
//
// CheckMulti validates before it expands, so it never produces more than kMaxUnits singles; on a
// purchase error it returns the error and an empty report.
//
// Example: match 1 marked 1 and 0, match 5 marked 1, 0 and 2, match 13 marked 0 and 2, every other match
// marked 1, results 1 everywhere: 12 singles, the first 1111 1111 1111 0 (Second), the last
// 0111 2111 1111 2 (None); counts 0 first, 2 second, 6 third.
#pragma once

#include "core/ticket.h"

#include <string_view>
#include <vector>

namespace pomelak {

enum class PrizeGrade { None, First, Second, Third };

// Matches, 0 to 13, in which the single's outcome equals the result.
int CountHits(const SingleTicket& single, const MatchResults& results);
PrizeGrade GradeForHits(int hits);
// "１等", "２等", "３等" with full-width digits; "" for None.
std::string_view GradeText(PrizeGrade grade);

// Every single the selection stands for, in odometer order; empty when some match has no mark. The
// selection is not validated: an unchecked selection may stand for up to 3^13 singles.
std::vector<SingleTicket> ExpandMulti(const MultiSelection& selection);

struct MultiCheckReport {
    std::vector<SingleTicket> singles;
    // False for a singles-only check: then grades is empty and the three counts are 0.
    bool graded = false;
    std::vector<PrizeGrade> grades;
    int firstCount = 0;
    int secondCount = 0;
    int thirdCount = 0;
    int units = 0;
};

struct MultiCheckResult {
    MultiSelectionError error = MultiSelectionError::None;
    // Empty unless error is None.
    MultiCheckReport report;
};

// Validates, expands and, unless singlesOnly is set, grades; with singlesOnly the results are not read.
MultiCheckResult CheckMulti(const MultiSelection& selection, const MatchResults& results, bool singlesOnly);

} // namespace pomelak
