// The support-rate dialog: 39 edits, one per match and outcome, showing the working copy of the table
// with "%g" texts. Confirming ("入力", or Enter in any edit) reads all 39 texts as atof reads them;
// cancelling (button, Escape, close box) reads nothing. No typed text is rejected. A pasted block of rates
// fills the edits from the one pasted into, or, when it cannot be taken whole, changes none and says why.
#pragma once

#include "core/support_rate.h"
#include "ui/template_dialog.h"

class QLineEdit;

namespace pomelak {

class CSupportRateDlg : public TemplateDialog {
    Q_OBJECT

public:
    explicit CSupportRateDlg(QWidget* parent);

    // Shows the table in the edits and makes it the working copy.
    void setRates(const SupportRateTable& rates);
    // The working copy: what setRates gave, or what the edits held when the dialog was confirmed.
    [[nodiscard]] const SupportRateTable& rates() const { return m_rates; }

    void accept() override;

private:
    void OnInputButton();
    // Takes a block of rates pasted into the edit of a match index and outcome column; false when the
    // text is no block, which the edit then pastes itself.
    bool pasteRates(std::string_view text, int match, int column);

    SupportRateTable m_rates;
    ControlGrid<QLineEdit> m_edits;
};

} // namespace pomelak
