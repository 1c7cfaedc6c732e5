// The main window and its dialogs as a player meets them, on the real widgets. Sessions play a player's
// steps and compare what the player saw: lists, count fields, message boxes, dialogs, menus and the state
// of the window; each binding is shown once, and the core's arithmetic and orders are tested on their own.
// Other tests cover what a script does not say well: the toolbar's images and pressed look, column widths,
// tab order, dialog units and static texts clear of frames and neighbours. A soak plays thousands of
// seeded random steps and checks after each one that the window still holds together.
#include "res/resource_ids.h"
#include "ui/about_dlg.h"
#include "ui/checker_app.h"
#include "ui/checker_dlg.h"
#include "ui/four_group_dlg.h"
#include "ui/support_rate_dlg.h"

#include <QtTest>
#include <QtWidgets>

#include <map>
#include <random>
#include <ranges>

using namespace pomelak;

namespace {

template <class T> T* findByName(const QWidget* window, const QString& name) {
    for (T* widget : window->findChildren<T*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        if (widget->accessibleName() == name || (button != nullptr && button->text() == name)) {
            return widget;
        }
    }
    return nullptr;
}

void press(const QWidget* window, const QString& name) {
    auto* button = findByName<QAbstractButton>(window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Calls handler with the next modal widget that opens after this call, from inside its event loop.
void onNextModal(std::function<void(QWidget*)> handler) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName("modalPoll");
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, before = QPointer(QApplication::activeModalWidget()), handler] {
                         if (QWidget* modal = QApplication::activeModalWidget();
                             modal && modal != before && modal->isVisible()) {
                             poll->deleteLater();
                             poll->stop();
                             handler(modal);
                         }
                     });
    poll->start(5);
}

void saveScreenshot(QWidget* widget, const QString& name) {
    QDir(POMELAK_SCREENSHOT_DIR).mkpath(".");
    widget->grab().save(QString(POMELAK_SCREENSHOT_DIR "/%1.png").arg(name));
}

// A player at the main window. play() runs steps separated by "; " and returns what the player saw: the
// message boxes (answered with OK), the About box (its link pressed twice) and other dialogs that opened,
// the menus shown, and what the "look" steps report. The steps:
//   buy <marks of matches 1 to 13, "-" for none>; results <13 digits>; click|toggle <button or control>;
//   key <keys> [on <control>]; command <system command>; select rows <rows>; menu <item> by <how>;
//   rates <entry or from-to>=<text>... by <how>; fourgroup <basic> <small> <medium> by <how>;
//   look list|counts|clipboard|window|mode|grids|rates
class Player : public QObject {
    Q_OBJECT

public:
    // A soak plays thousands of steps: pictures of its dialogs would only cost time.
    explicit Player(CCheckerDlg* window, bool screenshots = true)
        : m_window(window), m_list(window->findChild<QTableWidget*>()), m_screenshots(screenshots) {
        QDesktopServices::setUrlHandler("https", this, "openUrl");
        // Found once by name, as a screen reader tells them apart; a search per step would cost minutes.
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            m_buttons.insert(button->accessibleName().isEmpty() ? button->text() : button->accessibleName(),
                             button);
        }
        for (int index = 0; index < 39; ++index) {
            const QString cell = QString("試合%1 %2").arg(index / 3 + 1).arg("102"[index % 3]);
            m_grids[0][index] = m_buttons.value("購入 " + cell);
            m_grids[1][index] = m_buttons.value("結果 " + cell);
        }
    }
    ~Player() override { QDesktopServices::unsetUrlHandler("https"); }

    // The purchase box or result radio of a match and outcome column, by index 0 to 38.
    QAbstractButton* grid(const char* name, int index) const {
        return m_grids[QString(name) == "購入" ? 0 : 1][index];
    }

    QStringList play(QString script) {
        m_seen.clear();
        // "{N*c}" is N times the character c, for texts too long to write.
        for (QRegularExpressionMatch repeat;
             (repeat = QRegularExpression("\\{(\\d+)\\*(.)\\}").match(script)).hasMatch();) {
            script.replace(repeat.capturedStart(), repeat.capturedLength(),
                           QString(repeat.captured(1).toInt(), repeat.captured(2)[0]));
        }
        for (const QString& step : script.split("; ")) {
            const QStringList words = step.split(' ');
            const QString rest = step.section(' ', 1), by = step.section(" by ", 1),
                          target = step.section(" on ", 1);
            const bool dialog = words[0] == "rates" || words[0] == "fourgroup" || step == "look rates";
            if (!dialog) {
                onNextModal([this](QWidget* modal) { answer(modal); });
            }
            if (dialog) {
                answerDialog(words[0] == "fourgroup" ? "４群マルチ入力" : "支持率入力",
                             words.mid(1, words.size() - 3), by);
            } else if (words[0] == "buy" || words[0] == "results") {
                for (int index = 0; index < 39; ++index) {
                    QAbstractButton* button = grid(words[0] == "buy" ? "購入" : "結果", index);
                    const QString outcome = QString("102").at(index % 3),
                                  marks = rest.split(' ').value(index / 3);
                    if (button->isChecked() !=
                        (words[0] == "buy" ? marks.contains(outcome) : rest.at(index / 3) == outcome)) {
                        QTest::mouseClick(button, Qt::LeftButton);
                    }
                }
            } else if ((words[0] == "click" || words[0] == "toggle") && !m_buttons.contains(rest)) {
                m_seen.append("no button " + rest);
            } else if (words[0] == "click") {
                QTest::mouseClick(m_buttons.value(rest), Qt::LeftButton);
            } else if (words[0] == "toggle") {
                QAccessible::queryAccessibleInterface(m_buttons.value(rest))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::toggleAction());
            } else if (words[0] == "key") {
                if (QWidget* focus = target.isEmpty() ? m_window : findByName<QWidget>(m_window, target)) {
                    focus->setFocus();
                    QTest::keySequence(focus, QKeySequence(words[1]));
                }
            } else if (words[0] == "command") {
                m_seen.append(m_window->OnSysCommand(words[1].toUInt(nullptr, 0)) ? "handled"
                                                                                  : "left to the system");
            } else if (words[0] == "select") {
                for (const QString& row : words.mid(2)) {
                    const QPoint cell = m_list->visualRect(m_list->model()->index(row.toInt(), 3)).center();
                    QTest::mouseClick(m_list->viewport(), Qt::LeftButton,
                                      row == words[2] ? Qt::NoModifier : Qt::ControlModifier, cell);
                }
            } else if (words[0] == "menu") {
                chooseFromMenu(step.section(" by ", 0, 0).section(' ', 1), by);
            } else {
                look(words[1]);
            }
            qDeleteAll(qApp->findChildren<QTimer*>("modalPoll", Qt::FindDirectChildrenOnly));
        }
        return m_seen;
    }

