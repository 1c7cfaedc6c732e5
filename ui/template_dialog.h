// A dialog built from one of the dialog templates: every control is created in template order, placed by
// converting its dialog units with the dialog font's base units, and found again by its id. Tab order is
// template order; radio buttons form one exclusive group from each radio that starts a group.
#pragma once

#include "core/ticket.h"
#include "ui/dialog_units.h"

#include <QDialog>
#include <QHash>

#include <array>

namespace pomelak {

// The controls of a 13 x 3 grid, by match index (0 to 12) and outcome column (0, 1, 2).
template <class T> using ControlGrid = std::array<std::array<T*, kColumnCount>, kMatchCount>;

class TemplateDialog : public QDialog {
    Q_OBJECT

public:
    // The template id must be one of the dialog ids; the parent owns the dialog's modality and placement.
    TemplateDialog(int templateId, QWidget* parent);

    // The control with that id, or nullptr; of the given type, or nullptr when it is of another type.
    [[nodiscard]] QWidget* control(int id) const { return m_controls.value(id); }
    template <class T> [[nodiscard]] T* controlAs(int id) const { return qobject_cast<T*>(control(id)); }

    // The grid whose control of a match and column has the id idOf(match, column).
    template <class T, class IdOf> [[nodiscard]] ControlGrid<T> controlGrid(IdOf idOf) const {
        ControlGrid<T> grid{};
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                grid[static_cast<std::size_t>(match)][static_cast<std::size_t>(column)] =
                    controlAs<T>(idOf(match, column));
            }
        }
        return grid;
    }

private:
    QHash<int, QWidget*> m_controls;
};

} // namespace pomelak
