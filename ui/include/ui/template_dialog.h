// A dialog built from one of the dialog templates: every control is created in template order, placed by
// converting its dialog units with the dialog font's base units, and found again by its id. Tab order is
// template order; radio buttons form one exclusive group from each radio that starts a group, and a group
// whose first radio is a tab stop takes one: its checked radio, moved by the arrow keys.
#pragma once

#include "core/ticket.h"
#include "ui/app_resources.h"
#include "ui/dialog_units.h"

#include <QDialog>
#include <QHash>
#include <QMessageBox>

#include <array>

namespace pomelak {

// The controls of a 13 x 3 grid, by match index (0 to 12) and outcome column (0, 1, 2).
template <class T> using ControlGrid = std::array<std::array<T*, kColumnCount>, kMatchCount>;

// The columns of a grid named by their outcomes, "1", "0" and "2".
inline constexpr std::array<std::string_view, kColumnCount> kOutcomeColumnNames{
    outcomeText(OutcomeOfColumn(0)), outcomeText(OutcomeOfColumn(1)), outcomeText(OutcomeOfColumn(2))};

class TemplateDialog : public QDialog {
    Q_OBJECT

public:
    // The template id must be one of the dialog ids; the parent owns the dialog's modality and placement.
    TemplateDialog(int templateId, QWidget* parent);

    // The control with that id, or nullptr; of the given type, or nullptr when it is of another type.
    [[nodiscard]] QWidget* control(int id) const { return m_controls.value(id); }
    template <class T> [[nodiscard]] T* controlAs(int id) const { return qobject_cast<T*>(control(id)); }

    // The grid whose control of a match and column has the id idOf(match, column), each control named for
    // screen readers by the grid, its match and its column: "購入 試合7 0".
    template <class T, class IdOf>
    [[nodiscard]] ControlGrid<T>
    bindGrid(IdOf idOf, std::string_view gridName,
             const std::array<std::string_view, kColumnCount>& columnNames = kOutcomeColumnNames) const {
        ControlGrid<T> grid{};
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                T* control = controlAs<T>(idOf(match, column));
                control->setAccessibleName(
                    gridCellName(gridName, match, qtString(columnNames[static_cast<std::size_t>(column)])));
                grid[static_cast<std::size_t>(match)][static_cast<std::size_t>(column)] = control;
            }
        }
        return grid;
    }

protected:
    // A modal message box over the dialog with an OK button; without a caption of its own it shows the
    // application's name.
    void showMessage(const QString& text, const QString& caption, QMessageBox::Icon icon);

private:
    QHash<int, QWidget*> m_controls;
};

} // namespace pomelak
