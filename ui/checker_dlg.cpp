#include "ui/checker_dlg.h"

#include "core/four_group.h"
#include "core/pasted_text.h"
#include "core/payout.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/about_dlg.h"
#include "ui/app_resources.h"
#include "ui/command_toolbar.h"
#include "ui/four_group_dlg.h"
#include "ui/support_rate_dlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>
#include <array>

namespace pomelak {

namespace {

constexpr QColor kListBackground(255, 237, 229);
constexpr QColor kListText(0, 0, 255);
constexpr std::array<int, 4> kCountFieldIds{kIdcFirstCount, kIdcSecondCount, kIdcThirdCount, kIdcUnits};

// The list's columns in a mode: the thirteen matches, 24 pixels wide, with the mode's own column, 70
// pixels wide, before or after them.
constexpr std::array<ListColumn, kMatchCount + 1> listColumns(std::string_view own, bool ownFirst) {
    constexpr int kMatchColumnWidth = 24;
    constexpr int kOwnColumnWidth = 70;
    constexpr std::array<std::string_view, kMatchCount> kMatchHeaders{"1", "2", "3",  "4",  "5",  "6", "7",
                                                                      "8", "9", "10", "11", "12", "13"};
    std::array<ListColumn, kMatchCount + 1> columns{};
    for (std::size_t match = 0; match < kMatchHeaders.size(); ++match) {
        columns[ownFirst ? match + 1 : match] = {kMatchHeaders[match], kMatchColumnWidth};
    }
    columns[ownFirst ? 0 : kMatchHeaders.size()] = {own, kOwnColumnWidth};
    return columns;
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
      m_systemMenu(this, [this](unsigned command) { OnSysCommand(command); }),
      m_purchaseBoxes(bindGrid<QCheckBox>(purchaseBoxId, kPurchaseGridName)),
      m_resultRadios(bindGrid<QRadioButton>(resultRadioId, kResultGridName)),
      m_singleOnly(controlAs<QCheckBox>(kIdcSingleOnly)), m_list(controlAs<QTableWidget>(kIdcResultList)),
      m_resultFrame(controlAs<QGroupBox>(kIdcResultFrame)), m_listCaption(controlAs<QLabel>(kIdcListCaption)),
      m_modeLabel(controlAs<QLabel>(kIdcModeLabel)), m_listMenu(new QMenu(this)) {
    std::ranges::transform(kCountFieldIds, m_countFields.begin(),
                           [this](int id) { return controlAs<QLineEdit>(id); });
    OnInitDialog();
}

void CCheckerDlg::OnInitDialog() {
    const std::string_view aboutText = loadString(kIdsAboutBox);
    if (!aboutText.empty()) {
        m_systemMenu.appendSeparator();
        m_systemMenu.appendItem(kIdmAboutBox, qtString(aboutText));
    }
    setWindowIcon(m_hIcon);

    // The toolbar spans the strip above the group boxes; the mode label sits on its right end.
    m_toolBar->setGeometry(0, 0, width(), m_toolBar->fixedHeight());
    m_toolBar->lower();
    QToolButton* modeButton = m_toolBar->button(kIdModeChange);
    modeButton->setChecked(false);
    // Reacting to the state, not the click, lets keyboard and screen-reader toggles switch the mode too;
    // the button's state is the mode, pressed in payout mode, and nothing else switches it.
    connect(modeButton, &QToolButton::toggled, this, [this](bool pressed) {
        if (pressed == m_multiCheckMode) {
            OnModeChange();
        }
    });
    connect(m_toolBar->button(kIdFourGroupInput), &QToolButton::clicked, this,
            [this] { OnFourGroupInput(); });
    connect(m_toolBar->button(kIdSupportRateInput), &QToolButton::clicked, this,
            [this] { OnSupportRateInput(); });

    for (const auto& match : m_resultRadios) {
        match[0]->setChecked(true);
        for (QRadioButton* radio : match) {
            routePaste(radio, [this](std::string_view text) {
                pasteResults(text);
                return true;
            });
        }
    }
    for (std::size_t i = 0; i < m_countFields.size(); ++i) {
        m_countFields[i]->setAccessibleName(qtString(kCountFieldLabels[i]));
    }
    setUpResultList();
    ApplyMultiCheckLayout();

    connect(controlAs<QPushButton>(kIdOk), &QPushButton::clicked, this, [this] { OnStart(); });
    connect(controlAs<QPushButton>(kIdCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_singleOnly, &QCheckBox::toggled, this, [this] { OnSingleOnly(); });
    // There is no help file; the About box names the version and leads to the maker's page.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { OnSysCommand(kIdmAboutBox); });
}

void CCheckerDlg::setUpResultList() {
    QPalette listPalette = m_list->palette();
    listPalette.setColor(QPalette::Base, kListBackground);
    listPalette.setColor(QPalette::Text, kListText);
    m_list->setPalette(listPalette);
    m_list->setShowGrid(true);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->setAccessibleName(m_listCaption->text());

    // Players paste the rows into spreadsheets and purchase forms: the keys work while the list has the
    // focus, the menu on a right click or the menu key.
    const auto addListCommand = [this](std::string_view text, QKeySequence::StandardKey key, auto command) {
        QAction* action = addMenuCommand(m_listMenu, qtString(text), command);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_list->addAction(action);
    };
    addListCommand(kCopyRowsItem, QKeySequence::Copy, [this] { copySelectedRows(); });
    addListCommand(kSelectAllRowsItem, QKeySequence::SelectAll, [this] { m_list->selectAll(); });
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_listMenu->popup(m_list->viewport()->mapToGlobal(pos)); });
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
    m_systemMenu.popup(event->globalPos());
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

void CCheckerDlg::OnStart() {
    if (!m_multiCheckMode) {
        EstimatePayout();
        return;
    }
    m_list->setRowCount(0);
    const MultiCheckResult check =
        CheckMulti(readPurchaseGrid(), readResultGrid(), m_singleOnly->isChecked());
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
        appendListRow(outcomeCells(report.singles[i])
                      << (report.graded ? qtString(GradeText(report.grades[i])) : QString()));
    }
    fitListColumns();
    if (!report.graded) {
        return;
    }
    const std::array<int, 4> counts{report.firstCount, report.secondCount, report.thirdCount, report.units};
    for (std::size_t i = 0; i < counts.size(); ++i) {
        m_countFields[i]->setText(QString::number(counts[i]));
    }
}

void CCheckerDlg::OnSingleOnly() {
    const bool enabled = !m_singleOnly->isChecked();
    for (const auto& match : m_resultRadios) {
        for (QRadioButton* radio : match) {
            radio->setEnabled(enabled);
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
}

void CCheckerDlg::setModeCaptions(std::string_view resultFrame, std::string_view listCaption,
                                  std::string_view modeLabel) {
    m_resultFrame->setTitle(qtString(resultFrame));
    m_listCaption->setText(qtString(listCaption));
    m_modeLabel->setText(qtString(modeLabel));
    m_list->setAccessibleName(qtString(listCaption));
}

void CCheckerDlg::ApplyMultiCheckLayout() {
    static constexpr auto kColumns = listColumns("等", false);
    applyLayout(kColumns, true);
}

void CCheckerDlg::ApplyPayoutEstimateLayout() {
    static constexpr auto kColumns = listColumns("配当", true);
    applyLayout(kColumns, false);
}

void CCheckerDlg::applyLayout(std::span<const ListColumn> columns, bool purchaseGridEnabled) {
    m_listColumns = columns;
    m_list->setRowCount(0);
    m_list->setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const ListColumn& column : columns) {
        headers.append(qtString(column.header));
    }
    m_list->setHorizontalHeaderLabels(headers);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        m_list->setColumnWidth(static_cast<int>(i), columns[i].width);
    }
    for (const auto& match : m_purchaseBoxes) {
        for (QCheckBox* box : match) {
            box->setEnabled(purchaseGridEnabled);
        }
    }
}

MultiSelection CCheckerDlg::readPurchaseGrid() const {
    MultiSelection selection;
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            selection.setMarked(match, column, m_purchaseBoxes[match][column]->isChecked());
        }
    }
    return selection;
}