public Q_SLOTS:
    void openUrl(const QUrl& url) { m_seen.append("opened " + url.toString()); }

private:
    void shoot(QWidget* widget, const QString& name) const {
        if (m_screenshots) {
            saveScreenshot(widget, name);
        }
    }

    void answer(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QString icon = QStringList{"", " information", " warning", " stop"}.value(box->icon());
            m_seen.append("box " + box->windowTitle() + icon + " [" + box->buttons().value(0)->text() +
                          "]: " + box->text().replace('\n', "↵"));
            return press(box, "OK");
        }
        QStringList labels;
        std::ranges::transform(modal->findChildren<QLabel*>(), std::back_inserter(labels), &QLabel::text);
        const bool about = modal->windowTitle() == "Pomelakのﾊﾞｰｼﾞｮﾝ情報";
        m_seen.append(modal->windowTitle() + ": " + (about ? labels.join(" | ") : labels.value(0)));
        if (about) {
            press(modal, "Zelvanuへ行く");
            press(modal, "Zelvanuへ行く");
            m_seen.append(modal->isVisible() ? "still open" : "closed by its link");
            shoot(modal, "about-box");
            press(modal, "OK");
            if (modal->isVisible()) {
                m_seen.append("OK left it open");
            }
        }
        modal->close();
    }

    void look(const QString& what) {
        QStringList rows, counts, shown;
        for (int row = 0; row < m_list->rowCount(); ++row) {
            QString text; // the one-digit outcome cells run together, the other cells stand apart
            for (int column = 0; column < m_list->columnCount(); ++column) {
                const QString cell = m_list->model()->index(row, column).data().toString();
                text += cell.size() == 1 ? cell : ' ' + cell + ' ';
            }
            rows.append(text.simplified());
        }
        for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
            const QString text = findByName<QLineEdit>(m_window, name)->text();
            counts.append(text.isEmpty() ? "-" : text);
        }
        if (what == "list") {
            const QStringList shownRows = rows.size() <= 4 ? rows : rows.first(2) << "..." << rows.last();
            m_seen.append(QString("list %1").arg(rows.size()) +
                          (rows.isEmpty() ? "" : ": " + shownRows.join(" / ")));
        } else if (what == "counts") {
            m_seen.append("counts " + counts.join(' '));
        } else if (what == "clipboard") {
            m_seen.append("clipboard " +
                          QGuiApplication::clipboard()->text().replace('\t', "⇥").replace('\n', "↵"));
        } else if (what == "window") {
            m_seen.append(QString(m_window->isVisible() ? "window open, " : "window closed, ") +
                          QString::number(m_window->result()));
        } else if (what == "mode") {
            // The mode's captions, the list's name and columns as header:width, its rows, the mode button.
            std::ranges::transform(m_window->findChildren<QLabel*>(), std::back_inserter(shown),
                                   &QLabel::text);
            std::ranges::transform(m_window->findChildren<QGroupBox*>(), std::back_inserter(shown),
                                   &QGroupBox::title);
            shown = shown.filter(QRegularExpression("モード|入力|結果")) << m_list->accessibleName();
            for (int column = 0; column < m_list->columnCount(); ++column) {
                shown.append(m_list->horizontalHeaderItem(column)->text() + ":" +
                             QString::number(m_list->columnWidth(column)));
            }
            m_seen.append(shown.join(' ') + QString(", %1 rows, button ").arg(rows.size()) +
                          (m_buttons.value("モード変更")->isChecked() ? "down" : "up"));
        } else {
            // Ticks and results by match, then 1 per enabled purchase box and 2 per enabled result radio.
            QString ticks, results, enabled;
            for (int index = 0; index < 39; ++index) {
                ticks += grid("購入", index)->isChecked() ? QString("102").at(index % 3) : QString();
                ticks += index % 3 < 2 ? "" : ticks.isEmpty() || ticks.endsWith(' ') ? "- " : " ";
                results += grid("結果", index)->isChecked() ? QString("102").at(index % 3) : QString();
                enabled += QString::number(int(grid("購入", index)->isEnabled()) +
                                           2 * int(grid("結果", index)->isEnabled()));
            }
            m_seen.append("bought " + ticks.simplified() + ", results " + results + ", enabled " + enabled);
        }
    }

    // Opens a dialog from the toolbar and answers it: rate texts pasted into their edits as a player pastes
    // them, or radio triples chosen; then leaves it the given way, or reads the rates it shows and closes it.
    void answerDialog(const QString& button, const QStringList& inputs, const QString& how) {
        onNextModal([this, inputs, how, rates = button == "支持率入力"](QWidget* dialog) {
            if (qobject_cast<QMessageBox*>(dialog) != nullptr) {
                return answer(dialog); // the four-group command, refused in payout mode
            }
            static_cast<void>(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }));
            QStringList shown{dialog->windowTitle()};
            const auto rateEdit = [dialog](int entry) {
                const QString column = QStringList{"ホーム", "引き分け", "アウェイ"}[entry / 13];
                return findByName<QLineEdit>(dialog,
                                             QString("支持率 試合%1 %2").arg(entry % 13 + 1).arg(column));
            };
            for (int index = 0; index < 39; ++index) {
                const QString outcome =
                    rates || how.isEmpty() ? QChar('-') : inputs.at(index / 13).at(index % 13);
                if (rates && how.isEmpty() && rateEdit(index)->text() != "0") {
                    shown.append(QString("%1=%2").arg(index).arg(rateEdit(index)->text()));
                } else if (outcome != "-") {
                    const QString column = QStringList{"基本", "小波乱", "中波乱"}[index / 13];
                    press(dialog, QString("%1 試合%2 %3").arg(column).arg(index % 13 + 1).arg(outcome));
                }
            }
            // Each entry, or range of entries "from-to", gets its text; a later one overwrites.
            for (const QString& input : rates && !how.isEmpty() ? inputs : QStringList()) {
                const QStringList range = input.section('=', 0, 0).split('-');
                for (int entry = range.first().toInt(); entry <= range.last().toInt(); ++entry) {
                    QTest::mouseClick(rateEdit(entry), Qt::LeftButton);
                    QGuiApplication::clipboard()->setText(input.section('=', 1));
                    QTest::keySequence(QApplication::focusWidget(), QKeySequence::SelectAll);
                    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
                }
            }
            if (rates && !how.isEmpty()) {
                const QString held = qobject_cast<QLineEdit*>(QApplication::focusWidget())->text();
                shown.append(held.size() > 20 ? QString("%1 characters").arg(held.size()) : held);
            } else if (how.isEmpty()) {
                shown << "focus" << QApplication::focusWidget()->property("text").toString();
            }
            m_seen.append(shown.join(' '));
            shoot(dialog, rates ? "support-rate-dialog" : "four-group-choices");
            onNextModal([this](QWidget* modal) { answer(modal); });
            if (how.isEmpty() || how == "close") {
                dialog->close();
            } else if (QStringList{"Return", "Enter", "Esc"}.contains(how)) {
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(how));
            } else {
                press(dialog, how);
            }
            if (dialog->isVisible()) {
                m_seen.append("still open");
                dialog->close();
            }
        });
        QTest::mouseClick(m_buttons.value(button), Qt::LeftButton);
    }

    // Opens a context menu, the window's own (the About item), the list's or a control's, by a right click
    // or the menu key; lists its items; chooses one by a click, the keys or the accessible press action a
    // screen reader uses, or closes it.
    void chooseFromMenu(const QString& item, const QString& how) {
        QWidget* target = item == "Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)..." ? static_cast<QWidget*>(m_window)
                          : item.startsWith("on ")               ? findByName<QWidget>(m_window, item.mid(3))
                                                                 : m_list->viewport();
        target->setFocus();
        QContextMenuEvent open(how == "keys" ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                               QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &open);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return m_seen.append("no menu open");
        }
        QStringList items;
        for (const QAction* action : menu->actions()) {
            items.append(action->text().section('\t', 0, 0));
        }
        m_seen.append("menu " + items.join(" | "));
        shoot(menu, target == m_window             ? "window-menu"
                    : target == m_list->viewport() ? "list-menu"
                                                   : "edit-menu");
        QAction* action = menu->actions().value(int(items.indexOf(item)));
        while (how == "keys" && action != nullptr && menu->activeAction() != action) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        if (how != "Esc" && action == nullptr) {
            menu->close();
        } else if (how == "click") {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        } else if (how == "press") {
            QAccessible::queryAccessibleInterface(menu)
                ->child(int(items.indexOf(item)))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        } else {
            QTest::keyClick(menu, how == "keys" ? Qt::Key_Return : Qt::Key_Escape);
        }
        m_seen.append(QApplication::activePopupWidget() == nullptr ? "menu closed" : "menu still open");
    }

    CCheckerDlg* m_window;
    QTableWidget* m_list;
    bool m_screenshots;
    QHash<QString, QAbstractButton*> m_buttons;
    std::array<std::array<QAbstractButton*, 39>, 2> m_grids{};
    QStringList m_seen;
};

