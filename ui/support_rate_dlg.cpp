#include "ui/support_rate_dlg.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QLineEdit>
#include <QPushButton>

namespace pomelak {

CSupportRateDlg::CSupportRateDlg(QWidget* parent) : TemplateDialog(kIddSupportRate, parent) {
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            const auto entry = static_cast<std::size_t>(rateIndex(match + 1, OutcomeOfColumn(column)));
            m_edits[entry] = controlAs<QLineEdit>(rateEditId(static_cast<int>(entry)));
            m_edits[entry]->setAccessibleName(gridCellName(
                kRateGridName, match, qtString(kRateColumnNames[static_cast<std::size_t>(column)])));
        }
    }
    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    setRates(m_rates);
}

void CSupportRateDlg::setRates(const SupportRateTable& rates) {
    m_rates = rates;
    for (std::size_t entry = 0; entry < m_edits.size(); ++entry) {
        m_edits[entry]->setText(qtString(formatRate(m_rates.entries[entry])));
    }
}

void CSupportRateDlg::accept() {
    OnInputButton();
}

void CSupportRateDlg::OnInputButton() {
    for (std::size_t entry = 0; entry < m_edits.size(); ++entry) {
        const QByteArray text = m_edits[entry]->text().toUtf8();
        m_rates.entries[entry] =
            parseRate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
    TemplateDialog::accept();
}

} // namespace pomelak