MatchResults CCheckerDlg::readResultGrid() const {
    MatchResults results{};
    for (int match = 0; match < kMatchCount; ++match) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (m_resultRadios[match][column]->isChecked()) {
                results[static_cast<std::size_t>(match)] = OutcomeOfColumn(column);
            }
        }
    }
    return results;
}

void CCheckerDlg::pasteResults(std::string_view text) {
    const auto results = readPastedResults(text);
    if (!results) {
        showMessage(qtString(kResultPasteExpected), qtString(kPasteErrorCaption), QMessageBox::Critical);
        return;
    }
    for (int match = 0; match < kMatchCount; ++match) {
        m_resultRadios[match][ColumnOfOutcome((*results)[static_cast<std::size_t>(match)])]->setChecked(true);
    }
}

void CCheckerDlg::EstimatePayout() {
    const MatchResults prediction = readResultGrid();
    const double estimate = EstimateFirstPrizePayout(prediction, m_supportRates);
    appendListRow(QStringList(qtString(formatYen(estimate)) + qtString(kYenSuffix))
                  << outcomeCells(prediction));
    fitListColumns();
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
    m_list->setRowCount(0);
    for (const SingleTicket& single : ExpandFourGroupSelection(dialog.selection())) {
        appendListRow(outcomeCells(single) << QString());
    }
    fitListColumns();
    showMessage(QString::number(m_list->rowCount()) + qtString(kExpandedSuffix), QString(),
                QMessageBox::NoIcon);
}

