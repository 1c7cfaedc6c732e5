// The window's commands as a player uses them: START in both modes, the single-only option, the mode
// switch, and the two input dialogs opened from the toolbar. The core's arithmetic and orders are tested
// on their own; here each binding is shown once or twice: which controls are read, and what the list, the
// count fields and the message boxes show afterwards. Expected values come from the rules, not the core.
#include "gui_test_support.h"

#include "ui/checker_dlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

#include <memory>

using testsupport::findByName;

namespace {

constexpr int kMatches = 13;
constexpr int kRates = 3 * kMatches;
// The outcome digits in the order of the grid columns: home, draw, away.
const QString kGridOrder = QStringLiteral("102");
const QString kAllHome = QStringLiteral("1111111111111");
const QString kUnset(kMatches, QLatin1Char('-'));
// The counts of gradedRun(): one unit, and it wins the first prize.
const QStringList kOneFirstPrize{"1", "0", "0", "1"};

// Adds a data row whose cells follow the columns; plain texts become QStrings, as with <<. One call per
// row keeps clang-format from putting every text of a row on a line of its own.
template <class... Cells> void row(const char* name, const Cells&... cells) {
    (QTest::newRow(name) << ... << cells);
}

void press(QWidget* window, const QString& name) {
    auto* button = findByName<QAbstractButton>(window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// A grid control's accessible name, "購入 試合1 0" for the purchase box of match 1's draw; match from 0.
QString gridName(const QString& grid, int match, const QString& outcome) {
    return QStringLiteral("%1 試合%2 %3").arg(grid).arg(match + 1).arg(outcome);
}

// Ticks exactly the marks of matches 1 to 13 ("10 102 - 1 ...", where "-" leaves a match unmarked),
// clicking only the boxes whose state has to change.
void buy(QWidget& window, const QString& purchase) {
    const QStringList marks = purchase.split(QLatin1Char(' '));
    for (int cell = 0; cell < 3 * kMatches; ++cell) {
        const QChar outcome = kGridOrder.at(cell % 3);
        auto* box = findByName<QCheckBox>(&window, gridName("購入", cell / 3, outcome));
        if (box->isChecked() != marks.at(cell / 3).contains(outcome)) {
            QTest::mouseClick(box, Qt::LeftButton);
        }
    }
}

void setResults(QWidget& window, const QString& results) {
    for (int match = 0; match < kMatches; ++match) {
        auto* radio = findByName<QRadioButton>(&window, gridName("結果", match, results.at(match)));
        QTest::mouseClick(radio, Qt::LeftButton);
    }
}

// A graded run of one single equal to the results: a "１等" row and the counts kOneFirstPrize, which the
// later steps of a test must leave alone.
void gradedRun(QWidget& window, const QString& single = kAllHome) {
    setResults(window, single);
    buy(window, single.split(QString(), Qt::SkipEmptyParts).join(QLatin1Char(' ')));
    press(&window, "START");
}

// The rows of the result list as shown, cells joined by "|".
QStringList listed(QWidget& window) {
    const QAbstractItemModel* list = window.findChild<QTableWidget*>()->model();
    QStringList rows(list->rowCount());
    for (int cell = 0; cell < rows.size() * list->columnCount(); ++cell) {
        const QModelIndex index = list->index(cell / list->columnCount(), cell % list->columnCount());
        rows[index.row()] += (index.column() > 0 ? "|" : "") + index.data().toString();
    }
    return rows;
}

QStringList counts(QWidget& window) {
    QStringList texts;
    for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
        texts.append(findByName<QLineEdit>(&window, QString::fromUtf8(name))->text());
    }
    return texts;
}

// A multi-check row: the 13 outcomes, then the grade.
QString checkRow(const QString& single, const QString& grade = {}) {
    return (single.split(QString(), Qt::SkipEmptyParts) << grade).join(QLatin1Char('|'));
}

// A payout row: the estimate, then the 13 outcomes.
QString payoutRow(const QString& yen, const QString& single) {
    return (QStringList{yen} + single.split(QString(), Qt::SkipEmptyParts)).join(QLatin1Char('|'));
}

// A message box as one comparable list: text, caption, icon and buttons, OK alone unless told.
QStringList messageBox(const QString& text, const QString& caption, QMessageBox::Icon icon,
                       QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
    return {text, caption, QString::number(icon), QString::number(buttons.toInt())};
}

// What the answered message box showed, or nothing when none was answered.
QStringList boxSeen(const testsupport::MessageBoxSeen& seen) {
    return seen.shown ? messageBox(seen.text, seen.title, seen.icon, seen.buttons) : QStringList{};
}

// Presses the toolbar button and answers the dialog it opens once the application has made that the
// active window: the platform may call it active earlier, before it has handed out the focus keys go to.
// Should it never become active, the answer still runs; the test's checks tell. A dialog the answer left
// open is dismissed, so that the test goes on.
void withDialog(QWidget& window, const QString& button, std::function<void(QWidget*)> answer) {
    testsupport::onNextModal([answer = std::move(answer)](QWidget* dialog) {
        static_cast<void>(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }));
        answer(dialog);
        if (dialog->isVisible()) {
            qobject_cast<QDialog*>(dialog)->reject();
        }
    });
    press(&window, button);
}

