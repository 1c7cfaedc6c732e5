#include "ui/checker_dlg.h"

#include "core/four_group.h"
#include "core/payout.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/about_dlg.h"
#include "ui/app_resources.h"
#include "ui/command_toolbar.h"
#include "ui/four_group_dlg.h"
#include "ui/support_rate_dlg.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>

#include <array>

namespace pomelak {

namespace {

constexpr int kListColumnCount = 14;
constexpr QColor kListBackground(255, 237, 229);
constexpr QColor kListText(0, 0, 255);

// The count fields with the labels that name them.
constexpr std::array<std::pair<int, std::string_view>, 4> kCountFields{{
    {kIdcFirstCount, "1等当選個数"},
    {kIdcSecondCount, "2等当選個数"},
    {kIdcThirdCount, "3等当選個数"},
    {kIdcUnits, "購入口数"},
}};

QString matchName(int match) {
    return QStringLiteral("試合%1").arg(match + 1);
}

QString outcomeName(int column) {
    return qtString(outcomeText(OutcomeOfColumn(column)));
}

QStringList outcomeCells(const SingleTicket& single) {
    QStringList cells;
    cells.reserve(kMatchCount);
    for (const Outcome outcome : single) {
        cells.append(qtString(outcomeText(outcome)));
    }
    return cells;
}

} // namespace

CCheckerDlg::CCheckerDlg(QWidget* parent)
    : TemplateDialog(kIddChecker, parent), m_toolBar(new CommandToolBar(this)), m_hIcon(applicationIcon()),
      m_systemMenu(this) {
    OnInitDialog();
}

void CCheckerDlg::OnInitDialog() {
    if (m_systemMenu.exists()) {
        const std::string_view aboutText = loadString(kIdsAboutBox);
        if (!aboutText.empty()) {
            m_systemMenu.appendSeparator();
            m_systemMenu.appendItem(kIdmAboutBox, qtString(aboutText));
        }
    }
    setWindowIcon(m_hIcon);

    // The toolbar spans the strip above the group boxes; the mode label sits on its right end.
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setGeometry(0, 0, width(), m_toolBar->fixedHeight());
    m_toolBar->lower();
    QToolButton* modeButton = m_toolBar->button(kIdModeChange);
    modeButton->setChecked(false);
    // Reacting to the state, not the click, lets keyboard and screen-reader toggles switch the mode too.
    connect(modeButton, &QToolButton::toggled, this, [this](bool pressed) {
        if (pressed == m_multiCheckMode) {
            OnModeChange();
        }
    });
    connect(m_toolBar->button(kIdFourGroupInput), &QToolButton::clicked, this, [this] { OnFourGroupInput(); });
    connect(m_toolBar->button(kIdSupportRateInput), &QToolButton::clicked, this,
            [this] { OnSupportRateInput(); });

    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            const QString name = matchName(match) + QLatin1Char(' ') + outcomeName(column);
            control(purchaseBoxId(match, column))->setAccessibleName(QStringLiteral("購入 ") + name);
            control(resultRadioId(match, column))->setAccessibleName(QStringLiteral("結果 ") + name);
        }
        controlAs<QRadioButton>(resultRadioId(match, 0))->setChecked(true);
    }
    for (const auto& [id, label] : kCountFields) {
        control(id)->setAccessibleName(qtString(label));
    }

    QTableWidget* list = resultList();
    QPalette listPalette = list->palette();
    listPalette.setColor(QPalette::Base, kListBackground);
    listPalette.setColor(QPalette::Text, kListText);
    list->setPalette(listPalette);
    list->setShowGrid(true);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->setAccessibleName(controlAs<QLabel>(kIdcListCaption)->text());
    ApplyMultiCheckLayout();

    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, [this] { OnStart(); });
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(controlAs<QCheckBox>(kIdcSingleOnly), &QCheckBox::toggled, this, [this] { OnSingleOnly(); });
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { OnHelp(); });

    m_supportRates = SupportRateTable{};
}

