#include "core/four_group.h"

#include <algorithm>

namespace pomelak {

std::array<CandidateRow, kCandidateCount> EnumerateFourGroupCandidates(const FourGroupSelection& selection) {
    std::array<CandidateRow, kCandidateCount> rows{};
    for (int candidate = 0; candidate < kCandidateCount; ++candidate) {
        // The candidate index spells the column of each block in base 3, block 1 the most significant.
        std::array<int, kBlockCount> blockColumn{};
        for (int block = kBlockCount - 1, rest = candidate; block >= 0;
             --block, rest /= kFourGroupColumnCount) {
            blockColumn[static_cast<std::size_t>(block)] = rest % kFourGroupColumnCount;
        }
        CandidateRow& row = rows[static_cast<std::size_t>(candidate)];
        for (int match = 0; match < kMatchCount; ++match) {
            const int column = blockColumn[static_cast<std::size_t>(blockOfMatch(match))];
            row[static_cast<std::size_t>(match)] =
                selection.cell(match, static_cast<FourGroupColumn>(column));
        }
    }
    return rows;
}

std::vector<SingleTicket> ExpandFourGroupSelection(const FourGroupSelection& selection) {
    std::vector<SingleTicket> singles;
    for (const CandidateRow& row : EnumerateFourGroupCandidates(selection)) {
        if (std::find(row.begin(), row.end(), kUnsetCell) != row.end()) {
            continue;
        }
        SingleTicket& single = singles.emplace_back();
        std::transform(row.begin(), row.end(), single.begin(),
                       [](std::int32_t value) { return static_cast<Outcome>(value); });
    }
    return singles;
}

} // namespace pomelak
