// The main window and its dialogs as a player meets them, on the real widgets. Sessions play a player's
// steps and compare what the player saw; each binding is shown once, the core's rules have their own
// tables. Other tests cover what a script does not say well: the toolbar, whole columns, grids in order,
// tab order, texts clear of frames and neighbours, a comma locale. A soak plays seeded random steps.
#include "res/resource_ids.h"
#include "ui/about_dlg.h"
#include "ui/checker_app.h"
#include "ui/checker_dlg.h"
#include "ui/four_group_dlg.h"
#include "ui/support_rate_dlg.h"

#include <QtTest>
#include <QtWidgets>

#include <clocale>
#include <random>

using namespace pomelak;

namespace {

// A control's name as a screen reader gives it: its accessible name, a button's text, a window's title.
QString nameOf(const QWidget* widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return widget == nullptr                     ? "nothing"
           : !widget->accessibleName().isEmpty() ? widget->accessibleName()
           : button != nullptr                   ? button->text()
                                                 : widget->windowTitle();
}

template <class T = QWidget> T* named(const QWidget* window, const QString& name) {
    const QList<T*> all = window->findChildren<T*>();
    const auto found = std::ranges::find_if(all, [&name](T* widget) { return nameOf(widget) == name; });
    return found == all.end() ? nullptr : *found;
}

// Into the build tree's screenshots folder, which the build makes.
void saveScreenshot(QWidget* widget, const QString& name) {
    widget->grab().save(QString(POMELAK_SCREENSHOT_DIR "/%1.png").arg(name));
}

// A player at the main window. play() runs steps separated by "; " and returns what the player saw. A step
// acts on the window in front: a dialog a step opens takes the steps that follow until one closes it;
// message boxes are read and answered with their button. The steps:
//   set <grid> <marks>: the marks of matches 1 to 13 on the grid 購入, 結果, 基本, 小波乱 or 中波乱, as
//     outcome digits ("-" for none), blank-separated or one character each;
//   click|toggle <control>; key <keys> [on <control>]; keys <⇥⇤→←↓↑␣⏎: Tab, Backtab, the arrows, Space,
//   Return>; close; command <system command>; clip <text>; rates <entry or from-to>=<text>... (pasted over
//   the rate edits); select rows <rows>; menu [<item>] [on <control>] by click|keys|press|Esc; shot <name>;
//   look list|counts|clipboard|window|mode|grids|edits|focus|texts.
// "⇥" stands for a tab and "↵" for a line feed.
class Player : public QObject {
    Q_OBJECT

public:
    explicit Player(CCheckerDlg* window, bool screenshots = true)
        : m_window(window), m_list(window->findChild<QTableWidget*>()), m_screenshots(screenshots) {
        QDesktopServices::setUrlHandler("https", this, "openUrl");
        QGuiApplication::clipboard()->clear();
    }
    ~Player() override { QDesktopServices::unsetUrlHandler("https"); }

    QStringList play(QString script) {
        m_steps = script.replace("⇥", "\t").replace("↵", "\n").split("; ");
        m_next = 0;
        m_seen.clear();
        run(m_window);
        return m_seen;
    }

public Q_SLOTS:
    void openUrl(const QUrl& url) { m_seen.append("opened " + url.toString()); }

private:
    // Plays steps on a window until they run out, or until it closes when it is a dialog. Each modal window
    // that opens meanwhile is entered once: a dialog a step opened, or a box that follows it.
    void run(QWidget* window) {
        while (m_next < m_steps.size() && (window == m_window || window->isVisible())) {
            QTimer poll;
            bool inside = false;
            connect(&poll, &QTimer::timeout, this,
                    [this, &inside, before = QApplication::activeModalWidget()] {
                        QWidget* modal = QApplication::activeModalWidget();
                        if (!inside && modal != nullptr && modal != before && modal->isVisible()) {
                            inside = true;
                            enter(modal);
                            inside = false;
                        }
                    });
            poll.start(5);
            perform(window, m_steps[m_next++]);
        }
    }