// Leaves the dialog the given way: the close box, a key by its name sent to the focused control, or a
// button by its caption. Returns whether that closed it.
bool leave(QWidget* dialog, const QString& how) {
    if (how == QLatin1String("close box")) {
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
    static const QStringList kColumns{"ホーム", "引き分け", "アウェイ"};
    return findByName<QLineEdit>(dialog, gridName("支持率", entry % kMatches, kColumns.at(entry / kMatches)));
}

// Click, select all, type. What a keyboard does not type here (full-width digits, a text far too long to
// type) is pasted, as a player would paste it.
void typeInto(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.size() < 100 && QString::fromLatin1(text.toLatin1()) == text) {
        QTest::keyClicks(edit, text);
    } else {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
}

// Opens the rate dialog, types the texts into the edits of their entries and leaves the way given.
// Returns the texts the edits held then, and whether that way closed the dialog.
std::pair<QStringList, bool> typeRates(QWidget& window, const QMap<int, QString>& texts,
                                       const QString& how = "入力") {
    std::pair<QStringList, bool> seen;
    withDialog(window, "支持率入力", [&](QWidget* dialog) {
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            typeInto(rateEdit(dialog, it.key()), it.value());
            seen.first.append(rateEdit(dialog, it.key())->text());
        }
        seen.second = leave(dialog, how);
    });
    return seen;
}

// What the rate dialog shows when opened now: the window's table in entry order, then the caption of the
// button that has the focus. The screenshot is of the last opening.
QStringList shownRates(QWidget& window) {
    QStringList shown;
    withDialog(window, "支持率入力", [&shown](QWidget* dialog) {
        for (int entry = 0; entry < kRates; ++entry) {
            shown.append(rateEdit(dialog, entry)->text());
        }
        const auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        shown.append(button != nullptr ? button->text() : QString());
        testsupport::saveScreenshot(dialog, "support-rate-dialog");
        press(dialog, "ｷｬﾝｾﾙ");
    });
    return shown;
}

