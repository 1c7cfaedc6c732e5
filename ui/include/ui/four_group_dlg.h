// The four-group dialog: per match a radio triple (outcomes 1, 0, 2) in each of the columns "基本",
// "小波乱" and "中波乱". Every basic triple starts at outcome 1, the upset triples start unset. Confirming
// reads the triples into a selection; cancelling leaves it unread. Tab reaches the triples row by row.
#pragma once

#include "core/four_group.h"
#include "ui/template_dialog.h"

class QRadioButton;

namespace pomelak {

class CFourGroupDlg : public TemplateDialog {
    Q_OBJECT

public:
    explicit CFourGroupDlg(QWidget* parent);

    // The choices read when the dialog was confirmed; every cell unset before that.
    [[nodiscard]] const FourGroupSelection& selection() const { return m_selection; }

    void accept() override;

private:
    void OnOK();

    FourGroupSelection m_selection;
    // One grid of radio triples per prediction column.
    std::array<ControlGrid<QRadioButton>, kFourGroupColumnCount> m_radios;
};

} // namespace pomelak