    void enter(QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        shoot(modal,
              modal->windowTitle() + (box != nullptr ? " " + box->text().section('\n', 0, 0).left(12) : ""));
        if (box != nullptr) {
            m_seen.append("box " + box->windowTitle() +
                          QStringList{"", " information", " warning", " stop"}[box->icon()] + " [" +
                          box->buttons()[0]->text() + "]: " + box->text().replace('\n', "↵"));
            return QTest::mouseClick(box->buttons()[0], Qt::LeftButton);
        }
        static_cast<void>(QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }));
        m_seen.append("[" + modal->windowTitle() + "]");
        run(modal);
        if (modal->isVisible()) {
            m_seen.append(modal->windowTitle() + " left open");
            modal->close();
        }
    }

    void perform(QWidget* window, const QString& step) {
        const QString verb = step.section(' ', 0, 0), rest = step.section(' ', 1),
                      on = step.section(" on ", 1).section(" by ", 0, 0);
        QWidget* target = on.isEmpty() ? window : named(window, on);
        auto* button = named<QAbstractButton>(window, rest);
        if (target == nullptr || (button == nullptr && (verb == "click" || verb == "toggle"))) {
            m_seen.append("no control " + (on.isEmpty() ? rest : on));
        } else if (verb == "set") {
            set(window, rest.section(' ', 0, 0), rest.section(' ', 1));
        } else if (verb == "click") {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (verb == "toggle") {
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::toggleAction());
        } else if (verb == "key") {
            QApplication::setActiveWindow(target->window());
            target->setFocus();
            QTest::keySequence(target, QKeySequence(step.section(' ', 1, 1)));
        } else if (verb == "keys") {
            for (const QChar key : rest) {
                QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window,
                                QList{Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Right, Qt::Key_Left, Qt::Key_Down,
                                      Qt::Key_Up, Qt::Key_Space,
                                      Qt::Key_Return}[QString("\t⇤→←↓↑␣⏎").indexOf(key)]);
            }
        } else if (verb == "shot" || verb == "close" || verb == "clip") {
            verb == "shot"    ? shoot(window, rest)
            : verb == "close" ? static_cast<void>(window->close())
                              : QGuiApplication::clipboard()->setText(rest);
        } else if (verb == "command") {
            m_seen.append(m_window->OnSysCommand(rest.toUInt(nullptr, 0)) ? "handled" : "left to the system");
        } else if (verb == "rates") {
            for (const QString& input : rest.split(' ')) {
                const QStringList range = input.section('=', 0, 0).split('-');
                for (int entry = range[0].toInt(); entry <= range.last().toInt(); ++entry) {
                    perform(window, "clip " + input.section('=', 1));
                    perform(window, "key Ctrl+A on " + rateName(entry));
                    perform(window, "key Ctrl+V on " + rateName(entry));
                }
            }
        } else if (verb == "select") {
            for (const QString& row : rest.split(' ').mid(1)) {
                QTest::mouseClick(m_list->viewport(), Qt::LeftButton,
                                  row == rest.section(' ', 1, 1) ? Qt::NoModifier : Qt::ControlModifier,
                                  m_list->visualRect(m_list->model()->index(row.toInt(), 3)).center());
            }
        } else if (verb == "menu") {
            const QString item = rest.section(" by ", 0, 0).section(" on ", 0, 0);
            chooseFromMenu(on.isEmpty() && !item.startsWith("Pomelak") ? m_list->viewport() : target, item,
                           step.section(" by ", 1));
        } else {
            look(window, rest);
        }
    }

    // Clicks the grid's controls whose state differs from the marks; a radio is only ever clicked on.
    void set(QWidget* window, const QString& grid, const QString& marks) {
        const QStringList perMatch = marks.split(marks.contains(' ') ? " " : "", Qt::SkipEmptyParts);
        for (int cell = 0; cell < 39; ++cell) {
            const QChar outcome = QString("102")[cell % 3];
            auto* control = named<QAbstractButton>(
                window, QString("%1 試合%2 %3").arg(grid).arg(cell / 3 + 1).arg(outcome));
            if (control == nullptr) {
                return m_seen.append("no control " + grid);
            }
            if (control->isChecked() != perMatch.value(cell / 3).contains(outcome) &&
                (!control->isChecked() || qobject_cast<QCheckBox*>(control) != nullptr)) {
                QTest::mouseClick(control, Qt::LeftButton);
            }
        }
    }

    static QString rateName(int entry) {
        return QString("支持率 試合%1 %2")
            .arg(entry % 13 + 1)
            .arg(QStringList{"ホーム", "引き分け", "アウェイ"}[entry / 13]);
    }

    // Opens a control's context menu by a right click or the menu key, lists its items, and chooses one by a
    // click, the keys or a screen reader's press, or closes it with Escape.
    void chooseFromMenu(QWidget* target, const QString& item, const QString& how) {
        target->setFocus();
        QContextMenuEvent open(how == "keys" ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                               QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &open);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return m_seen.append("no menu open");
        }
        QStringList items;
        std::ranges::transform(menu->actions(), std::back_inserter(items),
                               [](const QAction* action) { return action->text().section('\t', 0, 0); });
        const QString shown = "menu " + items.join(" | ");
        shoot(menu, "menu of " + nameOf(target == m_list->viewport() ? m_list : target));
        QAction* action = menu->actions().value(int(items.indexOf(item)));
        while (how == "keys" && action != nullptr && menu->activeAction() != action) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        if (action != nullptr && how == "click") {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        } else if (action != nullptr && how == "press") {
            QAccessible::queryAccessibleInterface(menu)
                ->child(int(items.indexOf(item)))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        } else {
            QTest::keyClick(menu, action != nullptr && how == "keys" ? Qt::Key_Return : Qt::Key_Escape);
        }
        m_seen.append(shown + (QApplication::activePopupWidget() == nullptr ? ", closed" : ", still open"));
    }

    void look(QWidget* window, const QString& what) {
        QStringList shown;
        if (what == "list") {
            // Each row with its one-digit outcome cells run together and its other cells apart.
            for (int row = 0; row < m_list->rowCount(); ++row) {
                QString text;
                for (int column = 0; column < m_list->columnCount(); ++column) {
                    const QString cell = m_list->item(row, column)->text();
                    text += cell.size() == 1 ? cell : ' ' + cell + ' ';
                }
                shown.append(text.simplified());
            }
            m_seen.append(QString("list %1").arg(shown.size()) + (shown.isEmpty() ? "" : ": ") +
                          (shown.size() <= 4 ? shown : shown.first(2) << "..." << shown.last()).join(" / "));
        } else if (what == "counts") {
            // Each count field read under its label as a player reads it, and named by it for screen readers.
            for (const QLabel* label : m_window->findChildren<QLabel*>()) {
                for (const QLineEdit* field : m_window->findChildren<QLineEdit*>()) {
                    if (field->geometry().intersects(label->geometry().translated(0, label->height()))) {
                        const QString name = field->accessibleName();
                        shown << (field->text().isEmpty() ? "-" : field->text()) +
                                     (name == label->text() ? "" : " named " + name);
                    }
                }
            }
            m_seen.append("counts " + shown.join(' '));
        } else if (what == "clipboard") {
            // Emptied once read, so that a copy that copies nothing shows.
            m_seen.append("clipboard " +
                          QGuiApplication::clipboard()->text().replace('\t', "⇥").replace('\n', "↵"));
            QGuiApplication::clipboard()->clear();
        } else if (what == "window") {
            m_seen.append(QString("%1 %2, %3")
                              .arg(window->windowTitle(), window->isVisible() ? "open" : "closed")
                              .arg(qobject_cast<QDialog*>(window)->result()));
        } else if (what == "edits" || what == "focus") {
            // The rates that are not 0, by entry, a long text by its length; and the focus.
            for (int entry = 0; what == "edits" && entry < 39 && named(window, rateName(0)) != nullptr;
                 ++entry) {
                const QString text = named<QLineEdit>(window, rateName(entry))->text();
                shown << (text == "0"
                              ? ""
                              : QString("%1=%2").arg(entry).arg(
                                    text.size() > 20 ? QString("%1 characters").arg(text.size()) : text));
            }
            m_seen.append((what == "edits" ? "edits " + shown.join(' ').simplified() + ", " : "") + "focus " +
                          nameOf(QApplication::focusWidget()));
        } else if (what == "texts") {
            std::ranges::transform(window->findChildren<QLabel*>(), std::back_inserter(shown), &QLabel::text);
            m_seen.append(shown.join(' ').simplified());
        } else if (what == "mode") {
            // The mode's captions, the list's name, its columns as header:width, its rows, the mode button.
            for (const int id : {kIdcListCaption, kIdcModeLabel, kIdcResultFrame}) {
                shown << m_window->control(id)->property(id == kIdcResultFrame ? "title" : "text").toString();
            }
            shown.append(m_list->accessibleName());
            for (int column = 0; column < m_list->columnCount(); ++column) {
                shown << m_list->horizontalHeaderItem(column)->text() + ":" +
                             QString::number(m_list->columnWidth(column));
            }
            m_seen.append(shown.join(' ') + QString(", %1 rows, button ").arg(m_list->rowCount()) +
                          (named<QAbstractButton>(m_window, "モード変更")->isChecked() ? "down" : "up"));
        } else {
            // Ticks and results by match, then 1 per enabled purchase box and 2 per enabled result radio.
            QString ticks, marks, results, enabled;
            for (int cell = 0; cell < 39; ++cell) {
                const QString outcome = QString("102")[cell % 3],
                              at = QString(" 試合%1 ").arg(cell / 3 + 1) + outcome;
                const auto *box = named<QAbstractButton>(m_window, "購入" + at),
                           *radio = named<QAbstractButton>(m_window, "結果" + at);
                marks += box->isChecked() ? outcome : "";
                ticks += cell % 3 < 2 ? "" : (marks.isEmpty() ? "-" : std::exchange(marks, {})) + " ";
                results += radio->isChecked() ? outcome : "";
                enabled += QString::number(int(box->isEnabled()) + 2 * int(radio->isEnabled()));
            }
            m_seen.append("bought " + ticks.trimmed() + ", results " + results + ", enabled " + enabled);
        }
    }

    void shoot(QWidget* widget, const QString& name) const {
        if (m_screenshots) {
            saveScreenshot(widget, name);
        }
    }

    CCheckerDlg* m_window;
    QTableWidget* m_list;
    bool m_screenshots;
    QStringList m_steps;
    qsizetype m_next = 0;
    QStringList m_seen;
};

