// The main window and its dialogs as a player meets them: the state after start and the two modes, the
// toolbar, the keys, the About box, the menus however their items are chosen, Qt's own texts, the layout,
// and each command once: which controls it reads and what the list, the count fields and the message
// boxes show afterwards. The core's arithmetic and orders are tested on their own.
#include "gui_test_support.h"

#include "res/resource_ids.h"
#include "ui/about_dlg.h"
#include "ui/checker_dlg.h"
#include "ui/four_group_dlg.h"
#include "ui/support_rate_dlg.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

using namespace pomelak;
using namespace testsupport;

namespace {

const QString kAllHome = "1111111111111";
const QString kUnset = "-------------";
const QString kAboutTitle = "Pomelakのﾊﾞｰｼﾞｮﾝ情報";
const QString kAboutItem = "Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)...";
// The counts of a graded run of one single equal to the results, which later steps must leave alone.
const QStringList kOneFirstPrize{"1", "0", "0", "1"};

// Adds a data row whose cells follow the columns; plain texts become QStrings, as with <<.
template <class... Cells> void row(const char* name, const Cells&... cells) {
    (QTest::newRow(name) << ... << cells);
}

// Receives the addresses the About box asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void openUrl(const QUrl& url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

QAbstractButton* box(const QWidget* window, int index) {
    return cell<QAbstractButton>(window, "購入", index / 3, QString("102").at(index % 3));
}
QAbstractButton* radio(const QWidget* window, int index) {
    return cell<QAbstractButton>(window, "結果", index / 3, QString("102").at(index % 3));
}

// A list row: the 13 outcomes and then the grade, or the yen estimate and then the 13 outcomes.
QString checkRow(const QString& single, const QString& grade = {}) {
    return (single.split(QString(), Qt::SkipEmptyParts) << grade).join('|');
}
QString payoutRow(const QString& yen, const QString& single) {
    return (QStringList{yen} + single.split(QString(), Qt::SkipEmptyParts)).join('|');
}

// A message box as answerNextMessageBox() sees it: text, caption, icon and the one button, "OK".
QStringList messageBox(const QString& text, const QString& caption, QMessageBox::Icon icon) {
    return {text, caption, QString::number(icon), "OK"};
}

// The width a list cell needs to show its text whole: the text and the cell's margins on either side.
int wholeWidth(const QTableWidget* list, const QString& text) {
    return list->fontMetrics().horizontalAdvance(text) +
           2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
}

// Everything that tells the two modes apart: captions, list columns ("text:width"), an empty list, the
// pressed state of the mode button and the purchase grid's enabling.
void verifyMode(const QWidget* window, bool multiCheck) {
    QStringList captions;
    std::ranges::transform(window->findChildren<QLabel*>(), std::back_inserter(captions), &QLabel::text);
    std::ranges::transform(window->findChildren<QGroupBox*>(), std::back_inserter(captions),
                           &QGroupBox::title);
    const QString listCaption = multiCheck ? "シングル分解結果" : "予想配当金計算結果";
    QVERIFY(captions.contains(listCaption) && captions.contains(multiCheck ? "結果入力" : "予想入力"));
    QVERIFY(captions.contains(multiCheck ? "マルチチェックモード" : "１等配当金予想モード"));
    const auto* list = findByName<QTableWidget>(window, listCaption);
    QStringList columns, expected;
    for (int column = 0; column < 14; ++column) {
        columns.append(list->horizontalHeaderItem(column)->text() + ":" +
                       QString::number(list->columnWidth(column)));
        expected.append(column < 13 ? QString::number(column + 1) + ":24" : "");
    }
    expected.removeLast();
    multiCheck ? expected.append("等:70") : expected.prepend("配当:70");
    QCOMPARE(columns, expected);
    QCOMPARE(list->rowCount(), 0);
    QCOMPARE(findByName<QToolButton>(window, "モード変更")->isChecked(), !multiCheck);
    for (int index = 0; index < 39; ++index) {
        QCOMPARE(box(window, index)->isEnabled(), multiCheck);
    }
}

// Presses the button and answers the dialog it opens once that is the active window, where keys go. A
// dialog the answer left open is closed, so that the test goes on.
void withDialog(QWidget* window, const QString& button, std::function<void(QWidget*)> answer) {
    onNextModal([answer = std::move(answer)](QWidget* dialog) {
        static_cast<void>(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }));
        answer(dialog);
        dialog->close();
    });
    press(window, button);
}

