#include "ui/support_rate_dlg.h"

#include "core/pasted_text.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"
#include "ui/window_shell.h"

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
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            routePaste(m_edits[match][column], [this, match, column](std::string_view text) {
                return pasteRates(text, match, column);
            });
        }
    }
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

bool CSupportRateDlg::pasteRates(std::string_view text, int match, int column) {
    const RatePaste paste = readPastedRates(text, match, column);
    for (const PastedRate& rate : paste.rates) {
        m_edits[rate.match][rate.column]->setText(qtString(rate.text));
    }
    if (paste.refusal != PasteRefusal::None) {
        constexpr int kShownCharacters = 20;
        QString field = qtString(paste.fieldText);
        if (field.size() > kShownCharacters) {
            field = field.left(kShownCharacters) + QChar(0x2026);
        }
        // Replaced by hand: a message names only the places it needs, and the field's own text may hold "%".
        showMessage(qtString(kRatePasteRefusals[static_cast<std::size_t>(paste.refusal) - 1])
                            .replace("%1", QString::number(paste.line))
                            .replace("%2", QString::number(paste.field))
                            .replace("%3", field) +
                        '\n' + qtString(kRatePasteUnchanged),
                    qtString(kPasteErrorCaption), QMessageBox::Critical);
    }
    return paste.block;
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