// A player's session: a title, the steps, and what the player saw.
using Session = std::tuple<const char*, QString, QStringList>;

// The sessions are a table: each line holds as much of a session as fits, as a reader scans it.
// clang-format off
QList<Session> playerSessions() {
    const QString multiCheck = "シングル分解結果 マルチチェックモード 結果入力 シングル分解結果 ",
        payout = "予想配当金計算結果 １等配当金予想モード 予想入力 予想配当金計算結果 配当:70 ",
        matches = "1:24 2:24 3:24 4:24 5:24 6:24 7:24 8:24 9:24 10:24 11:24 12:24 13:24",
        none = "bought - - - - - - - - - - - - -, results ", nothing = none + "1111111111111, enabled ",
        ones = "bought 1 1 1 1 1 1 1 1 1 1 1 1 1, results 1021021021021, enabled ",
        about = "[Pomelakのﾊﾞｰｼﾞｮﾝ情報]", aboutName = "Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)...",
        aboutItem = "menu  | " + aboutName + ", closed", rate = " on 支持率 試合7 引き分け",
        list = " on シングル分解結果", match13 = " on 支持率 試合13 ホーム",
        listMenu = "menu コピー(&C) | すべて選択(&A), closed",
        editMenu = "menu 元に戻す(&U) | やり直す(&R) |  | 切り取り(&T) | コピー(&C) | 貼り付け(&P) | "
                   "削除 |  | すべてを選択, closed",
        rowOne = "1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥１等↵", rowTwo = "1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥1⇥0⇥２等↵",
        refused = "box 貼り付けエラー stop [OK]: ", unchanged = "↵支持率は変更していません。",
        expanded = "list 81: 1111111111111 / 1111111110000 / ... / 2222222222222",
        estimates = "list 4: 0円 1111111111111 / 192512円 1021021021021 / 28686523437円 2222222222222 / "
                    "28686523437円 2222222222222",
        pasted = "edits 0=50 1=45.5 13=30 14=30 24=1 25=3 26=20 27=24.5 37=2 38=",
        rates = "[支持率入力]", fourGroup = "[4群マルチ入力]", expansion = "box tst_window [OK]: ";
    return {
        // The state after start, and what a switch of the mode changes and keeps.
        {"start, then payout mode by a click and back by a screen reader's toggle",
         "look mode; look grids; look counts; set 購入 1111111111111; click START; set 結果 1021021021021; "
         "click モード変更; look mode; look grids; toggle モード変更; look mode; look grids",
         {multiCheck + matches + " 等:70, 0 rows, button up", nothing + QString(39, '3'), "counts - - - -",
          payout + matches + ", 0 rows, button down", ones + QString(39, '2'),
          multiCheck + matches + " 等:70, 0 rows, button up", ones + QString(39, '3')}},
        // START in multi-check mode reads both grids, lists the singles in odometer order and writes the
        // counts; Return runs it unless another push button has the focus. Single only lists without grades,
        // disables the results and leaves the counts; a refused purchase empties the list and keeps the
        // counts.
        {"START: 96 units, by the Return key on a purchase box",
         "set 結果 1111111111111; set 購入 10 10 10 10 10 102 1 1 1 1 1 1 1; key Return on 購入 試合13 2; "
         "look list; look counts; look window",
         {"list 96: 1111111111111 １等 / 1111101111111 ２等 / ... / 0000021111111", "counts 1 7 20 96",
          "Rivuマルチチェッカー open, 0"}},
        {"START: single only after a graded run",
         "set 購入 1111111111111; click START; click シングル分解のみ; set 購入 1 1 1 1 1 1 1 1 1 1 1 1 10; "
         "click START; look list; look counts; look grids",
         {"list 2: 1111111111111 / 1111111111110", "counts 1 0 0 1",
          "bought 1 1 1 1 1 1 1 1 1 1 1 1 10, results 1111111111111, enabled " + QString(39, '1')}},
        {"START refused: match 13 unmarked, then 108 units",
         "set 購入 1111111111111; click START; set 購入 102 102 102 102 102 102 102 102 102 102 102 102 -; "
         "click START; look list; look counts; set 購入 10 02 102 102 102 1 1 1 1 1 1 1 1; click START",
         {"box 購入マルチ入力エラー stop [OK]: 購入マルチの項目は１～１３までどれか1個は必ず選んでください。",
          "list 0", "counts 1 0 0 1",
          "box 購入口数エラー stop [OK]: 最大購入口数は96口までです。↵ダブルのみならダブル6個まで↵"
          "トリプルのみならトリプル4個までにしてください。"}},
        {"option: シングル分解のみ by a screen reader's toggle, then back by the space key",
         "toggle シングル分解のみ; look grids; key Space on シングル分解のみ; look grids",
         {nothing + QString(39, '1'), nothing + QString(39, '3')}},
        // In payout mode START appends the estimate of the result radios, disabled or not, from the rates of
        // their outcomes (7 for the others): 23.5 * 2^13, and 23.5 * 5^13 = 28686523437.5, written in full.
        // The four-group command is refused there.
        {"payout: rows from the radios and the rates of each press",
         "set 購入 1111111111111; click START; click モード変更; click START; click 支持率入力; "
         "rates 0-38=7 0=50 3=50 6=50 9=50 12=50 14=50 17=50 20=50 23=50 28=50 31=50 34=50 37=50; "
         "click 入力; set 結果 1021021021021; click START; click 支持率入力; rates 0-25=7 26-38=20; "
         "click 入力; set 結果 2222222222222; click START; click シングル分解のみ; click START; look list; "
         "look counts; click ４群マルチ入力; look list",
         {rates, rates, estimates, "counts 1 0 0 1", expansion + "マルチチェックモードに切り替えてください",
          estimates}},
        // The rate dialog opens on the table with the focus on 入力; 入力, Return and keypad Enter store
        // what atof reads of each text, kept whole; ｷｬﾝｾﾙ, Escape and the close box keep the table.
        {"rates: each way to leave the dialog",
         "click 支持率入力; look edits; look texts; rates 19=50%; click 入力; click 支持率入力; look edits; "
         "rates 19=５０; key Return" + rate + "; click 支持率入力; look edits; rates 19=12.3456789; "
         "key Enter" + rate + "; click 支持率入力; look edits; rates 19=" + QString(99999, '0') +
         "5; look edits; click 入力; click 支持率入力; rates 19=99; click ｷｬﾝｾﾙ; click 支持率入力; "
         "rates 19=98; key Esc" + rate + "; click 支持率入力; rates 19=97; close; click 支持率入力; "
         "look edits; click ｷｬﾝｾﾙ",
         {rates, "edits , focus 入力",
          "支持率を入力してください。 ホーム 引き分け アウェイ [ 1 ] [ 2 ] [ 3 ] [ 4 ] [ 5 ] [ 6 ] [ 7 ] "
          "[ 8 ] [ 9 ] "
              "[ 10 ] [ 11 ] [ 12 ] [ 13 ]" +
              QString(" %").repeated(39),
          rates, "edits 19=50, focus 入力", rates, "edits , focus 入力", rates,
          "edits 19=12.3457, focus 入力", "edits 19=100000 characters, focus 支持率 試合7 引き分け", rates,
          rates, rates, rates, "edits 19=5, focus 入力"}},
        // The four-group dialog's choices replace the list by the singles of their complete columns; row i
        // takes blocks 1 to 4 from the columns i / 27, i / 9, i / 3 and i, modulo 3. ｷｬﾝｾﾙ keeps the list.
        {"four-group: the preset, block 1 complete and the others partial, every upset triple, ｷｬﾝｾﾙ",
         "set 購入 1111111111111; click START; click ４群マルチ入力; look texts; click 入力; look list; "
         "look counts; click ４群マルチ入力; set 小波乱 0000---------; set 中波乱 ---------222-; "
         "click 入力; look list; click ４群マルチ入力; set 小波乱 0000000000000; set 中波乱 2222222222222; "
         "click 入力; look list; click ４群マルチ入力; set 基本 0000000000000; click ｷｬﾝｾﾙ; look list",
         {fourGroup, "基本 小波乱 中波乱" + QString(" 1 2 3 4 5 6 7 8 9 10 11 12 13").repeated(3),
          expansion + "1個展開しました。", "list 1: 1111111111111", "counts 1 0 0 1", fourGroup,
          expansion + "2個展開しました。", "list 2: 1111111111111 / 0001111111111", fourGroup,
          expansion + "81個展開しました。", expanded, fourGroup, expanded}},
        // Enter presses 終了 when it has the focus.
        {"keys: Return on 終了 closes",
         "set 購入 1111111111111; key Return on 終了; look list; look window",
         {"list 0", "Rivuマルチチェッカー closed, 0"}},
        // System commands 16 to 31 open the About box; F1 too, as the program has no help of its own. Its
        // button opens the maker's page each time while the box stays open; OK closes it.
        {"About: by system commands, F1 and the window's menu",
         "command 16; look texts; click Zelvanuへ行く; click Zelvanuへ行く; look window; click OK; "
         "command 31; click OK; command 32; command 0xF060; key F1; click OK; menu " + aboutName +
         " by click; click OK; menu " + aboutName + " by keys; click OK; menu " + aboutName + " by press; "
         "click OK; look window",
         {about, "Pomelak Version 2.0 Copyright (C) Zelvanu", "opened https://www.zelvanu.example/pomelak/",
          "opened https://www.zelvanu.example/pomelak/", "Pomelakのﾊﾞｰｼﾞｮﾝ情報 open, 0", "handled", about,
          "handled", "left to the system", "left to the system", about, about, aboutItem, about, aboutItem,
          about, aboutItem, "Rivuマルチチェッカー open, 0"}},
        // The list's menu and keys copy its selected rows in the order shown, tab-separated, a line each;
        // Qt's own menus speak Japanese; Escape on the list closes the window.
        {"list: copy and select all by the menu, the keys and a screen reader's press",
         "set 購入 1 1 1 1 1 1 1 1 1 1 1 1 10; click START; select rows 1 0; menu コピー(&C) by click; "
         "look clipboard; select rows 1; menu コピー(&C) by press; look clipboard; "
         "menu すべて選択(&A) by press; key Ctrl+C" + list + "; look clipboard; select rows 0; key Ctrl+A" +
         list + "; key Ctrl+C" + list + "; look clipboard; menu on 購入口数 by Esc; key Esc" + list + "; "
         "look window",
         {listMenu, "clipboard " + rowOne + rowTwo, listMenu, "clipboard " + rowTwo, listMenu,
          "clipboard " + rowOne + rowTwo, "clipboard " + rowOne + rowTwo, editMenu,
          "Rivuマルチチェッカー closed, 0"}},
        // Tab reaches each match's results after the purchase boxes and lands on the checked radio; the
        // arrows move round a match's radios and check as they move; Space checks the radio Tab landed on,
        // as it does on each medium upset of block 1, which makes that column complete.
        {"keyboard: every result, and a four-group selection",
         "keys " + QString(41, u'⇥') + "␣⇥→⇥←⇥↓↑⇥↓⇥↑⇥⇥→⇥←⇥⇥↓⇥↑⇥⇥; look grids; look focus; keys ⇤⇤; "
         "look focus; click ４群マルチ入力; keys ⇥⇥⇥→⇥␣⇥⇥→⇥␣⇥⇥→⇥␣⇥⇥⇥⇥→" + QString(17, u'⇥') +
         "←⇥⇥⇥←⇥⇥⇥←⇥⇥⇥←⏎; look list",
         {none + "1021021021021, enabled " + QString(39, '3'), "focus シングル分解結果",
          "focus 結果 試合12 2", fourGroup, expansion + "6個展開しました。",
          "list 6: 1111011111111 / 1111011112222 / ... / 1111011112222"}},
        // A block of rates pasted by Ctrl+V or the edit's own 貼り付け fills the edits from the one pasted
        // into; one number pastes as any text; a refused block changes nothing and its message says where
        // and why; ｷｬﾝｾﾙ discards a paste, 入力 keeps it.
        {"paste: rates from a spreadsheet or a web page",
         "click 支持率入力; clip ５０％⇥30⇥20↵45.5 30 24.5↵↵; key Ctrl+V on 支持率 試合1 ホーム; "
         "clip 1 2↵3 4; menu 貼り付け(&P) on 支持率 試合12 引き分け by click; shot rates-pasted; "
         "look edits; clip 1 2 x; key Ctrl+V" + match13 + "; clip 1 2 3 4; key Ctrl+V" + match13 + "; "
         "clip 1↵2; key Ctrl+V" + match13 + "; clip 1⇥⇥2; key Ctrl+V" + match13 + "; clip 1↵↵2; key Ctrl+V" +
         match13 + "; clip 9; key Ctrl+V on 支持率 試合13 アウェイ; look edits; click 入力; "
         "click 支持率入力; clip 60 20 20; key Ctrl+V on 支持率 試合1 ホーム; click ｷｬﾝｾﾙ; "
         "click 支持率入力; look edits; click ｷｬﾝｾﾙ",
         {rates, editMenu, pasted + "4, focus 支持率 試合12 引き分け",
          refused + "1行目の3番目「x」は数値として読めません。" + unchanged,
          refused + "1行目の4番目はアウェイの列より右にはみ出します。" + unchanged,
          refused + "2行目の1番目は13試合目より下にはみ出します。" + unchanged,
          refused + "1行目の2番目が空です。" + unchanged, refused + "2行目が空です。" + unchanged,
          pasted + "49, focus 支持率 試合13 アウェイ", rates, rates, pasted + "49, focus 入力"}},
        // 13 outcomes pasted into the result grid set it; anything else changes no radio; the purchase grid,
        // the list and the counts stay.
        {"paste: results into the result grid",
         "set 購入 1111111111111; click START; clip １ ０ ２,1⇥0⇥2↵1 0 2 1 0 2 1; "
         "key Ctrl+V on 結果 試合1 1; look grids; clip 102102102102; key Ctrl+V on 結果 試合5 0; "
         "look grids; look list; look counts",
         {ones + QString(39, '3'),
          "box 貼り付けエラー stop [OK]: 13試合分の結果（1・0・2）を貼り付けてください。",
          ones + QString(39, '3'), "list 1: 1111111111111 １等", "counts 1 0 0 1"}},
    };
}
// clang-format on

