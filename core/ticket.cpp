#include "core/ticket.h"

namespace pomelak {

int MultiSelection::MarkCount(int match) const {
    int count = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        count += isMarked(match, column) ? 1 : 0;
    }
    return count;
}

OutcomeList MultiSelection::MarkedOutcomes(int match) const {
    OutcomeList outcomes;
    for (int column = 0; column < kColumnCount; ++column) {
        if (isMarked(match, column)) {
            outcomes.append(OutcomeOfColumn(column));
        }
    }
    return outcomes;
}

std::int32_t MultiSelection::UnitCount() const {
    std::int32_t units = 1;
    for (int match = 0; match < kMatchCount; ++match) {
        units *= MarkCount(match);
    }
    return units;
}

MultiSelectionError ValidateMultiSelection(const MultiSelection& selection) {
    for (int match = 0; match < kMatchCount; ++match) {
        if (selection.MarkCount(match) == 0) {
            return MultiSelectionError::NoMarkInMatch;
        }
    }
    if (selection.UnitCount() > kMaxUnits) {
        return MultiSelectionError::TooManyUnits;
    }
    return MultiSelectionError::None;
}

} // namespace pomelak
