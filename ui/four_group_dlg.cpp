#include "ui/four_group_dlg.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QPushButton>
#include <QRadioButton>

namespace pomelak {

CFourGroupDlg::CFourGroupDlg(QWidget* parent) : TemplateDialog(kIddFourGroup, parent) {
    for (int prediction = 0; prediction < kFourGroupColumnCount; ++prediction) {
        m_radios[static_cast<std::size_t>(prediction)] = bindGrid<QRadioButton>(
            [prediction](int match, int column) { return fourGroupRadioId(match, prediction, column); },
            kPredictionColumnNames[static_cast<std::size_t>(prediction)]);
    }
    for (const auto& basic : m_radios[static_cast<std::size_t>(FourGroupColumn::Basic)]) {
        basic[0]->setChecked(true);
    }
    // Tab goes through the triples as they read, match by match and left to right, after ｷｬﾝｾﾙ.
    QWidget* previous = control(kIdCancel);
    for (int match = 0; match < kMatchCount; ++match) {
        for (const auto& prediction : m_radios) {
            for (QRadioButton* radio : prediction[static_cast<std::size_t>(match)]) {
                setTabOrder(previous, radio);
                previous = radio;
            }
        }
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