// Where Qt centres a toolbar button's 16 x 15 image on its 23 x 22 face.
constexpr QPoint kImageOrigin(23 / 2 - 16 / 2, 22 / 2 - 15 / 2);

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
            if (inked && from < 0) {
                from = x;
            } else if (!inked && from >= 0) {
                ink += QRect(from, y, x - from, 1);
                from = -1;
            }
        }
    }
    return ink.translated(widget->mapTo(widget->window(), QPoint()));
}

// A dialog of the given template over the main window, shown; the main window itself for its own.
QWidget* shownDialog(int id, CCheckerDlg* window, std::unique_ptr<QDialog>& holder) {
    if (id == kIddFourGroup) {
        holder = std::make_unique<CFourGroupDlg>(window);
    } else if (id == kIddSupportRate) {
        holder = std::make_unique<CSupportRateDlg>(window);
    } else if (id == kIddAbout) {
        holder = std::make_unique<CAboutDlg>(window);
    }
    QWidget* shown = holder ? holder.get() : static_cast<QWidget*>(window);
    shown->show();
    return QTest::qWaitForWindowExposed(shown) ? shown : nullptr;
}

// Whether every column of the list shows its header and its cells whole, each text with its margins either
// side, with no column pushed behind a horizontal scroll bar.
bool allWhole(const QTableWidget* list) {
    const QStyle* style = list->style();
    for (int column = 0; column < list->columnCount(); ++column) {
        int wanted = list->fontMetrics().horizontalAdvance(list->horizontalHeaderItem(column)->text()) +
                     2 * style->pixelMetric(QStyle::PM_HeaderMargin);
        for (int row = 0; row < list->rowCount(); ++row) {
            wanted = std::max(wanted, list->fontMetrics().horizontalAdvance(list->item(row, column)->text()) +
                                          2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1));
        }
        if (list->columnWidth(column) < wanted) {
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
    void cleanup() {
        qDeleteAll(qApp->findChildren<QTimer*>("modalPoll", Qt::FindDirectChildrenOnly));
        m_window.reset();
    }

    // The sessions of window_sessions.txt, each played on a fresh window.
    void sessions_data();
    void sessions() {
        QFETCH(QString, script);
        QTEST(Player(m_window.get()).play(script), "seen");
    }

    // What the sessions do not look at: the window's title, icon and version, the list's colours and the
    // toolbar's bottom line.
    void windowAfterStart() {
        QCOMPARE(m_window->windowTitle(), "Rivuマルチチェッカー");
        QCOMPARE(m_window->windowIcon().availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        QCOMPARE(QCoreApplication::applicationVersion(), "2.0.0.1");
        const auto* list = m_window->findChild<QTableWidget*>();
        QCOMPARE(list->palette().color(QPalette::Base), QColor(255, 237, 229));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0, 0, 255));
        QVERIFY(list->showGrid() && !list->horizontalHeader()->sectionsClickable());
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        const auto* mode = qobject_cast<QLabel*>(m_window->control(kIdcModeLabel));
        QVERIFY(mode->frameShadow() == QFrame::Sunken && (mode->alignment() & Qt::AlignHCenter));
        // The toolbar ends in an etched line across the window, shadow above light.
        QWidget* toolbar = m_window->findChild<QToolButton*>()->parentWidget();
        const QImage bar = toolbar->grab().toImage();
        QVERIFY(bar.pixel(0, bar.height() - 2) == bar.pixel(bar.width() - 1, bar.height() - 2) &&
                bar.pixel(0, bar.height() - 2) == toolbar->palette().color(QPalette::Dark).rgb() &&
                bar.pixel(0, bar.height() - 1) == toolbar->palette().color(QPalette::Light).rgb());
    }

    // Each toolbar button from the left: the image it shows, with the face showing where the bitmap has the
    // button face grey, and the command it runs.
    void toolbarButtonsFromTheLeft_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("runs");
        row("0: MODE switches the mode", 0, "１等配当金予想モード");
        row("1: the figure 4 opens the four-group dialog", 1, "4群マルチ入力: 基本");
        row("2: 支入力 opens the support-rate dialog", 2, "支持率入力: 支持率を入力してください。");
    }
    void toolbarButtonsFromTheLeft() {
        QFETCH(int, position);
        QFETCH(QString, runs);
        QList<QToolButton*> buttons = m_window->findChildren<QToolButton*>();
        std::ranges::sort(buttons, {}, [this](QWidget* b) { return b->mapTo(m_window.get(), QPoint()).x(); });
        QToolButton* button = buttons.value(position);
        QVERIFY(buttons.size() == 3 && button->size() == QSize(23, 22) && button->toolTip().isEmpty() &&
                !button->autoRaise());
        const QImage bitmap = QImage(":/images/toolbar.xpm").copy(16 * position, 0, 16, 15);
        const QImage shown = button->grab().toImage();
        const QRgb face = button->palette().color(QPalette::Button).rgb();
        for (int pixel = 0; pixel < 16 * 15; ++pixel) {
            const QPoint at(pixel % 16, pixel / 16);
            QCOMPARE(shown.pixel(kImageOrigin + at),
                     bitmap.pixel(at) == 0xFFC0C0C0 ? face : bitmap.pixel(at));
        }
        const QString seen =
            Player(m_window.get()).play("click " + button->accessibleName() + "; look mode").join(' ');
        QVERIFY2(seen.contains(runs), qPrintable(seen));
    }

    // Pressed in: the frame turns (dark top left, light bottom right) and the darker face changes most
    // pixels.
    void modeButtonLooksPressedInPayoutMode() {
        auto* button = findByName<QToolButton>(m_window.get(), "モード変更");
        const QImage out = button->grab().toImage();
        saveScreenshot(button->parentWidget(), "toolbar-multi-check");
        QTest::mouseClick(button, Qt::LeftButton);
        const QImage in = button->grab().toImage();
        saveScreenshot(button->parentWidget(), "toolbar-payout-estimate");
        QVERIFY(qGray(in.pixel(1, 1)) < qGray(out.pixel(1, 1)) &&
                qGray(in.pixel(21, 20)) > qGray(out.pixel(21, 20)));
        int changed = 0;
        for (int pixel = 0; pixel < in.width() * in.height(); ++pixel) {
            const QPoint at(pixel % in.width(), pixel / in.width());
            changed += std::abs(qGray(in.pixel(at)) - qGray(out.pixel(at))) > 24 ? 1 : 0;
        }
        QVERIFY2(changed * 4 > in.width() * in.height() * 3,
                 qPrintable(QString::number(changed) + " pixels differ"));
        // The image moves down and right with the face.
        const QRgb face = button->palette().color(QPalette::Button).rgb();
        for (int pixel = 0; pixel < 16 * 15; ++pixel) {
            const QPoint at = kImageOrigin + QPoint(pixel % 16, pixel / 16);
            QVERIFY(out.pixel(at) == face || in.pixel(at + QPoint(1, 1)) == out.pixel(at));
        }
    }

    // Whole estimates, and a grade column that gives the vertical scroll bar its width without hiding.
    void listColumnsShowTheirTextsWhole() {
        Player player(m_window.get());
        player.play("buy 10 10 10 10 10 102 1 1 1 1 1 1 1; click START");
        const auto* list = m_window->findChild<QTableWidget*>();
        QTRY_VERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY(allWhole(list) && !ink(list->verticalScrollBar()).isEmpty());
        saveScreenshot(m_window.get(), "main-graded-96");
        player.play("click モード変更; rates 0-12=20 by 入力; " + QString("click START; ").repeated(9) +
                    "click START");
        QVERIFY(allWhole(list));
        player.play(QString("click START; ").repeated(20) + "look list");
        QTRY_VERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY(allWhole(list));
        saveScreenshot(m_window.get(), "main-payout-rows");
    }

    // Each cell of a grid stands level with and right of the cell before it in its match, and straight below
    // its column's cell of the match before; a click at its centre reaches it, not a group box above it,
    // gives it the focus and clears the radio the match had, whichever it was.
    void gridCellsStandInOrder_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QStringList>("columns");
        const QStringList outcomes{"1", "0", "2"};
        row("purchase boxes", kIddChecker, "購入", outcomes);
        row("result radios", kIddChecker, "結果", outcomes);
        row("support-rate edits", kIddSupportRate, "支持率", QStringList{"ホーム", "引き分け", "アウェイ"});
        row("four-group basic radios", kIddFourGroup, "基本", outcomes);
        row("four-group small-upset radios", kIddFourGroup, "小波乱", outcomes);
        row("four-group medium-upset radios", kIddFourGroup, "中波乱", outcomes);
    }
    void gridCellsStandInOrder() {
        QFETCH(int, dialog);
        QFETCH(QString, grid);
        QFETCH(QStringList, columns);
        std::unique_ptr<QDialog> holder;
        QWidget* window = shownDialog(dialog, m_window.get(), holder);
        QVERIFY(window != nullptr);
        QList<QWidget*> above;
        for (int match = 1; match <= kMatchCount; ++match) {
            QList<QWidget*> cells;
            for (const QString& column : columns) {
                auto* cell =
                    findByName<QWidget>(window, QString("%1 試合%2 %3").arg(grid).arg(match).arg(column));
                const QString name = cell->accessibleName();
                QVERIFY2(cells.isEmpty() || (cells.last()->x() < cell->x() && cells.last()->y() == cell->y()),
                         qPrintable(name + " out of its row"));
                QVERIFY2(above.isEmpty() ||
                             (above[cells.size()]->y() < cell->y() && above[cells.size()]->x() == cell->x()),
                         qPrintable(name + " out of its column"));
                QVERIFY2(window->childAt(cell->geometry().center()) == cell,
                         qPrintable(name + " is covered"));
                QTest::mouseClick(cell, Qt::LeftButton);
                QVERIFY2(QApplication::focusWidget() == cell, qPrintable(name + " takes no focus"));
                QVERIFY2(std::ranges::none_of(cells,
                                              [](QWidget* before) {
                                                  const auto* radio = qobject_cast<QRadioButton*>(before);
                                                  return radio != nullptr && radio->isChecked();
                                              }),
                         qPrintable(name + " leaves another radio of its match checked"));
                cells.append(cell);
            }
            above = cells;
        }
    }

    void tabVisitsTheTabStopsInTemplateOrder() {
        QList<QWidget*> expected{m_window->control(kIdOk), m_window->control(kIdCancel)};
        for (int index = 0; index < 39; ++index) {
            expected.append(m_window->control(purchaseBoxId(index / 3, index % 3)));
        }
        for (const int id : {kIdcResultList, kIdcFirstCount, kIdcSecondCount, kIdcThirdCount, kIdcUnits,
                             kIdcSingleOnly, kIdOk}) {
            expected.append(m_window->control(id));
        }
        QTRY_COMPARE(QApplication::focusWidget(), expected.first());
        QList<QWidget*> visited{QApplication::focusWidget()};
        while (visited.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.append(QApplication::focusWidget());
        }
        QCOMPARE(visited, expected);
    }

    // Hand-computed for IPAPGothic at 12 pixels: base units 7 x 13 (52 letters 369 px wide; height
    // 11 + 2); each edge maps to round(x * 7 / 4) or round(y * 13 / 8), halves away from zero.
    void controlsArePlacedInDialogUnits() {
        QCOMPARE(QFontInfo(m_window->font()).family(), "IPAPGothic");
        QCOMPARE(m_window->size(), QSize(620, 463));
        QCOMPARE(m_window->control(kIdOk)->geometry(), QRect(488, 434, 62, 23));             // 279,267,35,14
        QCOMPARE(m_window->control(kIdcResultList)->geometry(), QRect(222, 50, 387, 361));   // 127,31,221,222
        QCOMPARE(m_window->control(purchaseBoxId(0, 0))->geometry(), QRect(32, 78, 14, 16)); // 18,48,8,10
        // Its bottom edge rounds 279 * 13 / 8 = 453.375 down, its height alone would round 19.5 up to 20.
        QCOMPARE(m_window->control(kIdcFirstCount)->geometry(), QRect(16, 434, 61, 19)); // 9,267,35,12
        QCOMPARE(minimizedIconOrigin(QSize(36, 35), QSize(32, 32)), QPoint(2, 2));
    }

    // The rectangle each static text and group-box title is drawn in crosses no frame line, and a static
    // text keeps 3 pixels clear of what every other control draws.
    void staticTextsKeepClearOfFramesAndNeighbours_data() {
        QTest::addColumn<int>("dialog");
        row("main window", kIddChecker);
        row("four-group dialog", kIddFourGroup);
        row("support-rate dialog", kIddSupportRate);
        row("About box", kIddAbout);
    }
    void staticTextsKeepClearOfFramesAndNeighbours() {
        QFETCH(int, dialog);
        std::unique_ptr<QDialog> holder;
        QWidget* window = shownDialog(dialog, m_window.get(), holder);
        QVERIFY(window != nullptr);
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
                drawn.append({box, (whole - frame).boundingRect()});
                texts.append(drawn.last());
                // A glyph's outermost pixel may be too faint to differ from the background.
                QVERIFY2(drawn.last().second.width() >=
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
        saveScreenshot(
            window,
            QStringList{
                "main-multi-check", "four-group-dialog", "support-rate-start",
                "about-box-layout"}[QList{kIddChecker, kIddFourGroup, kIddSupportRate, kIddAbout}.indexOf(
                dialog)]);
    }

    // Seeded random steps; after each the window holds together: one result per match, controls enabled and
    // pressed as the mode and the option say, count fields that only a graded START changes, one
    // well-formed estimate row per START of the payout mode, no dialog left open. POMELAK_SOAK_SEED and
    // POMELAK_SOAK_ACTIONS override the seed and the number of steps.
    void soak();

private:
    std::unique_ptr<CCheckerDlg> m_window;
};

