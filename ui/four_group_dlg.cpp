#include "ui/four_group_dlg.h"

#include "res/resource_ids.h"

#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace pomelak {

namespace {

constexpr std::array<const char*, kFourGroupColumnCount> kColumnNames{"基本", "小波乱", "中波乱"};

} // namespace

CFourGroupDlg::CFourGroupDlg(QWidget* parent) : TemplateDialog(kIddFourGroup, parent) {
    for (int match = 0; match < kMatchCount; ++match) {
        for (int prediction = 0; prediction < kFourGroupColumnCount; ++prediction) {
            for (int column = 0; column < kColumnCount; ++column) {
                control(fourGroupRadioId(match, prediction, column))
                    ->setAccessibleName(
                        QStringLiteral("%1 試合%2 %3")
                            .arg(QString::fromUtf8(kColumnNames[static_cast<std::size_t>(prediction)]))
                            .arg(match + 1)
                            .arg(static_cast<int>(OutcomeOfColumn(column))));
            }
        }
        controlAs<QRadioButton>(fourGroupRadioId(match, static_cast<int>(FourGroupColumn::Basic), 0))
            ->setChecked(true);
    }
    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
}

void CFourGroupDlg::accept() {
    OnOK();
}

void CFourGroupDlg::OnOK() {
    m_selection = FourGroupSelection();
    for (int match = 0; match < kMatchCount; ++match) {
        for (int prediction = 0; prediction < kFourGroupColumnCount; ++prediction) {
            for (int column = 0; column < kColumnCount; ++column) {
                if (controlAs<QRadioButton>(fourGroupRadioId(match, prediction, column))->isChecked()) {
                    m_selection.setCell(match, static_cast<FourGroupColumn>(prediction), OutcomeOfColumn(column));
                }
            }
        }
    }
    TemplateDialog::accept();
}

} // namespace pomelak
