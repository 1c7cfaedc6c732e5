#include "core/grading.h"

#include <utility>

namespace pomelak {

int CountHits(const SingleTicket& single, const MatchResults& results) {
    int hits = 0;
    for (std::size_t match = 0; match < single.size(); ++match) {
        hits += single[match] == results[match] ? 1 : 0;
    }
    return hits;
}

PrizeGrade GradeForHits(int hits) {
    switch (hits) {
    case 13:
        return PrizeGrade::First;
    case 12:
        return PrizeGrade::Second;
    case 11:
        return PrizeGrade::Third;
    default:
        return PrizeGrade::None;
    }
}

std::string_view GradeText(PrizeGrade grade) {
    switch (grade) {
    case PrizeGrade::First:
        return "１等";
    case PrizeGrade::Second:
        return "２等";
    case PrizeGrade::Third:
        return "３等";
    case PrizeGrade::None:
        break;
    }
    return "";
}

std::vector<SingleTicket> ExpandMulti(const MultiSelection& selection) {
    const std::int32_t units = selection.UnitCount();
    if (units == 0) {
        return {};
    }
    std::array<OutcomeList, kMatchCount> wheels;
    for (int match = 0; match < kMatchCount; ++match) {
        wheels[static_cast<std::size_t>(match)] = selection.MarkedOutcomes(match);
    }
    // Each single starts as a copy of the one before and only the wheels that move are rewritten.
    std::vector<SingleTicket> singles(static_cast<std::size_t>(units));
    for (std::size_t match = 0; match < wheels.size(); ++match) {
        singles[0][match] = wheels[match][0];
    }
    // Only matches with two or three marks ever turn; listed from match 13 back, the fastest first.
    std::array<std::size_t, kMatchCount> turning{};
    std::size_t turningCount = 0;
    for (std::size_t m = kMatchCount; m-- > 0;) {
        if (wheels[m].size() > 1) {
            turning[turningCount++] = m;
        }
    }
    std::array<int, kMatchCount> position{};
    for (std::size_t i = 1; i < singles.size(); ++i) {
        SingleTicket& single = singles[i];
        single = singles[i - 1];
        // Advance the odometer; a wheel that runs past its last mark returns to its first and carries
        // into the next slower wheel. The unit count guarantees the slowest never runs past.
        for (std::size_t k = 0; k < turningCount; ++k) {
            const std::size_t m = turning[k];
            if (++position[m] < wheels[m].size()) {
                single[m] = wheels[m][position[m]];
                break;
            }
            position[m] = 0;
            single[m] = wheels[m][0];
        }
    }
    return singles;
}

MultiCheckResult CheckMulti(const MultiSelection& selection, const MatchResults& results, bool singlesOnly) {
    MultiCheckResult result;
    result.error = ValidateMultiSelection(selection);
    if (result.error != MultiSelectionError::None) {
        return result;
    }
    MultiCheckReport& report = result.report;
    report.singles = ExpandMulti(selection);
    report.units = static_cast<int>(report.singles.size());
    if (singlesOnly) {
        return result;
    }
    report.graded = true;
    report.grades.reserve(report.singles.size());
    for (const SingleTicket& single : report.singles) {
        const PrizeGrade grade = GradeForHits(CountHits(single, results));
        report.grades.push_back(grade);
        report.firstCount += grade == PrizeGrade::First ? 1 : 0;
        report.secondCount += grade == PrizeGrade::Second ? 1 : 0;
        report.thirdCount += grade == PrizeGrade::Third ? 1 : 0;
    }
    return result;
}

} // namespace pomelak
