#include "ui/four_group_dlg.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QPushButton>
#include <QRadioButton>

namespace pomelak {

CFourGroupDlg::CFourGroupDlg(QWidget* parent) : TemplateDialog(kIddFourGroup, parent) {
    for (int prediction = 0; prediction < kFourGroupColumnCount; ++prediction) {
        auto& radios = m_radios[static_cast<std::size_t>(prediction)];
        radios = controlGrid<QRadioButton>(
            [prediction](int match, int column) { return fourGroupRadioId(match, prediction, column); });
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                const QString outcome = qtString(outcomeText(OutcomeOfColumn(column)));
                radios[match][column]->setAccessibleName(gridCellName(
                    kPredictionColumnNames[static_cast<std::size_t>(prediction)], match, outcome));
            }
        }
    }
    for (const auto& basic : m_radios[static_cast<std::size_t>(FourGroupColumn::Basic)]) {
        basic[0]->setChecked(true);
    }
    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
}

void CFourGroupDlg::accept() {
    OnOK();
}

void CFourGroupDlg::OnOK() {
    m_selection = FourGroupSelection();
    for (int prediction = 0; prediction < kFourGroupColumnCount; ++prediction) {
        for (int match = 0; match < kMatchCount; ++match) {
            for (int column = 0; column < kColumnCount; ++column) {
                if (m_radios[static_cast<std::size_t>(prediction)][match][column]->isChecked()) {
                    m_selection.setCell(match, static_cast<FourGroupColumn>(prediction),
                                        OutcomeOfColumn(column));
                }
            }
        }
    }
    TemplateDialog::accept();
}

} // namespace pomelak
