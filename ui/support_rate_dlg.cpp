#include "ui/support_rate_dlg.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QLineEdit>
#include <QPushButton>

namespace pomelak {

namespace {

// The table entry of a match index (0 to 12) and outcome column, which is also its edit's place.
int entryOf(int match, int column) {
    return rateIndex(match + 1, OutcomeOfColumn(column));
}

} // namespace

CSupportRateDlg::CSupportRateDlg(QWidget* parent)
    : TemplateDialog(kIddSupportRate, parent),
      m_edits(bindGrid<QLineEdit>([](int match, int column) { return rateEditId(entryOf(match, column)); },
                                  kRateGridName, kRateColumnNames)) {
    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    setRates(m_rates);
}

void CSupportRateDlg::setRates(const SupportRateTable& rates) {
    m_rates = rates;
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            m_edits[match][column]->setText(
                qtString(formatRate(RateOf(rates, match + 1, OutcomeOfColumn(column)))));
        }
    }
}

void CSupportRateDlg::accept() {
    OnInputButton();
}

void CSupportRateDlg::OnInputButton() {
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            const QByteArray text = m_edits[match][column]->text().toUtf8();
            m_rates.entries[static_cast<std::size_t>(entryOf(match, column))] =
                parseRate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        }
    }
    TemplateDialog::accept();
}

} // namespace pomelak