// Per prediction column (基本, 小波乱, 中波乱), the outcome digit to choose for each match; "-" leaves it.
void choose(QWidget* dialog, const QStringList& columns) {
    static const QStringList kPredictions{"基本", "小波乱", "中波乱"};
    for (int cell = 0; cell < 3 * kMatches; ++cell) {
        const QChar outcome = columns.at(cell / kMatches).at(cell % kMatches);
        if (outcome != QLatin1Char('-')) {
            const QString name = gridName(kPredictions.at(cell / kMatches), cell % kMatches, outcome);
            QTest::mouseClick(findByName<QRadioButton>(dialog, name), Qt::LeftButton);
        }
    }
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_window = std::make_unique<pomelak::CCheckerDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() {
        testsupport::cancelModalHandlers();
        m_window.reset();
    }

    void multiOf96UnitsIsListedAndGraded() {
        setResults(window(), kAllHome);
        buy(window(), "10 10 10 10 10 102 1 1 1 1 1 1 1");
        press(&window(), "START");

        const QStringList rows = listed(window());
        QCOMPARE(rows.size(), 96); // 2^5 * 3
        QCOMPARE(rows.first(), checkRow(kAllHome, QStringLiteral("１等")));
        QCOMPARE(rows.last(), checkRow(QStringLiteral("0000021111111")));
        // Against all home wins a row's hits are its 1s: 13, 12 and 11 win the first, second and third prize.
        const QStringList grades{"", "３等", "２等", "１等"};
        for (const QString& listedRow : rows) {
            const QStringList cells = listedRow.split(QLatin1Char('|'));
            const auto hits = cells.first(kMatches).count(QStringLiteral("1"));
            QCOMPARE(cells.last(), grades.at(hits > 10 ? hits - 10 : 0));
        }
        // One miss is one of five draws or match 6's draw or away: 7; two misses: C(5,2) + 5 * 2 = 20.
        QCOMPARE(counts(window()), QStringList({"1", "7", "20", "96"}));
        testsupport::saveScreenshot(&window(), "main-graded-96");
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
            twoSingles, QStringList{"", "", "", ""}, QStringList{});
        row("single only after a graded run: its counts stay", true, true, kAllHome, double13, twoSingles,
            kOneFirstPrize, QStringList{});
        // A refused purchase empties the list and leaves the counts of the graded run before.
        row("match 13 unmarked, the rest triples: no mark, not too many units", true, false, kAllHome,
            "102 102 102 102 102 102 102 102 102 102 102 102 -", QStringList{}, kOneFirstPrize,
            messageBox("購入マルチの項目は１～１３までどれか1個は必ず選んでください。",
                       "購入マルチ入力エラー", QMessageBox::Critical));
        row("2 doubles and 3 triples: 108 units", true, false, kAllHome, "10 02 102 102 102 1 1 1 1 1 1 1 1",
            QStringList{}, kOneFirstPrize,
            messageBox("最大購入口数は96口までです。\nダブルのみならダブル6個まで\n"
                       "トリプルのみならトリプル4個までにしてください。",
                       "購入口数エラー", QMessageBox::Critical));
    }
    void startGradesListsOrRefusesThePurchase() {
        QFETCH(bool, gradedBefore);
        QFETCH(bool, singleOnly);
        QFETCH(QString, results);
        QFETCH(QString, purchase);
        if (gradedBefore) {
            gradedRun(window());
        }
        setResults(window(), results);
        buy(window(), purchase);
        if (singleOnly) {
            press(&window(), "シングル分解のみ");
        }
        testsupport::MessageBoxSeen seen;
        testsupport::answerNextMessageBox(seen);
        press(&window(), "START");
        QTEST(boxSeen(seen), "box");
        QTEST(listed(window()), "rows");
        QTEST(counts(window()), "fields");
    }

    void payoutRowsFollowTheRadiosAndRatesOfTheirPress() {
        // Enters the rate for the predicted outcomes, 7 for the others (a wrong rate read would change the
        // estimate), sets the result radios to the prediction and presses START.
        const auto predict = [this](const QString& single, const QString& rate) {
            QMap<int, QString> texts;
            for (int entry = 0; entry < kRates; ++entry) {
                texts[entry] = kGridOrder.at(entry / kMatches) == single.at(entry % kMatches) ? rate : "7";
            }
            typeRates(window(), texts);
            setResults(window(), single);
            press(&window(), "START");
        };
        gradedRun(window());
        press(&window(), "モード変更");
        // The switch empties the list (the graded counts stay, as checked at the end).
        QVERIFY(listed(window()).isEmpty());
        // No rates yet. The purchase grid still holds the graded single; START here must not look at it.
        press(&window(), "START");
        predict("1021021021021", "50");
        predict("2222222222222", "20");
        // Disabled radios keep their choice, and the estimate reads it.
        press(&window(), "シングル分解のみ");
        QVERIFY(!findByName<QRadioButton>(&window(), gridName("結果", 0, "2"))->isEnabled());
        press(&window(), "START");

        // 23.5 over the product of the chosen rates / 100, truncated: 23.5 * 2^13, and 23.5 * 5^13 =
        // 28686523437.5, which takes more than 32 bits and is written out in full.
        const QStringList rows{payoutRow("0円", kAllHome), payoutRow("192512円", "1021021021021"),
                               payoutRow("28686523437円", "2222222222222"),
                               payoutRow("28686523437円", "2222222222222")};
        QCOMPARE(listed(window()), rows);
        QCOMPARE(counts(window()), kOneFirstPrize);
        testsupport::saveScreenshot(&window(), "main-payout-rows");

        // The four-group command is refused in this mode, without opening its dialog: a dialog would be
        // closed unrecorded, and no box seen.
        testsupport::MessageBoxSeen seen;
        testsupport::answerNextMessageBox(seen);
        press(&window(), "４群マルチ入力");
        QCOMPARE(boxSeen(seen), messageBox(QStringLiteral("マルチチェックモードに切り替えてください"),
                                           QCoreApplication::applicationName(), QMessageBox::NoIcon));
        QCOMPARE(listed(window()), rows);
    }

    void rateDialogStoresTheLeadingNumberOrCancels_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("shown");
        row("50% and 入力: the sign after the number is ignored", "50%", "入力", "50");
        row("５０ and Return in the edit: full-width digits are no number", "５０", "Return", "0");
        row("12.3456789 and keypad Enter: six significant digits", "12.3456789", "Enter", "12.3457");
        // Pasted: a number whose decimal zeros run on to 100000 characters, all of it the number 25.
        row("100000 characters: kept in full", "25." + QString(99997, QLatin1Char('0')), "入力", "25");
        row("ｷｬﾝｾﾙ: table untouched", "99", "ｷｬﾝｾﾙ", "1");
        row("Escape in the edit: table untouched", "99", "Esc", "1");
        row("close box: table untouched", "99", "close box", "1");
    }
    void rateDialogStoresTheLeadingNumberOrCancels() {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, shown);
        // Match 7's draw is 1 first, so that a 0 afterwards is something stored and a cancel has a value to
        // keep.
        const int entry = 6 + kMatches;
        typeRates(window(), {{entry, "1"}});
        QCOMPARE(typeRates(window(), {{entry, typed}}, how), std::pair(QStringList{typed}, true));
        QCOMPARE(shownRates(window()), QStringList(entry, "0")
                                           << shown << QStringList(kRates - 1 - entry, "0") << "入力");
    }

    // Last of the rate tests, so that the screenshot shows the table a player first sees.
    void rateDialogOpensOnTheZeroTableWithTheFocusOnInput() {
        QCOMPARE(shownRates(window()), QStringList(kRates, "0") << "入力");
    }

    void fourGroupDialogListsItsChoicesOrCancels_data() {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("spots");
        QTest::addColumn<QStringList>("box");
        const QString app = QCoreApplication::applicationName();
        row("preset only: one single of 1s, no grade", QStringList{kAllHome, kUnset, kUnset}, "入力", 1,
            QStringList{"0:" + checkRow(kAllHome)},
            messageBox("1個展開しました。", app, QMessageBox::NoIcon));
        row("block 1 complete, the others partial: only block 1 varies",
            QStringList{kAllHome, "0000---------", "---------222-"}, "入力", 2,
            QStringList{"0:" + checkRow(kAllHome), "1:" + checkRow("0001111111111")},
            messageBox("2個展開しました。", app, QMessageBox::NoIcon));
        row("ｷｬﾝｾﾙ: the graded list stays, nothing said",
            QStringList{"0000000000000", "222----------", kUnset}, "ｷｬﾝｾﾙ", 1,
            QStringList{"0:" + checkRow(kAllHome, "１等")}, QStringList{});
        // Row i takes blocks 1 to 4 (matches 1-3, 4-6, 7-9, 10-13) from the columns i / 27, i / 9, i / 3
        // and i, each modulo 3: row 55 takes 中波乱, 基本, 基本, 小波乱. Last, for the screenshot.
        row("every upset triple chosen: 81 singles", QStringList{kAllHome, "0000000000000", "2222222222222"},
            "入力", 81, QStringList{"0:" + checkRow(kAllHome), "55:" + checkRow("2221111110000")},
            messageBox("81個展開しました。", app, QMessageBox::NoIcon));
    }
    void fourGroupDialogListsItsChoicesOrCancels() {
        QFETCH(QStringList, columns);
        QFETCH(QString, how);
        QFETCH(int, count);
        QFETCH(QStringList, spots);
        gradedRun(window());
        testsupport::MessageBoxSeen seen;
        bool closed = false;
        withDialog(window(), "４群マルチ入力", [&](QWidget* dialog) {
            choose(dialog, columns);
            testsupport::saveScreenshot(dialog, "four-group-dialog");
            testsupport::answerNextMessageBox(seen);
            closed = leave(dialog, how);
        });
        QVERIFY(closed);
        QTEST(boxSeen(seen), "box");
        const QStringList rows = listed(window());
        QCOMPARE(rows.size(), count);
        for (const QString& spot : spots) {
            QCOMPARE(rows.at(spot.section(':', 0, 0).toInt()), spot.section(':', 1));
        }
        QCOMPARE(counts(window()), kOneFirstPrize);
    }

private:
    pomelak::CCheckerDlg& window() { return *m_window; }
    std::unique_ptr<pomelak::CCheckerDlg> m_window;
};

POMELAK_GUI_TEST_MAIN(TestCommands)

#include "tst_commands.moc"