void CCheckerDlg::OnSupportRateInput() {
    CSupportRateDlg dialog(this);
    dialog.setRates(m_supportRates);
    if (dialog.exec() == QDialog::Accepted) {
        m_supportRates = dialog.rates();
    }
}

void CCheckerDlg::appendListRow(const QStringList& cells) {
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        m_list->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}

void CCheckerDlg::fitListColumns() {
    const QHeaderView* header = m_list->horizontalHeader();
    // The table view hides the item view's public measure of a column's cells.
    const QAbstractItemView* view = m_list;
    const auto textWidth = [view, header](int column) {
        return std::max(view->sizeHintForColumn(column), header->sectionSizeHint(column));
    };
    // A column widens to its widest text, never below the width it started at; a width the player dragged
    // wider stays.
    for (int column = 0; column < m_list->columnCount(); ++column) {
        const int wanted = std::max(m_listColumns[static_cast<std::size_t>(column)].width, textWidth(column));
        if (m_list->columnWidth(column) < wanted) {
            m_list->setColumnWidth(column, wanted);
        }
    }
    // Columns give up their room beyond their texts, the last first, rather than push one behind a
    // horizontal scroll bar: the grade column makes way for a vertical scroll bar, the outcome columns for
    // a wide estimate.
    const QSize viewport = m_list->maximumViewportSize();
    const bool scrolls = m_list->verticalHeader()->length() > viewport.height();
    int overflow = header->length() -
                   (viewport.width() - (scrolls ? m_list->verticalScrollBar()->sizeHint().width() : 0));
    for (int column = m_list->columnCount() - 1; column >= 0 && overflow > 0; --column) {
        const int given = std::min(overflow, std::max(0, m_list->columnWidth(column) - textWidth(column)));
        m_list->setColumnWidth(column, m_list->columnWidth(column) - given);
        overflow -= given;
    }
}

void CCheckerDlg::copySelectedRows() const {
    QList<QModelIndex> rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return;
    }
    std::ranges::sort(rows, {}, &QModelIndex::row);
    QString text;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int column = 0; column < m_list->columnCount(); ++column) {
            cells.append(m_list->model()->index(row.row(), column).data().toString());
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    QGuiApplication::clipboard()->setText(text);
}

} // namespace pomelak