bool CCheckerDlg::OnSysCommand(unsigned commandId) {
    constexpr unsigned kCommandMask = 0xFFF0;
    if ((commandId & kCommandMask) == kIdmAboutBox) {
        CAboutDlg about(this);
        about.exec();
        return true;
    }
    return false;
}

void CCheckerDlg::contextMenuEvent(QContextMenuEvent* event) {
#ifdef Q_OS_WIN
    QDialog::contextMenuEvent(event);
#else
    // Without a native system menu its items are offered on the window's background.
    if (const auto command = m_systemMenu.popup(event->globalPos())) {
        OnSysCommand(*command);
    }
#endif
}

void CCheckerDlg::paintEvent(QPaintEvent* event) {
    if (!isMinimized()) {
        TemplateDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QSize iconSize(32, 32);
    painter.drawPixmap(minimizedIconOrigin(size(), iconSize), m_hIcon.pixmap(iconSize));
}

bool CCheckerDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    if (const auto command = SystemMenu::systemCommandOf(message)) {
        if (OnSysCommand(*command)) {
            *result = 0;
            return true;
        }
    }
    return TemplateDialog::nativeEvent(eventType, message, result);
}

void CCheckerDlg::OnHelp() {
    // There is no help file; the About box names the version and leads to the maker's page.
    OnSysCommand(kIdmAboutBox);
}

void CCheckerDlg::OnStart() {
    if (!m_multiCheckMode) {
        EstimatePayout();
        return;
    }
    QTableWidget* list = resultList();
    list->setRowCount(0);
    const bool singlesOnly = controlAs<QCheckBox>(kIdcSingleOnly)->isChecked();
    const MultiCheckResult check = CheckMulti(readPurchaseGrid(), readResultGrid(), singlesOnly);
    switch (check.error) {
    case MultiSelectionError::NoMarkInMatch:
        showMessage(qtString(kNoMarkMessage), qtString(kNoMarkCaption), QMessageBox::Critical);
        return;
    case MultiSelectionError::TooManyUnits:
        showMessage(qtString(kTooManyUnitsMessage), qtString(kTooManyUnitsCaption), QMessageBox::Critical);
        return;
    case MultiSelectionError::None:
        break;
    }
    const MultiCheckReport& report = check.report;
    for (std::size_t i = 0; i < report.singles.size(); ++i) {
        QStringList cells = outcomeCells(report.singles[i]);
        cells.append(report.graded ? qtString(GradeText(report.grades[i])) : QString());
        appendListRow(cells);
    }
    if (!report.graded) {
        return;
    }
    const std::array<int, 4> counts{report.firstCount, report.secondCount, report.thirdCount, report.units};
    for (std::size_t i = 0; i < counts.size(); ++i) {
        controlAs<QLineEdit>(kCountFields[i].first)->setText(QString::number(counts[i]));
    }
}

void CCheckerDlg::OnSingleOnly() {
    const bool enabled = !controlAs<QCheckBox>(kIdcSingleOnly)->isChecked();
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            control(resultRadioId(match, column))->setEnabled(enabled);
        }
    }
}

void CCheckerDlg::OnModeChange() {
    m_multiCheckMode = !m_multiCheckMode;
    if (m_multiCheckMode) {
        setModeCaptions(kResultFrameMultiCheck, kListCaptionMultiCheck, kModeLabelMultiCheck);
        ApplyMultiCheckLayout();
    } else {
        setModeCaptions(kResultFramePayout, kListCaptionPayout, kModeLabelPayout);
        ApplyPayoutEstimateLayout();
    }
    // The button shows the mode whichever way the switch came about.
    QToolButton* modeButton = m_toolBar->button(kIdModeChange);
    const QSignalBlocker blocker(modeButton);
    modeButton->setChecked(!m_multiCheckMode);
}

void CCheckerDlg::setModeCaptions(std::string_view resultFrame, std::string_view listCaption,
                                  std::string_view modeLabel) {
    controlAs<QGroupBox>(kIdcResultFrame)->setTitle(qtString(resultFrame));
    controlAs<QLabel>(kIdcListCaption)->setText(qtString(listCaption));
    controlAs<QLabel>(kIdcModeLabel)->setText(qtString(modeLabel));
    resultList()->setAccessibleName(qtString(listCaption));
}