// Adds a data row whose cells follow the columns; plain texts become QStrings, as with <<.
template <class... Cells> void row(const char* name, const Cells&... cells) {
    (QTest::newRow(name) << ... << cells);
}

// The pixels in which a widget differs from the window background, in window coordinates, run by run.
QRegion ink(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    QRegion ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0, from = -1; x <= image.width(); ++x) {
            const QRgb pixel = x < image.width() ? image.pixel(x, y) : 0;
            const bool inked = qAlpha(pixel) != 0 && pixel != widget->palette().window().color().rgb();
            if (inked != (from >= 0)) {
                ink += inked ? QRegion() : QRegion(from, y, x - from, 1);
                from = inked ? x : -1;
            }
        }
    }
    return ink.translated(widget->mapTo(widget->window(), QPoint()));
}

// A dialog of the given template over the main window, shown; the main window itself for its own.
QWidget* shownDialog(int id, CCheckerDlg* window, std::unique_ptr<QDialog>& holder) {
    if (id != kIddChecker) {
        holder.reset(id == kIddFourGroup     ? static_cast<QDialog*>(new CFourGroupDlg(window))
                     : id == kIddSupportRate ? static_cast<QDialog*>(new CSupportRateDlg(window))
                                             : new CAboutDlg(window));
    }
    QWidget* shown = holder ? holder.get() : static_cast<QWidget*>(window);
    shown->show();
    return QTest::qWaitForWindowExposed(shown) ? shown : nullptr;
}

