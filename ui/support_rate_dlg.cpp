#include "ui/support_rate_dlg.h"

#include "res/resource_ids.h"
#include "ui/app_resources.h"

#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace pomelak {

namespace {

constexpr std::array<const char*, kColumnCount> kColumnNames{"ホーム", "引き分け", "アウェイ"};

} // namespace

CSupportRateDlg::CSupportRateDlg(QWidget* parent) : TemplateDialog(kIddSupportRate, parent) {
    for (int match = 1; match <= kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            const int entry = rateIndex(match, OutcomeOfColumn(column));
            control(rateEditId(entry))
                ->setAccessibleName(QStringLiteral("支持率 試合%1 ").arg(match) +
                                    QString::fromUtf8(kColumnNames[static_cast<std::size_t>(column)]));
        }
    }
    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, &QDialog::accept);
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    setRates(m_rates);
}

void CSupportRateDlg::setRates(const SupportRateTable& rates) {
    m_rates = rates;
    for (int entry = 0; entry < kRateCount; ++entry) {
        controlAs<QLineEdit>(rateEditId(entry))
            ->setText(qtString(formatRate(m_rates.entries[static_cast<std::size_t>(entry)])));
    }
}

void CSupportRateDlg::accept() {
    OnInputButton();
}

void CSupportRateDlg::OnInputButton() {
    for (int entry = 0; entry < kRateCount; ++entry) {
        const QByteArray text = controlAs<QLineEdit>(rateEditId(entry))->text().toUtf8();
        m_rates.entries[static_cast<std::size_t>(entry)] =
            parseRate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
    TemplateDialog::accept();
}

} // namespace pomelak