void CCheckerDlg::ApplyMultiCheckLayout() {
    static constexpr std::array<ListColumn, kListColumnCount> kColumns{{
        {"1", 24}, {"2", 24}, {"3", 24}, {"4", 24}, {"5", 24}, {"6", 24}, {"7", 24},
        {"8", 24}, {"9", 24}, {"10", 24}, {"11", 24}, {"12", 24}, {"13", 24}, {"等", 70},
    }};
    applyLayout(kColumns, true);
}

void CCheckerDlg::ApplyPayoutEstimateLayout() {
    static constexpr std::array<ListColumn, kListColumnCount> kColumns{{
        {"配当", 70}, {"1", 24}, {"2", 24}, {"3", 24}, {"4", 24}, {"5", 24}, {"6", 24},
        {"7", 24}, {"8", 24}, {"9", 24}, {"10", 24}, {"11", 24}, {"12", 24}, {"13", 24},
    }};
    applyLayout(kColumns, false);
}

void CCheckerDlg::applyLayout(std::span<const ListColumn> columns, bool purchaseGridEnabled) {
    QTableWidget* list = resultList();
    list->setRowCount(0);
    list->setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const ListColumn& column : columns) {
        headers.append(qtString(column.header));
    }
    list->setHorizontalHeaderLabels(headers);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        list->setColumnWidth(static_cast<int>(i), columns[i].width);
    }
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            control(purchaseBoxId(match, column))->setEnabled(purchaseGridEnabled);
        }
    }
}

MultiSelection CCheckerDlg::readPurchaseGrid() const {
    MultiSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            selection.setMarked(match, column, controlAs<QCheckBox>(purchaseBoxId(match, column))->isChecked());
        }
    }
    return selection;
}

MatchResults CCheckerDlg::readResultGrid() const {
    MatchResults results{};
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (controlAs<QRadioButton>(resultRadioId(match, column))->isChecked()) {
                results[static_cast<std::size_t>(match)] = OutcomeOfColumn(column);
            }
        }
    }
    return results;
}

void CCheckerDlg::EstimatePayout() {
    const MatchResults prediction = readResultGrid();
    const double estimate = EstimateFirstPrizePayout(prediction, m_supportRates);
    QStringList cells = outcomeCells(prediction);
    cells.prepend(qtString(formatYen(estimate)) + qtString(kYenSuffix));
    appendListRow(cells);
}

void CCheckerDlg::OnFourGroupInput() {
    if (m_multiCheckMode) {
        ExpandFourGroups();
        return;
    }
    showMessage(qtString(kSwitchToMultiCheckMessage), QString(), QMessageBox::NoIcon);
}

void CCheckerDlg::ExpandFourGroups() {
    CFourGroupDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::vector<SingleTicket> singles = ExpandFourGroupSelection(dialog.selection());
    resultList()->setRowCount(0);
    for (const SingleTicket& single : singles) {
        appendListRow(outcomeCells(single) << QString());
    }
    showMessage(QString::number(resultList()->rowCount()) + qtString(kExpandedSuffix), QString(), QMessageBox::NoIcon);
}

void CCheckerDlg::OnSupportRateInput() {
    CSupportRateDlg dialog(this);
    dialog.setRates(m_supportRates);
    if (dialog.exec() == QDialog::Accepted) {
        m_supportRates = dialog.rates();
    }
}

void CCheckerDlg::appendListRow(const QStringList& cells) {
    QTableWidget* list = resultList();
    const int row = list->rowCount();
    list->insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        list->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}

void CCheckerDlg::showMessage(const QString& text, const QString& caption, QMessageBox::Icon icon) {
    // A box without a caption of its own shows the application's name.
    QMessageBox box(icon, caption.isEmpty() ? QCoreApplication::applicationName() : caption, text, QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QTableWidget* CCheckerDlg::resultList() const {
    return controlAs<QTableWidget>(kIdcResultList);
}

} // namespace pomelak