// Leaves a dialog the close box, a key sent to the focused control, or a button; true when that closed it.
bool leave(QWidget* dialog, const QString& how) {
    if (how == "close box") {
        dialog->close();
    } else if (QStringList{"Return", "Enter", "Esc"}.contains(how)) {
        QTest::keySequence(dialog->focusWidget(), QKeySequence(how));
    } else {
        press(dialog, how);
    }
    return !dialog->isVisible();
}

// The edit of rate entry (match - 1) + 13 * column: the table runs down the home column first.
QLineEdit* rateEdit(QWidget* dialog, int entry) {
    return cell<QLineEdit>(dialog, "支持率", entry % 13,
                           QStringList{"ホーム", "引き分け", "アウェイ"}.at(entry / 13));
}

// Opens the rate dialog, types each text into the edit of its entry (pasting what keys do not type:
// full-width digits, very long texts) and leaves the way given; returns the texts the edits held, and whether
// it closed.
std::pair<QStringList, bool> typeRates(QWidget* window, const QMap<int, QString>& texts,
                                       const QString& how = "入力") {
    std::pair<QStringList, bool> seen;
    withDialog(window, "支持率入力", [&](QWidget* dialog) {
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            QLineEdit* edit = rateEdit(dialog, it.key());
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            if (it->size() < 100 && QString::fromLatin1(it->toLatin1()) == *it) {
                QTest::keyClicks(edit, *it);
            } else {
                QGuiApplication::clipboard()->setText(*it);
                QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            }
            seen.first.append(edit->text());
        }
        seen.second = leave(dialog, how);
    });
    return seen;
}

// What the rate dialog shows when opened: the window's table in entry order, then the focused button.
QStringList shownRates(QWidget* window) {
    QStringList shown;
    withDialog(window, "支持率入力", [&shown](QWidget* dialog) {
        for (int entry = 0; entry < 39; ++entry) {
            shown.append(rateEdit(dialog, entry)->text());
        }
        shown.append(qobject_cast<QAbstractButton*>(QApplication::focusWidget())->text());
        saveScreenshot(dialog, "support-rate-dialog");
    });
    return shown;
}

// The rectangle of a widget's pixels that differ from the window background, in window coordinates.
QRect inkRect(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    const QRgb background = widget->window()->palette().color(QPalette::Window).rgb();
    QRect ink;
    for (int pixel = 0; pixel < image.width() * image.height(); ++pixel) {
        const QPoint at(pixel % image.width(), pixel / image.width());
        if (qAlpha(image.pixel(at)) != 0 && (image.pixel(at) | 0xFF000000) != background) {
            ink |= QRect(at, QSize(1, 1));
        }
    }
    return ink.translated(widget->mapTo(widget->window(), QPoint()));
}

