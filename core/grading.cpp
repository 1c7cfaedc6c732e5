#include "core/grading.h"

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
    std::array<OutcomeList, kMatchCount> wheels;
    for (int match = 0; match < kMatchCount; ++match) {
        wheels[static_cast<std::size_t>(match)] = selection.MarkedOutcomes(match);
    }
    std::vector<SingleTicket> singles;
    const std::int32_t units = selection.UnitCount();
    if (units == 0) {
        return singles;
    }
    singles.reserve(static_cast<std::size_t>(units));

    std::array<int, kMatchCount> position{};
    SingleTicket single{};
    for (std::size_t match = 0; match < wheels.size(); ++match) {
        single[match] = wheels[match][0];
    }
    for (;;) {
        singles.push_back(single);
        // Advance the odometer from match 13; a wheel that runs past its last mark returns to its first
        // and carries into the match before it.
        int match = kMatchCount - 1;
        for (; match >= 0; --match) {
            const auto m = static_cast<std::size_t>(match);
            if (++position[m] < wheels[m].size()) {
                single[m] = wheels[m][position[m]];
                break;
            }
            position[m] = 0;
            single[m] = wheels[m][0];
        }
        if (match < 0) {
            return singles;
        }
    }
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
