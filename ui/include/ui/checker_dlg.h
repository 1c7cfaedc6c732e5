// The main window: purchase grid, result grid (which takes 13 pasted outcomes), result list with its count
// fields, START and exit, and a toolbar for the mode switch, the four-group generator and the support rates.
// It owns the state of a run: the support-rate table and the operating mode. Each command reads the controls,
// calls the core and writes the controls; the window closes only through "終了", Escape or the close box.
#pragma once

#include "core/grading.h"
#include "core/support_rate.h"
#include "ui/template_dialog.h"
#include "ui/window_shell.h"

#include <QIcon>

#include <span>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTableWidget;

namespace pomelak {

class CommandToolBar;

// A column of the result list: its header and the width it starts at.
struct ListColumn {
    std::string_view header;
    int width;
};

class CCheckerDlg : public TemplateDialog {
    Q_OBJECT

public:
    explicit CCheckerDlg(QWidget* parent = nullptr);

    // Every system command arrives here, from the native system menu or from its stand-in. Commands 16
    // to 31 open the About box; returns false for a command left to the platform's default handling.
    bool OnSysCommand(unsigned commandId);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void OnInitDialog();
    void OnStart();
    void OnSingleOnly();
    void OnModeChange();
    void OnFourGroupInput();
    void OnSupportRateInput();
    void EstimatePayout();
    void ExpandFourGroups();
    void ApplyMultiCheckLayout();
    void ApplyPayoutEstimateLayout();

    void applyLayout(std::span<const ListColumn> columns, bool purchaseGridEnabled);
    void setModeCaptions(std::string_view resultFrame, std::string_view listCaption,
                         std::string_view modeLabel);
    void setUpResultList();
    [[nodiscard]] MultiSelection readPurchaseGrid() const;
    [[nodiscard]] MatchResults readResultGrid() const;
    // Sets the result grid from 13 pasted outcomes, or says what it expected.
    void pasteResults(std::string_view text);
    void appendListRow(const QStringList& cells);
    void fitListColumns();
    void copySelectedRows() const;

    SupportRateTable m_supportRates;
    bool m_multiCheckMode = true;
    CommandToolBar* m_toolBar = nullptr;
    QIcon m_hIcon;
    SystemMenu m_systemMenu;

    ControlGrid<QCheckBox> m_purchaseBoxes;
    ControlGrid<QRadioButton> m_resultRadios;
    std::array<QLineEdit*, 4> m_countFields{};
    QCheckBox* m_singleOnly;
    QTableWidget* m_list;
    QGroupBox* m_resultFrame;
    QLabel* m_listCaption;
    QLabel* m_modeLabel;
    QMenu* m_listMenu;
    // The column set the list shows now, with the widths each column starts at.
    std::span<const ListColumn> m_listColumns;
};

} // namespace pomelak