// Whether every column of the list shows its header and cells whole, each text with its margins either side,
// is at least as wide as it started, and stands clear of a horizontal scroll bar.
bool allWhole(const QTableWidget* list, const QList<int>& startWidths) {
    const QStyle* style = list->style();
    for (int column = 0; column < list->columnCount(); ++column) {
        int wanted = list->fontMetrics().horizontalAdvance(list->horizontalHeaderItem(column)->text()) +
                     2 * style->pixelMetric(QStyle::PM_HeaderMargin);
        for (int row = 0; row < list->rowCount(); ++row) {
            wanted = std::max(wanted, list->fontMetrics().horizontalAdvance(list->item(row, column)->text()) +
                                          2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1));
        }
        if (list->columnWidth(column) < std::max(wanted, startWidths.value(column))) {
            return false;
        }
    }
    return !list->horizontalScrollBar()->isVisible() &&
           list->horizontalHeader()->length() <= list->viewport()->width();
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_window = std::make_unique<CCheckerDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void sessions_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("seen");
        for (const auto& [title, steps, seen] : playerSessions()) {
            row(title, steps, seen);
        }
    }
    void sessions() {
        QFETCH(QString, steps);
        QTEST(Player(m_window.get()).play(steps), "seen");
    }

    // The buttons from the left: their commands' names, and the bitmap's images with the face showing where
    // the bitmap has the face grey, centred on the 23 x 22 face. The mode button, pressed in payout mode,
    // looks pressed in; the mode's name beside them is centred.
    void toolbar() {
        QList<QToolButton*> buttons = m_window->findChildren<QToolButton*>();
        std::ranges::sort(buttons, {}, [this](QWidget* b) { return b->mapTo(m_window.get(), QPoint()).x(); });
        QCOMPARE(nameOf(buttons[0]) + nameOf(buttons[1]) + nameOf(buttons[2]),
                 "モード変更４群マルチ入力支持率入力");
        for (int pixel = 0; pixel < 3 * 16 * 15; ++pixel) {
            const QPoint at(pixel % 16, pixel / 16 % 15);
            const QRgb drawn = QImage(":/images/toolbar.xpm").pixel(at + QPoint(pixel / 240 * 16, 0));
            QCOMPARE(
                buttons[pixel / 240]->grab().toImage().pixel(at + QPoint(23 / 2 - 16 / 2, 22 / 2 - 15 / 2)),
                drawn == 0xFFC0C0C0 ? buttons[0]->palette().color(QPalette::Button).rgb() : drawn);
        }
        // The mode's name stands centred in its sunken frame.
        auto* mode = qobject_cast<QLabel*>(m_window->control(kIdcModeLabel));
        const QRect name = (ink(mode) & mode->contentsRect().translated(mode->pos())).boundingRect();
        QVERIFY2(std::abs(name.center().x() - mode->geometry().center().x()) <= 2,
                 "the mode's name is not centred");
        const QImage out = buttons[0]->grab().toImage();
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        const QImage in = buttons[0]->grab().toImage();
        saveScreenshot(buttons[0]->parentWidget(), "toolbar-payout-estimate");
        int changed = 0;
        for (int pixel = 0; pixel < in.width() * in.height(); ++pixel) {
            const QPoint at(pixel % in.width(), pixel / in.width());
            changed += std::abs(qGray(in.pixel(at)) - qGray(out.pixel(at))) > 24 ? 1 : 0;
        }
        QVERIFY2(changed * 4 > in.width() * in.height() * 3,
                 qPrintable(QString("%1 pixels differ").arg(changed)));
    }

    // Columns at least as wide as they start while their texts fit, whole estimates, and a grade column that
    // gives the vertical scroll bar its width without hiding.
    void listColumnsShowTheirTextsWhole() {
        auto* list = m_window->findChild<QTableWidget*>();
        const auto columnWidths = [list] {
            QList<int> widths(list->columnCount());
            std::ranges::generate(widths,
                                  [list, column = 0]() mutable { return list->columnWidth(column++); });
            return widths;
        };
        Player player(m_window.get());
        QList<int> start = columnWidths();
        player.play("set 購入 1111111111111; click START");
        QTRY_VERIFY(allWhole(list, start));
        player.play("set 購入 10 10 10 10 10 102 1 1 1 1 1 1 1; click START");
        QTRY_VERIFY(list->verticalScrollBar()->isVisible() && allWhole(list, {}) &&
                    !ink(list->verticalScrollBar()).isEmpty());
        saveScreenshot(m_window.get(), "main-graded-96");
        player.play("click モード変更");
        start = columnWidths();
        player.play("click START");
        QTRY_VERIFY(allWhole(list, start));
        player.play("click 支持率入力; rates 0-12=20; click 入力; " + QString("click START; ").repeated(29));
        QTRY_VERIFY(list->verticalScrollBar()->isVisible() && allWhole(list, {}));
        saveScreenshot(m_window.get(), "main-payout-rows");
    }

    // Each window and dialog as a keyboard, an eye and a mouse meet it: its size, font and icon. Tab visits
    // the stops in order and comes round again: in the main window a stop per match's results after the
    // purchase boxes, in the four-group dialog a stop per triple as they read, each on its checked radio or
    // its first. The rectangle each static text and group-box title is drawn in crosses no frame line, and a
    // static text keeps 3 pixels clear of what every other control draws. Each grid cell stands right of the
    // cell before it in its match and below its column's cell of the match before; a click at its centre
    // reaches it, gives it the focus and clears the other radios of its match.
    void dialogs_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("stops");
        // Each name in turn; "{m}" runs over the matches, and within each "{c}" over the grid's columns.
        const auto stops = [](const QStringList& names, const QStringList& columns = {""}) {
            QStringList stops;
            for (const QString& name : names) {
                for (int cell = 0; cell < (name.contains("{m}") ? kMatchCount * int(columns.size()) : 1);
                     ++cell) {
                    stops << QString(name)
                                 .replace("{m}", QString::number(cell / columns.size() + 1))
                                 .replace("{c}", columns.value(cell % columns.size()));
                }
            }
            return stops;
        };
        row("main window", kIddChecker, QSize(620, 463),
            stops({"START", "終了", "購入 試合{m} {c}"}, {"1", "0", "2"}) + stops({"結果 試合{m} 1"}) +
                stops({"シングル分解結果", "1等当選個数", "2等当選個数", "3等当選個数", "購入口数",
                       "シングル分解のみ"}));
        row("four-group dialog", kIddFourGroup, QSize(394, 440),
            stops({"入力", "ｷｬﾝｾﾙ", "{c} 試合{m} 1"}, {"基本", "小波乱", "中波乱"}));
        row("support-rate dialog", kIddSupportRate, QSize(457, 453),
            stops({"入力", "ｷｬﾝｾﾙ", "支持率 試合{m} ホーム", "支持率 試合{m} 引き分け",
                   "支持率 試合{m} アウェイ"}));
        row("About box", kIddAbout, QSize(411, 89), QStringList{"OK", "Zelvanuへ行く"});
    }
    void dialogs() {
        QFETCH(int, dialog);
        QFETCH(QStringList, stops);
        std::unique_ptr<QDialog> holder;
        QWidget* window = shownDialog(dialog, m_window.get(), holder);
        // Its size in dialog units of the dialog font, whose base units are 7 x 13 pixels in IPAPGothic.
        QTEST(window->size(), "size");
        QCOMPARE(window->windowIcon().availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        QTRY_COMPARE(nameOf(QApplication::focusWidget()), stops.first());
        QStringList visited;
        do {
            visited.append(nameOf(QApplication::focusWidget()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (nameOf(QApplication::focusWidget()) != stops.first() && visited.size() <= stops.size());
        QCOMPARE(visited, stops);

        QRegion frames;
        QList<std::pair<QWidget*, QRect>> drawn, texts;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (auto* box = qobject_cast<QGroupBox*>(control)) {
                // With a transparent title the box draws its frame alone; what the title adds is the title.
                const QRegion whole = ink(box);
                const QPalette shown = box->palette();
                QPalette blank = shown;
                blank.setColor(QPalette::WindowText, Qt::transparent);
                box->setPalette(blank);
                const QRegion frame = ink(box);
                frames += frame;
                box->setPalette(shown);
                texts.append({box, (whole - frame).boundingRect()});
                drawn.append(texts.last());
                // A glyph's outermost pixel may be too faint to differ from the background.
                QVERIFY2(texts.last().second.width() >=
                             box->fontMetrics().tightBoundingRect(box->title()).width() - 2,
                         qPrintable(box->title() + " is cut"));
            } else if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                       qobject_cast<QAbstractItemView*>(control) || qobject_cast<QLabel*>(control)) {
                drawn.append({control, ink(control).boundingRect()});
            }
        }
        for (auto* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            texts.append(
                {label, label->fontMetrics()
                            .boundingRect(label->contentsRect(), int(label->alignment()), label->text())
                            .translated(label->pos())});
        }
        for (const auto& [owner, text] : texts) {
            const QString name =
                owner->property(qobject_cast<QGroupBox*>(owner) ? "title" : "text").toString();
            QVERIFY2(name.isEmpty() || !frames.intersects(text), qPrintable(name + " crosses a frame"));
            for (const auto& [control, drawnRect] : drawn) {
                QVERIFY2(name.isEmpty() || control == owner || qobject_cast<QGroupBox*>(owner) ||
                             !text.adjusted(-3, 0, 3, 0).intersects(drawnRect),
                         qPrintable(name + " touches a " + control->metaObject()->className()));
            }
        }
        saveScreenshot(window, "layout of " + window->windowTitle());

        // The grids are those whose cells are tab stops, named "<grid> 試合<match> <column>".
        QStringList grids = stops.filter(" 試合").replaceInStrings(QRegularExpression(" .*"), "");
        grids.removeDuplicates();
        for (const QString& grid : grids) {
            const QStringList columns =
                grid == "支持率" ? QStringList{"ホーム", "引き分け", "アウェイ"} : QStringList{"1", "0", "2"};
            const auto cell = [&](int at) {
                return named(window, QString("%1 試合%2 %3").arg(grid).arg(at / 3 + 1).arg(columns[at % 3]));
            };
            for (int at = 0; at < 39; ++at) {
                const QString name = nameOf(cell(at));
                QVERIFY2(at % 3 == 0 || cell(at - 1)->geometry().right() < cell(at)->x(),
                         qPrintable(name + " out of its row"));
                QVERIFY2(at < 3 || cell(at - 3)->geometry().bottom() < cell(at)->y(),
                         qPrintable(name + " out of its column"));
                QVERIFY2(window->childAt(cell(at)->geometry().center()) == cell(at),
                         qPrintable(name + " is covered"));
                QTest::mouseClick(cell(at), Qt::LeftButton);
                QVERIFY2(QApplication::focusWidget() == cell(at), qPrintable(name + " takes no focus"));
                for (int other = at - at % 3; other < at && qobject_cast<QRadioButton*>(cell(at)) != nullptr;
                     ++other) {
                    QVERIFY2(!qobject_cast<QRadioButton*>(cell(other))->isChecked(),
                             qPrintable(name + " leaves another checked"));
                }
            }
        }
    }

    // Under a locale whose decimal separator is a comma, which the program takes from the environment, a rate
    // still reads and shows with a point.
    void commaLocale() {
        const QByteArray before = std::setlocale(LC_ALL, nullptr);
        QVERIFY2(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr, "de_DE.UTF-8 is not installed (LOCPATH)");
        QCOMPARE(std::localeconv()->decimal_point, ",");
        const QStringList seen =
            Player(m_window.get())
                .play("click 支持率入力; rates 0=12.5 1=1e6; click 入力; click 支持率入力; "
                      "look edits; click ｷｬﾝｾﾙ");
        std::setlocale(LC_ALL, before.constData());
        QCOMPARE(seen.value(2), "edits 0=12.5 1=1e+06, focus 入力");
    }

    // Seeded random runs of up to six steps of a session, half of them from its start, so that dialogs get
    // steps of their own; none that may close the window. After each the window is open with no dialog over
    // it, and listed grades agree with the count fields. POMELAK_SOAK_SEED and POMELAK_SOAK_ACTIONS override
    // the seed and the number of runs.
    void soak() {
        const quint64 seed = qEnvironmentVariable("POMELAK_SOAK_SEED", "20261206").toULongLong(),
                      runs = qEnvironmentVariable("POMELAK_SOAK_ACTIONS", "5000").toULongLong();
        std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
        const auto pick = [&random](qsizetype count) { return qsizetype(random() % quint64(count)); };
        QList<QStringList> scripts;
        for (const auto& [title, steps, seen] : playerSessions()) {
            scripts.append(steps.split("; ").filter(QRegularExpression("^(?!close|keys|.*(Esc|終了))")));
        }
        const auto* list = m_window->findChild<QTableWidget*>();
        const auto listed = [list](const char* grade) {
            return list->findItems(grade, Qt::MatchExactly).size();
        };
        Player player(m_window.get(), false);
        for (quint64 run = 1; run <= runs && !QTest::currentTestFailed(); ++run) {
            const QStringList& script = scripts[pick(scripts.size())];
            const QString steps = script.mid(pick(2) == 0 ? 0 : pick(script.size()), 1 + pick(6)).join("; ");
            player.play(steps);
            const QString counts = QString("counts %1 %2 %3 %4")
                                       .arg(listed("１等"))
                                       .arg(listed("２等"))
                                       .arg(listed("３等"))
                                       .arg(list->rowCount());
            QVERIFY2(m_window->isVisible() && QApplication::activeModalWidget() == nullptr,
                     qPrintable("the window closed or a dialog stayed open after " + steps));
            QVERIFY2(counts.endsWith(" 0 0 0 " + QString::number(list->rowCount())) ||
                         player.play("look counts")[0] == counts,
                     qPrintable("the counts disagree with the list after " + steps));
        }
        qInfo("soak: %llu runs, seed %llu", runs, seed);
    }

private:
    std::unique_ptr<CCheckerDlg> m_window;
};

// Fails the running test when one modal window or popup menu stays open for three seconds, which no answer a
// test gives takes, and closes it, so that the test goes on instead of waiting for a user who is not there.
int main(int argc, char** argv) {
    CCheckerApp app(argc, argv);
    QTimer watchdog;
    QPointer<QWidget> seen;
    int ticks = 0;
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [&seen, &ticks] {
        QWidget* open = QApplication::activePopupWidget();
        open = open != nullptr ? open : QApplication::activeModalWidget();
        ticks = open != nullptr && open == seen ? ticks + 1 : 0;
        seen = open;
        if (ticks == 12) {
            const auto* box = qobject_cast<QMessageBox*>(open);
            const QString what = open->windowTitle() + (box != nullptr ? ": " + box->text() : "");
            QTest::qFail(qPrintable("nobody answered " + what), __FILE__, __LINE__);
            open->close();
        }
    });
    watchdog.start(250);
    TestWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window.moc"