// The sessions of window_sessions.txt: a title line, indented steps, and "> " lines of what the player sees.
QList<std::tuple<QString, QString, QStringList>> sessionFile() {
    QFile file(POMELAK_SESSIONS);
    QList<std::tuple<QString, QString, QStringList>> sessions;
    for (const QString& line :
         file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n') : QStringList()) {
        if (line.startsWith("> ")) {
            std::get<2>(sessions.last()).append(line.mid(2));
        } else if (line.startsWith("    ")) {
            std::get<1>(sessions.last()) +=
                (std::get<1>(sessions.last()).isEmpty() ? "" : "; ") + line.trimmed();
        } else if (!line.isEmpty() && !line.startsWith('#')) {
            sessions.append({line, QString(), QStringList()});
        }
    }
    return sessions;
}

void TestWindow::sessions_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("seen");
    const auto file = sessionFile();
    QVERIFY2(!file.isEmpty(), "no sessions in " POMELAK_SESSIONS);
    for (const auto& [title, script, seen] : file) {
        QTest::newRow(qPrintable(title)) << script << seen;
    }
}

void TestWindow::soak() {
    const auto setting = [](const char* name, quint64 fallback) {
        return qEnvironmentVariableIsSet(name) ? qEnvironmentVariable(name).toULongLong() : fallback;
    };
    const quint64 seed = setting("POMELAK_SOAK_SEED", 20261206),
                  steps = setting("POMELAK_SOAK_ACTIONS", 5000);
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    // The steps of every session but those that close the window, taken in a random order.
    QStringList vocabulary;
    for (const auto& session : sessionFile()) {
        for (const QString& step : std::get<1>(session).split("; ")) {
            if (!step.startsWith("look") && !step.contains("Esc") && !step.contains("終了")) {
                vocabulary.append(step);
            }
        }
    }
    const auto* list = m_window->findChild<QTableWidget*>();
    Player player(m_window.get(), false);
    std::map<QString, int> tally;
    QStringList state = player.play("look mode; look grids; look counts");
    for (quint64 step = 1; step <= steps && !QTest::currentTestFailed(); ++step) {
        const QString countsBefore = state[2];
        const QString action =
            vocabulary[std::uniform_int_distribution<int>(0, int(vocabulary.size()) - 1)(random)];
        const int rowsBefore = list->rowCount();
        const bool start = action == "click START" || action.startsWith("key Return"); // Enter runs START too
        for (const QString& seen : player.play(action)) {
            ++tally[seen.section(' ', 0, seen.startsWith("box") ? 1 : 0)];
        }
        // Captions, the mode button and the grids' enabling follow the mode and the option; one result per
        // match; the counts change only with a graded START, to its prize rows and its units.
        state = player.play("look mode; look grids; look counts");
        const bool multiCheck = state[0].contains("マルチチェックモード"),
                   graded = player.grid("結果", 0)->isEnabled();
        int units = 1;
        for (const QString& match : state[1].section(", ", 0, 0).mid(7).split(' ')) {
            units *= match == "-" ? 0 : int(match.size());
        }
        QVERIFY2(QApplication::activeModalWidget() == nullptr, "a dialog stayed open");
        QVERIFY(state[0].startsWith(
            multiCheck ? "シングル分解結果 マルチチェックモード 結果入力 シングル分解結果 1:"
                       : "予想配当金計算結果 １等配当金予想モード 予想入力 予想配当金計算結果 配当:"));
        QVERIFY(state[0].endsWith(multiCheck ? "button up" : "button down"));
        QCOMPARE(state[1].section(", ", 1, 1).size(), QString("results ").size() + 13);
        QCOMPARE(state[1].section(", enabled ", 1),
                 QString(39, QChar('0' + int(multiCheck) + 2 * int(graded))));
        QString counts = countsBefore;
        if (start && multiCheck && graded && units > 0 && units <= 96) {
            counts = "counts";
            for (const char* grade : {"１等", "２等", "３等"}) {
                counts += " " + QString::number(list->findItems(grade, Qt::MatchExactly).size());
                tally[grade] += int(list->findItems(grade, Qt::MatchExactly).size());
            }
            counts += " " + QString::number(units);
            QCOMPARE(list->rowCount(), units);
        } else if (start && !multiCheck) {
            const QString estimate = list->item(list->rowCount() - 1, 0)->text();
            QVERIFY2(list->rowCount() == rowsBefore + 1 &&
                         QRegularExpression("^-?\\d+円$").match(estimate).hasMatch(),
                     qPrintable(estimate));
            ++tally[estimate == "0円" ? "estimates of 0円" : "estimates"];
        }
        QCOMPARE(state[2], counts);
        if (QTest::currentTestFailed()) {
            qWarning("soak: failed at step %llu, seed %llu: %s", step, seed, qPrintable(action.left(200)));
        }
    }
    QStringList summary;
    for (const auto& [what, count] : tally) {
        summary.append(QString("%1 %2").arg(what).arg(count));
    }
    qInfo("soak: %llu steps, seed %llu (%s)", steps, seed, qPrintable(summary.join(", ")));
}

// Fails the running test when one modal window or popup menu stays open for three seconds, which no answer
// a test gives takes, and closes it, so that the test goes on instead of waiting for a user who is not there.
int main(int argc, char** argv) {
    CCheckerApp app(argc, argv);
    QTimer watchdog;
    QPointer<QWidget> seen;
    int ticks = 0;
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [&seen, &ticks] {
        QWidget* open = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                          : QApplication::activeModalWidget();
        ticks = open != nullptr && open == seen ? ticks + 1 : 0;
        seen = open;
        if (ticks == 12) {
            const auto* box = qobject_cast<QMessageBox*>(open);
            QTest::qFail(qPrintable(QString("nobody answered %1 \"%2\"%3")
                                        .arg(open->metaObject()->className(), open->windowTitle(),
                                             box ? ": " + box->text() : "")),
                         __FILE__, __LINE__);
            open->close();
        }
    });
    watchdog.start(250);
    TestWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window.moc"