// The frame of a group box as drawn, found from its pixels: four lines two pixels wide.
QList<QRect> frameLines(QGroupBox* group) {
    const QImage image = group->grab().toImage();
    const QRgb background = group->palette().color(QPalette::Window).rgb();
    const int w = image.width(), h = image.height();
    const auto scan = [&](int at, int step, auto pixel) {
        for (; pixel(at) == background && at > 0 && at < std::max(w, h) - 1; at += step) {
        }
        return at;
    };
    const int top = scan(0, 1, [&](int y) { return image.pixel(w - 5, y); });
    const int bottom = scan(h - 1, -1, [&](int y) { return image.pixel(w / 2, y); });
    const int left = scan(0, 1, [&](int x) { return image.pixel(x, h / 2); });
    const int right = scan(w - 1, -1, [&](int x) { return image.pixel(x, h / 2); });
    return {QRect(left, top, right - left + 1, 2).translated(group->pos()),
            QRect(left, bottom - 1, right - left + 1, 2).translated(group->pos()),
            QRect(left, top, 2, bottom - top + 1).translated(group->pos()),
            QRect(right - 1, top, 2, bottom - top + 1).translated(group->pos())};
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
        cancelModalHandlers();
        m_window.reset();
    }

    void stateAfterStart() {
        QCOMPARE(m_window->windowTitle(), "Rivuマルチチェッカー");
        QVERIFY(!m_window->windowIcon().isNull());
        QCOMPARE(QCoreApplication::applicationVersion(), "2.0.0.1");
        verifyMode(w(), true);
        for (int index = 0; index < 39; ++index) {
            QVERIFY(!box(w(), index)->isChecked() && radio(w(), index)->isEnabled());
            QCOMPARE(radio(w(), index)->isChecked(), index % 3 == 0);
        }
        QVERIFY(!findByName<QCheckBox>(w(), "シングル分解のみ")->isChecked() &&
                findByName<QPushButton>(w(), "終了"));
        QCOMPARE(counts(w()), QStringList(4, QString()));
        const auto* list = w()->findChild<QTableWidget*>();
        QCOMPARE(list->palette().color(QPalette::Base), QColor(255, 237, 229));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(0, 0, 255));
        QVERIFY(list->showGrid() && !list->horizontalHeader()->sectionsClickable());
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        saveScreenshot(m_window.get(), "main-multi-check");
    }

    // Each toolbar button from the left: the image it shows and the command it runs.
    void toolbarButtonsFromTheLeft_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("opens");
        row("0: MODE switches the mode and back", 0, QString());
        row("1: the figure 4 opens the four-group dialog", 1, "4群マルチ入力");
        row("2: 支入力 opens the support-rate dialog", 2, "支持率入力");
    }
    void toolbarButtonsFromTheLeft() {
        QFETCH(int, position);
        QFETCH(QString, opens);
        QList<QToolButton*> buttons = m_window->findChildren<QToolButton*>();
        std::ranges::sort(buttons, {}, [this](QWidget* b) { return b->mapTo(w(), QPoint()).x(); });
        QToolButton* button = buttons.value(position);
        QVERIFY(buttons.size() == 3 && button->size() == QSize(23, 22) && button->toolTip().isEmpty());
        // The image is the button's 16 x 15 cut of the bitmap, transparent where the bitmap has the button
        // face grey, so that the face shows there.
        const QImage bitmap = QImage(":/images/toolbar.xpm").copy(16 * position, 0, 16, 15);
        const QImage image = button->icon().pixmap(16, 15).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int pixel = 0; pixel < 16 * 15; ++pixel) {
            const QRgb shown = image.pixel(pixel % 16, pixel / 16),
                       drawn = bitmap.pixel(pixel % 16, pixel / 16);
            QCOMPARE(qAlpha(shown) == 0 ? QRgb(0) : shown, drawn == 0xFFC0C0C0 ? QRgb(0) : drawn);
        }
        // The mode switch empties the list, keeps the ticks and results, and locks the purchase grid.
        QTest::mouseClick(box(w(), 19), Qt::LeftButton);
        QTest::mouseClick(radio(w(), 8), Qt::LeftButton);
        w()->findChild<QTableWidget*>()->insertRow(0);
        QString opened;
        onNextModal([&opened](QWidget* dialog) {
            opened = dialog->windowTitle();
            dialog->close();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(opened, opens);
        if (position == 0) {
            verifyMode(w(), false);
            QTest::mouseClick(box(w(), 19), Qt::LeftButton);
            QTest::mouseClick(button, Qt::LeftButton);
            verifyMode(w(), true);
        }
        QVERIFY(box(w(), 19)->isChecked() && !box(w(), 18)->isChecked() && radio(w(), 8)->isChecked());
    }

    void modeButtonLooksPressedInPayoutMode() {
        auto* button = findByName<QToolButton>(w(), "モード変更");
        const QImage out = button->grab().toImage();
        saveScreenshot(button->parentWidget(), "toolbar-multi-check");
        QTest::mouseClick(button, Qt::LeftButton);
        const QImage in = button->grab().toImage();
        saveScreenshot(button->parentWidget(), "toolbar-payout-estimate");
        // Pressed in: the frame turns (dark top left, light bottom right) and most of the face changes.
        QVERIFY(qGray(in.pixel(1, 1)) < qGray(out.pixel(1, 1)) &&
                qGray(in.pixel(21, 20)) > qGray(out.pixel(21, 20)));
        int changed = 0;
        for (int pixel = 0; pixel < in.width() * in.height(); ++pixel) {
            const QPoint at(pixel % in.width(), pixel / in.width());
            changed += std::abs(qGray(in.pixel(at)) - qGray(out.pixel(at))) > 24 ? 1 : 0;
        }
        QVERIFY2(changed * 2 > in.width() * in.height(),
                 qPrintable(QString::number(changed) + " pixels differ"));
    }

    void tabVisitsTheTabStopsInTemplateOrder() {
        QList<QWidget*> expected{m_window->control(kIdOk), m_window->control(kIdCancel)};
        for (int index = 0; index < 39; ++index) {
            expected.append(box(w(), index));
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

    // Enter runs START unless another push button has the focus; Escape, 終了 and the close box close.
    void keysAndButtonsRunStartOrClose_data() {
        QTest::addColumn<int>("focusId");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        row("Return on START: lists, stays open", kIdOk, "Return", false);
        row("Return on a purchase box: lists", purchaseBoxId(12, 2), "Return", false);
        row("Return on a count field: lists", kIdcUnits, "Return", false);
        row("Return on 終了: closes", kIdCancel, "Return", true);
        row("Escape: closes", kIdOk, "Esc", true);
        row("終了 clicked: closes", kIdCancel, "click", true);
        row("close box: closes", kIdOk, "close", true);
    }
    void keysAndButtonsRunStartOrClose() {
        QFETCH(int, focusId);
        QFETCH(QString, how);
        QFETCH(bool, closes);
        buy(w(), "1 1 1 1 1 1 1 1 1 1 1 1 1");
        QWidget* focus = m_window->control(focusId);
        focus->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focus);
        how == "close"   ? void(m_window->close())
        : how == "click" ? QTest::mouseClick(focus, Qt::LeftButton)
                         : QTest::keySequence(focus, QKeySequence(how));
        QCOMPARE(m_window->isVisible(), !closes);
        QCOMPARE(listed(w()).size(), how == "Return" && !closes ? 1 : 0);
    }

    // System commands 16 to 31 open the About box, whose button opens the maker's page and leaves the box
    // open; F1 opens it too, as the program has no help of its own.
    void systemCommandsAndF1OpenTheAboutBox_data() {
        QTest::addColumn<unsigned>("command");
        QTest::addColumn<bool>("opensAbout");
        row("15: below the About range", 15U, false);
        row("16: the About item", 16U, true);
        row("31: low bits ignored", 31U, true);
        row("32: above the range", 32U, false);
        row("0xF060: close is never About", 0xF060U, false);
        row("F1 key", 0U, true);
    }
    void systemCommandsAndF1OpenTheAboutBox() {
        QFETCH(unsigned, command);
        QFETCH(bool, opensAbout);
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("https", &recorder, "openUrl");
        QStringList seen;
        onNextModal([&seen](QWidget* about) {
            seen.append(about->windowTitle());
            std::ranges::transform(about->findChildren<QLabel*>(), std::back_inserter(seen), &QLabel::text);
            press(about, "Zelvanuへ行く");
            press(about, "Zelvanuへ行く");
            seen.append(about->isVisible() ? "open" : "closed");
            saveScreenshot(about, "about-box");
            press(about, "OK");
        });
        if (command == 0) {
            QTest::keyClick(w(), Qt::Key_F1);
        } else {
            QCOMPARE(m_window->OnSysCommand(command), opensAbout);
        }
        QDesktopServices::unsetUrlHandler("https");
        const QStringList about{kAboutTitle, "", "Pomelak Version 2.0", "Copyright (C) Zelvanu", "open"};
        QCOMPARE(seen, opensAbout ? about : QStringList());
        QCOMPARE(recorder.opened,
                 QList<QUrl>(opensAbout ? 2 : 0, QUrl("https://www.zelvanu.example/pomelak/")));
    }

    // Each menu, opened by a right click or the menu key, does what its item says however the item is
    // chosen, closes, and leaves the keys to the window: Escape then closes it. The list's keys copy and
    // select as its menu does.
    void menusAndListKeysWorkHoweverChosen_data() {
        QTest::addColumn<bool>("onList");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("effect");
        const QString about = "About box " + kAboutTitle;
        // Rows 1 and 0 of a graded two-single list, selected in that order, copy in the order shown.
        const QString rows =
            "copied "
            "1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t１等\n1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t0\t２等\n";
        row("background menu, clicked", false, kAboutItem, "click", about);
        row("background menu, keys", false, kAboutItem, "keys", about);
        row("background menu, screen reader press", false, kAboutItem, "press", about);
        row("list menu: コピー clicked", true, "コピー(&C)", "click", rows);
        row("list menu: コピー by screen reader press", true, "コピー(&C)", "press", rows);
        row("list: Ctrl+C", true, "Ctrl+C", "shortcut", rows);
        row("list menu: すべて選択 by keys", true, "すべて選択(&A)", "keys", "2 rows");
        row("list menu: すべて選択 by screen reader press", true, "すべて選択(&A)", "press", "2 rows");
        row("list: Ctrl+A", true, "Ctrl+A", "shortcut", "2 rows");
    }
    void menusAndListKeysWorkHoweverChosen() {
        QFETCH(bool, onList);
        QFETCH(QString, item);
        QFETCH(QString, how);
        QFETCH(QString, effect);
        auto* list = w()->findChild<QTableWidget*>();
        buy(w(), "1 1 1 1 1 1 1 1 1 1 1 1 10");
        press(w(), "START");
        QGuiApplication::clipboard()->clear();
        if (effect.startsWith("copied")) {
            const auto spot = [list](int row) {
                return list->visualRect(list->model()->index(row, 3)).center();
            };
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, spot(1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, spot(0));
        }
        QWidget* target = onList ? list->viewport() : w();
        target->setFocus();
        QString seen;
        onNextModal([&seen](QWidget* modal) {
            seen = "About box " + modal->windowTitle();
            modal->close();
        });
        if (how == "shortcut") {
            QTest::keySequence(list, QKeySequence(item));
        } else {
            const QPoint spot = onList ? QPoint(30, 30) : QPoint(w()->width() - 5, w()->height() / 2);
            QContextMenuEvent open(how == "keys" ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                                   spot, target->mapToGlobal(spot));
            QApplication::sendEvent(target, &open);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QStringList items;
            std::ranges::transform(menu->actions(), std::back_inserter(items), &QAction::text);
            QCOMPARE(items,
                     onList ? QStringList({"コピー(&C)", "すべて選択(&A)"}) : QStringList({"", kAboutItem}));
            if (onList && how == "click") {
                saveScreenshot(menu, "list-context-menu");
            }
            QAction* action = menu->actions().at(items.indexOf(item));
            if (how == "click") {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            } else if (how == "keys") {
                while (menu->activeAction() != action) {
                    QTest::keyClick(menu, Qt::Key_Down);
                }
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                QAccessible::queryAccessibleInterface(menu)
                    ->child(int(items.indexOf(item)))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::pressAction());
            }
        }
        if (!QGuiApplication::clipboard()->text().isEmpty()) {
            seen = "copied " + QGuiApplication::clipboard()->text();
        } else if (list->selectionModel()->selectedRows().size() == 2) {
            seen = "2 rows";
        }
        QTRY_COMPARE(seen, effect);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : w(),
                        Qt::Key_Escape);
        QVERIFY(!m_window->isVisible());
    }

    // Qt's own texts, an edit's menu among them, are Japanese whatever the system's language.
    void qtTextsAreJapanese() {
        auto* field = findByName<QLineEdit>(w(), "購入口数");
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(field, &open);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QStringList items;
        for (const QAction* action : menu->actions()) {
            items.append(action->text().section('\t', 0, 0));
        }
        saveScreenshot(menu, "edit-context-menu");
        menu->close();
        QCOMPARE(items, QStringList({"元に戻す(&U)", "やり直す(&R)", "", "切り取り(&T)", "コピー(&C)",
                                     "貼り付け(&P)", "削除", "", "すべてを選択"}));
    }

    void controlsArePlacedInDialogUnits_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QRect>("pixels");
        // Hand-computed for IPAPGothic at 12 pixels: base units 7 x 13 (52 letters 352 px wide; height
        // 11 + 2); each edge maps to round(x * 7 / 4) or round(y * 13 / 8), halves away from zero.
        row("START 279,267,35,14", kIdOk, QRect(488, 434, 62, 23));
        row("list 127,31,221,222", kIdcResultList, QRect(222, 50, 387, 361));
        row("first purchase box 18,48,8,10", purchaseBoxId(0, 0), QRect(32, 78, 14, 16));
        row("units field 144,267,32,13", kIdcUnits, QRect(252, 434, 56, 21));
    }
    void controlsArePlacedInDialogUnits() {
        QFETCH(int, id);
        QFETCH(QRect, pixels);
        QCOMPARE(QFontInfo(m_window->font()).family(), "IPAPGothic");
        QCOMPARE(m_window->size(), QSize(620, 463));
        QCOMPARE(m_window->control(id)->geometry(), pixels);
        QCOMPARE(minimizedIconOrigin(QSize(36, 35), QSize(32, 32)), QPoint(2, 2));
    }

    // The rectangle each static text is drawn in crosses no group box frame and keeps 3 pixels clear of
    // the drawn part of every other control, with the dialog font's substitute.
    void staticTextsKeepClearOfFramesAndNeighbours_data() {
        QTest::addColumn<int>("dialog");
        row("main window", kIddChecker);
        row("four-group dialog", kIddFourGroup);
        row("support-rate dialog", kIddSupportRate);
        row("About box", kIddAbout);
    }
    void staticTextsKeepClearOfFramesAndNeighbours() {
        QFETCH(int, dialog);
        std::unique_ptr<QDialog> other;
        dialog == kIddFourGroup     ? other.reset(new CFourGroupDlg(w()))
        : dialog == kIddSupportRate ? other.reset(new CSupportRateDlg(w()))
        : dialog == kIddAbout       ? other.reset(new CAboutDlg(w()))
                                    : void();
        QWidget* window = other ? other.get() : w();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QList<QRect> frames;
        for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
            frames += frameLines(group);
        }
        QList<std::pair<QWidget*, QRect>> drawn;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if ((qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                 qobject_cast<QTableWidget*>(control) || qobject_cast<QLabel*>(control)) &&
                !qobject_cast<QAbstractItemView*>(control->parentWidget())) {
                drawn.append({control, inkRect(control)});
            }
        }
        for (auto* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            const QRect text =
                label->fontMetrics()
                    .boundingRect(label->contentsRect(), int(label->alignment()), label->text())
                    .translated(label->pos());
            for (const QRect& line : frames) {
                QVERIFY2(label->text().isEmpty() || !text.intersects(line),
                         qPrintable(label->text() + " crosses a frame"));
            }
            for (const auto& [control, ink] : drawn) {
                QVERIFY2(label->text().isEmpty() || control == label ||
                             !text.adjusted(-3, 0, 3, 0).intersects(ink),
                         qPrintable(label->text() + " touches a " + control->metaObject()->className()));
            }
        }
        saveScreenshot(window,
                       dialog == kIddFourGroup ? "four-group-dialog" : "layout-" + QString::number(dialog));
    }

    void multiOf96UnitsIsListedAndGraded() {
        buy(w(), "10 10 10 10 10 102 1 1 1 1 1 1 1");
        press(w(), "START");
        const QStringList rows = listed(w());
        QCOMPARE(rows.size(), 96); // 2^5 * 3
        QCOMPARE(rows.first(2), QStringList({checkRow(kAllHome, "１等"), checkRow("1111101111111", "２等")}));
        QCOMPARE(rows.last(), checkRow("0000021111111"));
        // One miss is one of five draws or match 6's draw or away: 7; two misses: C(5,2) + 5 * 2 = 20.
        QCOMPARE(counts(w()), QStringList({"1", "7", "20", "96"}));
        // The scroll bar the rows need takes its width from the grade column, which still shows "３等"
        // whole, and every column stays in view without scrolling sideways.
        const auto* list = w()->findChild<QTableWidget*>();
        QTRY_VERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY(!list->horizontalScrollBar()->isVisible() &&
                list->horizontalHeader()->length() <= list->viewport()->width());
        QVERIFY(list->columnWidth(13) >= wholeWidth(list, "３等"));
        saveScreenshot(w(), "main-graded-96");
    }

    void startGradesListsOrRefusesThePurchase_data() {
        QTest::addColumn<bool>("gradedBefore");
        QTest::addColumn<bool>("singleOnly");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("purchase");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("box");
        // Results other than the preset home wins, so that the result radios are shown to be read.
        const QString mixed = "1021021021021";
        row("one mark per match equal to the results: １等", false, false, mixed, "1 0 2 1 0 2 1 0 2 1 0 2 1",
            QStringList{checkRow(mixed, "１等")}, kOneFirstPrize, QStringList{});
        // Graded, these two singles would be "１等" and "２等".
        const QStringList twoSingles{checkRow(kAllHome), checkRow("1111111111110")};
        const QString double13 = "1 1 1 1 1 1 1 1 1 1 1 1 10";
        row("single only, first run: no grades, fields stay empty", false, true, kAllHome, double13,
            twoSingles, QStringList(4, ""), QStringList{});
        row("single only after a graded run: its counts stay", true, true, kAllHome, double13, twoSingles,
            kOneFirstPrize, QStringList{});
        // A refused purchase empties the list and leaves the counts of the graded run before.
        row("match 13 unmarked, the rest triples: no mark, not too many units", true, false, kAllHome,
            "102 102 102 102 102 102 102 102 102 102 102 102 -", QStringList{}, kOneFirstPrize,
            messageBox("購入マルチの項目は１～１３までどれか1個は必ず選んでください。",
                       "購入マルチ入力エラー", QMessageBox::Critical));
        row("2 doubles and 3 triples: 108 units", true, false, kAllHome, "10 02 102 102 102 1 1 1 1 1 1 1 1",
            QStringList{}, kOneFirstPrize,
            messageBox("最大購入口数は96口までです。\nダブルのみならダブル6個まで\nトリプルのみならトリプル4"
                       "個までにしてください。",
                       "購入口数エラー", QMessageBox::Critical));
    }
    void startGradesListsOrRefusesThePurchase() {
        QFETCH(bool, gradedBefore);
        QFETCH(bool, singleOnly);
        QFETCH(QString, results);
        QFETCH(QString, purchase);
        if (gradedBefore) {
            gradedRun();
        }
        setResults(w(), results);
        buy(w(), purchase);
        if (singleOnly) {
            press(w(), "シングル分解のみ");
        }
        QStringList seen;
        answerNextMessageBox(seen);
        press(w(), "START");
        QTEST(seen, "box");
        QTEST(listed(w()), "rows");
        QTEST(counts(w()), "fields");
    }

    void payoutRowsFollowTheRadiosAndRatesOfTheirPress() {
        // Enters the rate for the predicted outcomes, 7 for the others (a wrong rate read would change the
        // estimate), sets the result radios to the prediction and presses START.
        const auto predict = [this](const QString& single, const QString& rate) {
            QMap<int, QString> texts;
            for (int entry = 0; entry < 39; ++entry) {
                texts[entry] = QString("102").at(entry / 13) == single.at(entry % 13) ? rate : "7";
            }
            typeRates(w(), texts);
            setResults(w(), single);
            press(w(), "START");
        };
        gradedRun();
        press(w(), "モード変更");
        // No rates yet. The purchase grid still holds the graded single; START here must not look at it.
        press(w(), "START");
        predict("1021021021021", "50");
        predict("2222222222222", "20");
        // Disabled radios keep their choice, and the estimate reads it.
        press(w(), "シングル分解のみ");
        QVERIFY(!radio(w(), 2)->isEnabled());
        press(w(), "START");
        // 23.5 over the product of the chosen rates / 100, truncated: 23.5 * 2^13, and 23.5 * 5^13 =
        // 28686523437.5, which takes more than 32 bits and is written out in full.
        const QStringList rows{payoutRow("0円", kAllHome), payoutRow("192512円", "1021021021021"),
                               payoutRow("28686523437円", "2222222222222"),
                               payoutRow("28686523437円", "2222222222222")};
        QCOMPARE(listed(w()), rows);
        QCOMPARE(counts(w()), kOneFirstPrize);
        // The widest estimate shows whole; the other columns keep their widths.
        const auto* list = w()->findChild<QTableWidget*>();
        QVERIFY(list->columnWidth(0) >= wholeWidth(list, "28686523437円") && list->columnWidth(1) == 24);
        saveScreenshot(w(), "main-payout-rows");
        // The four-group command is refused in this mode, without opening its dialog.
        QStringList seen;
        answerNextMessageBox(seen);
        press(w(), "４群マルチ入力");
        QCOMPARE(seen,
                 messageBox("マルチチェックモードに切り替えてください", "tst_window", QMessageBox::NoIcon));
        QCOMPARE(listed(w()), rows);
    }

    void rateDialogStoresTheLeadingNumberOrCancels_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("shown");
        row("50% and 入力: the sign after the number is ignored", "50%", "入力", "50");
        row("５０ and Return in the edit: full-width digits are no number", "５０", "Return", "0");
        row("12.3456789 and keypad Enter: six significant digits", "12.3456789", "Enter", "12.3457");
        // Pasted: a number whose decimal zeros run on to 100000 characters, all of it the number 25.
        row("100000 characters: kept in full", "25." + QString(99997, '0'), "入力", "25");
        row("ｷｬﾝｾﾙ: table untouched", "99", "ｷｬﾝｾﾙ", "1");
        row("Escape in the edit: table untouched", "99", "Esc", "1");
        row("close box: table untouched", "99", "close box", "1");
    }
    void rateDialogStoresTheLeadingNumberOrCancels() {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, shown);
        // Match 7's draw is 1 first, so that a 0 afterwards is stored and a cancel has a value to keep.
        typeRates(w(), {{19, "1"}});
        QCOMPARE(typeRates(w(), {{19, typed}}, how), std::pair(QStringList{typed}, true));
        QCOMPARE(shownRates(w()), QStringList(19, "0") << shown << QStringList(19, "0") << "入力");
    }

    // Last of the rate tests, so that the screenshot shows the table a player first sees.
    void rateDialogOpensOnTheZeroTableWithTheFocusOnInput() {
        QCOMPARE(shownRates(w()), QStringList(39, "0") << "入力");
    }

    void fourGroupDialogListsItsChoicesOrCancels_data() {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("spots");
        QTest::addColumn<QStringList>("box");
        // The box sets no caption of its own: it shows the executable's name.
        const auto said = [](int count) {
            return messageBox(QString::number(count) + "個展開しました。", "tst_window", QMessageBox::NoIcon);
        };
        row("preset only: one single of 1s, no grade", QStringList{kAllHome, kUnset, kUnset}, "入力", 1,
            QStringList{"0:" + checkRow(kAllHome)}, said(1));
        row("block 1 complete, the others partial: only block 1 varies",
            QStringList{kAllHome, "0000---------", "---------222-"}, "入力", 2,
            QStringList{"0:" + checkRow(kAllHome), "1:" + checkRow("0001111111111")}, said(2));
        row("ｷｬﾝｾﾙ: the graded list stays, nothing said",
            QStringList{"0000000000000", "222----------", kUnset}, "ｷｬﾝｾﾙ", 1,
            QStringList{"0:" + checkRow(kAllHome, "１等")}, QStringList{});
        // Row i takes blocks 1 to 4 (matches 1-3, 4-6, 7-9, 10-13) from the columns i / 27, i / 9, i / 3
        // and i, each modulo 3: row 55 takes 中波乱, 基本, 基本, 小波乱.
        row("every upset triple chosen: 81 singles", QStringList{kAllHome, "0000000000000", "2222222222222"},
            "入力", 81, QStringList{"0:" + checkRow(kAllHome), "55:" + checkRow("2221111110000")}, said(81));
    }
    void fourGroupDialogListsItsChoicesOrCancels() {
        QFETCH(QStringList, columns);
        QFETCH(QString, how);
        QFETCH(int, count);
        QFETCH(QStringList, spots);
        gradedRun();
        QStringList seen;
        bool closed = false;
        withDialog(w(), "４群マルチ入力", [&](QWidget* dialog) {
            // Per prediction column, the outcome digit to choose for each match; "-" leaves it.
            for (int index = 0; index < 39; ++index) {
                const QString outcome = columns.at(index / 13).at(index % 13);
                if (outcome != "-") {
                    const QString prediction = QStringList{"基本", "小波乱", "中波乱"}.at(index / 13);
                    QTest::mouseClick(cell<QAbstractButton>(dialog, prediction, index % 13, outcome),
                                      Qt::LeftButton);
                }
            }
            answerNextMessageBox(seen);
            closed = leave(dialog, how);
        });
        QVERIFY(closed);
        QTEST(seen, "box");
        const QStringList rows = listed(w());
        QCOMPARE(rows.size(), count);
        for (const QString& spot : spots) {
            QCOMPARE(rows.at(spot.section(':', 0, 0).toInt()), spot.section(':', 1));
        }
        QCOMPARE(counts(w()), kOneFirstPrize);
    }

private:
    QWidget* w() const { return m_window.get(); }
    // A graded run of one single equal to the results: a "１等" row and the counts kOneFirstPrize.
    void gradedRun() {
        buy(w(), "1 1 1 1 1 1 1 1 1 1 1 1 1");
        press(w(), "START");
    }

    std::unique_ptr<CCheckerDlg> m_window;
};

POMELAK_GUI_TEST_MAIN(TestWindow)

#include "tst_window.moc"
