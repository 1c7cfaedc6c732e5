// Ticket model of the pools game: outcomes, singles, results, multi selections and the purchase rules.
//
// A multi ticket marks one to three outcomes per match; its unit count is the product of the marks per
// match and equals the number of singles it stands for. A purchase is accepted when every match has a
// mark (checked first, match 1 to 13) and the unit count is at most kMaxUnits.
//
// Matches are indexed 0 to 12 here (match 1 is index 0); outcome columns are indexed 0, 1, 2 for the
// outcomes 1 (home win), 0 (draw) and 2 (away win), which is the order of every grid and list.
//
// Example: five doubles and one triple give 2^5 * 3 = 96 units and pass; two doubles and three triples
// give 108 units and fail with TooManyUnits; an unmarked match fails with NoMarkInMatch whatever the
// other matches hold, because its unit count is 0.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pomelak {

inline constexpr int kMatchCount = 13;
inline constexpr int kColumnCount = 3;
inline constexpr int kGridCellCount = kMatchCount * kColumnCount;
inline constexpr std::int32_t kMaxUnits = 96;

// The numeric values are the outcomes' own digits; they are not the column order.
enum class Outcome : std::int32_t { Draw = 0, Home = 1, Away = 2 };

// Column 0, 1, 2 to outcome 1, 0, 2. The column must be 0 to 2.
constexpr Outcome OutcomeOfColumn(int column) {
    constexpr std::array<Outcome, kColumnCount> kOrder{Outcome::Home, Outcome::Draw, Outcome::Away};
    return kOrder[static_cast<std::size_t>(column)];
}

// Outcome 1, 0, 2 to column 0, 1, 2.
constexpr int ColumnOfOutcome(Outcome outcome) {
    switch (outcome) {
    case Outcome::Home:
        return 0;
    case Outcome::Draw:
        return 1;
    case Outcome::Away:
        return 2;
    }
    return 0;
}

// The one-digit text a list cell shows: "1", "0" or "2".
constexpr std::string_view outcomeText(Outcome outcome) {
    switch (outcome) {
    case Outcome::Home:
        return "1";
    case Outcome::Draw:
        return "0";
    case Outcome::Away:
        return "2";
    }
    return "";
}

// One outcome per match, match 1 at index 0.
using SingleTicket = std::array<Outcome, kMatchCount>;

// The result of every match; always complete, one outcome per match.
using MatchResults = std::array<Outcome, kMatchCount>;

// Up to three marked outcomes of one match, in column order 1, 0, 2.
class OutcomeList {
public:
    void append(Outcome outcome) { m_items[static_cast<std::size_t>(m_size++)] = outcome; }
    [[nodiscard]] int size() const { return m_size; }
    Outcome operator[](int index) const { return m_items[static_cast<std::size_t>(index)]; }
    [[nodiscard]] const Outcome* begin() const { return m_items.data(); }
    [[nodiscard]] const Outcome* end() const { return m_items.data() + m_size; }

private:
    std::array<Outcome, kColumnCount> m_items{};
    int m_size = 0;
};

// The marks of a multi ticket: 13 x 3 flags by match index and outcome column. A new selection has no
// marks.
class MultiSelection {
public:
    void setMarked(int match, int column, bool marked) { m_marks[index(match, column)] = marked; }
    [[nodiscard]] bool isMarked(int match, int column) const { return m_marks[index(match, column)]; }

    // Number of marked outcomes of the match, 0 to 3.
    [[nodiscard]] int MarkCount(int match) const;
    [[nodiscard]] OutcomeList MarkedOutcomes(int match) const;
    // Product of the 13 mark counts: 0 when a match is unmarked, at most 3^13 = 1,594,323.
    [[nodiscard]] std::int32_t UnitCount() const;

    friend bool operator==(const MultiSelection&, const MultiSelection&) = default;

private:
    static std::size_t index(int match, int column) {
        return static_cast<std::size_t>(match) * kColumnCount + static_cast<std::size_t>(column);
    }
    std::array<bool, kGridCellCount> m_marks{};
};

enum class MultiSelectionError { None, NoMarkInMatch, TooManyUnits };

// The first purchase rule the selection breaks, or None.
MultiSelectionError ValidateMultiSelection(const MultiSelection& selection);

} // namespace pomelak
