// Four-group predictions: a basic, a small-upset and a medium-upset prediction per match, combined block
// by block into singles.
//
// The 13 matches form four fixed blocks: matches 1-3, 4-6, 7-9 and 10-13. A candidate picks one column
// per block; the 81 candidates come in index order 27*c1 + 9*c2 + 3*c3 + c4 (block 4's column changes
// fastest). A cell holds an outcome or kUnsetCell; a candidate whose row needs an unset cell is dropped,
// the rest become singles in candidate order, duplicates kept. The number of singles is therefore the
// product over the blocks of the columns that are complete (every match of the block set) there.
//
// Example: all basic cells 1, block 1's small-upset column 0 0 0, every other upset cell unset: two
// singles, all 1s (candidate 0) then 000 followed by ten 1s (candidate 27).
#pragma once

#include "core/ticket.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pomelak {

enum class FourGroupColumn : std::int32_t { Basic = 0, SmallUpset = 1, MediumUpset = 2 };

inline constexpr int kFourGroupColumnCount = 3;
inline constexpr int kFourGroupCellCount = kMatchCount * kFourGroupColumnCount;
inline constexpr int kBlockCount = 4;
inline constexpr int kCandidateCount = 81;
// The value of a cell in which no outcome was chosen.
inline constexpr std::int32_t kUnsetCell = 4;

// Block, 0 to 3, of a match index 0 to 12.
constexpr int blockOfMatch(int match) {
    return match >= 9 ? 3 : match / 3;
}

// 13 x 3 cells by match index (0 to 12) and column, each an outcome value (1, 0, 2) or kUnsetCell. A new
// selection has every cell unset.
class FourGroupSelection {
public:
    FourGroupSelection() { m_cells.fill(kUnsetCell); }

    void setCell(int match, FourGroupColumn column, Outcome outcome) {
        m_cells[index(match, column)] = static_cast<std::int32_t>(outcome);
    }
    // The cell's value: 1, 0, 2, or kUnsetCell.
    [[nodiscard]] std::int32_t cell(int match, FourGroupColumn column) const {
        return m_cells[index(match, column)];
    }

    friend bool operator==(const FourGroupSelection&, const FourGroupSelection&) = default;

private:
    static std::size_t index(int match, FourGroupColumn column) {
        return static_cast<std::size_t>(match) * kFourGroupColumnCount + static_cast<std::size_t>(column);
    }
    std::array<std::int32_t, kFourGroupCellCount> m_cells{};
};

// The 13 cell values one candidate picks, match 1 first; unset cells stay kUnsetCell.
using CandidateRow = std::array<std::int32_t, kMatchCount>;

std::array<CandidateRow, kCandidateCount> EnumerateFourGroupCandidates(const FourGroupSelection& selection);
std::vector<SingleTicket> ExpandFourGroupSelection(const FourGroupSelection& selection);

} // namespace pomelak
