// The two input dialogs, each opened by its toolbar button over the main window and answered by hand: the
// support-rate table (what typed texts store, confirming, cancelling) and the four-group generator (which
// singles its choices list, its report, its refusal in the payout-estimate mode, cancelling).
#include "gui_test_support.h"

#include "ui/checker_dlg.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <array>
#include <map>
#include <memory>
#include <numeric>

using pomelak::CCheckerDlg;
using testsupport::findByName;

namespace {

constexpr int kMatches = 13;
constexpr int kRates = 39;
const QString kAllHome = QStringLiteral("1111111111111");
const QStringList kOneFirstPrize{"1", "0", "0", "1"};

void press(QWidget* window, const QString& name) {
    auto* button = findByName<QAbstractButton>(window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Leaves the dialog the given way: a button by its caption, a key sent to the focused control, or the
// close box. Returns whether that closed it; a dialog left open is dismissed so that the test goes on.
bool leave(QWidget* dialog, const QString& how) {
    const std::map<QString, Qt::Key> keys{
        {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}, {"Escape", Qt::Key_Escape}};
    if (how == QLatin1String("close box")) {
        dialog->close();
    } else if (keys.contains(how)) {
        QTest::keyClick(dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog, keys.at(how));
    } else {
        press(dialog, how);
    }
    const bool closed = !dialog->isVisible();
    if (!closed) {
        qobject_cast<QDialog*>(dialog)->reject();
    }
    return closed;
}

// The rows of the result list, cells joined by "|".
QStringList listed(QWidget& window) {
    const auto* list = window.findChild<QTableWidget*>();
    QStringList rows;
    for (int row = 0; row < list->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column) {
            const QTableWidgetItem* item = list->item(row, column);
            cells.append(item != nullptr ? item->text() : QString());
        }
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

// A row of the multi-check layout: the 13 outcomes, then the grade.
QString checkRow(const QString& single, const QString& grade = {}) {
    return (single.split(QString(), Qt::SkipEmptyParts) << grade).join(QLatin1Char('|'));
}

QStringList counts(QWidget& window) {
    QStringList texts;
    for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
        texts.append(findByName<QLineEdit>(&window, QString::fromUtf8(name))->text());
    }
    return texts;
}

// START on the single of all home wins against the all-1 results that the window starts with: one
// "１等" row and the counts 1, 0, 0, 1, which the dialogs' commands must leave alone.
void gradedRun(QWidget& window) {
    for (int match = 1; match <= kMatches; ++match) {
        press(&window, QStringLiteral("購入 試合%1 1").arg(match));
    }
    press(&window, QStringLiteral("START"));
}

// ---- support rates ----

QLineEdit* rateEdit(QWidget* dialog, int match, int column) {
    static const QStringList kColumns{"ホーム", "引き分け", "アウェイ"};
    return findByName<QLineEdit>(dialog,
                                 QStringLiteral("支持率 試合%1 %2").arg(match).arg(kColumns.at(column)));
}

// The table is grouped by column, 13 to a column: entry (match - 1) + 13 * column.
QStringList rateTexts(QWidget* dialog) {
    QStringList texts;
    for (int entry = 0; entry < kRates; ++entry) {
        texts.append(rateEdit(dialog, entry % kMatches + 1, entry / kMatches)->text());
    }
    return texts;
}

QStringList zerosWith(const std::map<std::pair<int, int>, QString>& entries = {}) {
    QStringList texts(kRates, QStringLiteral("0"));
    for (const auto& [place, text] : entries) {
        texts[place.first - 1 + kMatches * place.second] = text;
    }
    return texts;
}

// Click, select all, type. Text beyond Latin-1 arrives as an input-method commit, as from a Japanese IME.
void typeInto(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    if (QString::fromLatin1(text.toLatin1()) == text) {
        QTest::keyClicks(edit, text);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(edit, &commit);
    }
}

// Answers the next modal dialog once the application has made it the active window: the platform may call
// it active earlier, before the dialog has handed out the focus that keys go to.
void whenActive(std::function<void(QWidget*)> answer) {
    testsupport::onNextModal([answer = std::move(answer)](QWidget* dialog) {
        if (QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; })) {
            answer(dialog);
        } else {
            dialog->close();
        }
    });
}

void withRateDialog(QWidget& window, std::function<void(QWidget*)> answer) {
    whenActive(std::move(answer));
    press(&window, QStringLiteral("支持率入力"));
}

// What a fresh opening shows: the main window's table in "%g" form.
QStringList shownRates(QWidget& window) {
    QStringList texts;
    withRateDialog(window, [&texts](QWidget* dialog) {
        texts = rateTexts(dialog);
        press(dialog, QStringLiteral("ｷｬﾝｾﾙ"));
    });
    return texts;
}

void typeRate(QWidget& window, int match, int column, const QString& text) {
    withRateDialog(window, [=](QWidget* dialog) {
        typeInto(rateEdit(dialog, match, column), text);
        press(dialog, QStringLiteral("入力"));
    });
}

// ---- four groups ----

const QStringList kPredictions{"基本", "小波乱", "中波乱"};

QRadioButton* fourGroupRadio(QWidget* dialog, int prediction, int match, QChar outcome) {
    return findByName<QRadioButton>(
        dialog, QStringLiteral("%1 試合%2 %3").arg(kPredictions.at(prediction)).arg(match + 1).arg(outcome));
}

// Per prediction column, the outcome digit to choose for each match; "-" leaves the triple alone.
void choose(QWidget* dialog, const QStringList& columns) {
    for (int prediction = 0; prediction < 3; ++prediction) {
        for (int match = 0; match < kMatches; ++match) {
            if (const QChar outcome = columns.at(prediction).at(match); outcome != QLatin1Char('-')) {
                QTest::mouseClick(fourGroupRadio(dialog, prediction, match, outcome), Qt::LeftButton);
            }
        }
    }
}

// Candidate i takes block 1's column from i / 27, block 2's from i / 9, block 3's from i / 3 and block
// 4's from i, each modulo 3; the blocks are matches 1-3, 4-6, 7-9 and 10-13.
QString candidateSingle(const QStringList& columns, int candidate) {
    const std::array<int, 4> pick{candidate / 27, candidate / 9 % 3, candidate / 3 % 3, candidate % 3};
    QString single;
    for (int match = 0; match < kMatches; ++match) {
        single += columns.at(pick.at(match < 9 ? match / 3 : 3)).at(match);
    }
    return single;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_window = std::make_unique<CCheckerDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() {
        testsupport::cancelModalHandlers();
        m_window.reset();
    }

    void rateDialogOpensOnTheZeroTable() {
        QString title;
        QStringList texts;
        QString focused;
        int freeFormEdits = 0;
        withRateDialog(*m_window, [&](QWidget* dialog) {
            title = dialog->windowTitle();
            texts = rateTexts(dialog);
            if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) {
                focused = button->text();
            }
            for (auto* edit : dialog->findChildren<QLineEdit*>()) {
                freeFormEdits += edit->inputMask().isEmpty() && edit->validator() == nullptr ? 1 : 0;
            }
            typeInto(rateEdit(dialog, 1, 0), QStringLiteral("50%"));
            typeInto(rateEdit(dialog, 2, 1), QStringLiteral(" 12.5"));
            typeInto(rateEdit(dialog, 3, 2), QStringLiteral("５０"));
            testsupport::saveScreenshot(dialog, QStringLiteral("support-rate-dialog"));
            press(dialog, QStringLiteral("ｷｬﾝｾﾙ"));
        });
        QCOMPARE(title, QStringLiteral("支持率入力"));
        QCOMPARE(texts, zerosWith());
        QCOMPARE(focused, QStringLiteral("入力"));
        QCOMPARE(freeFormEdits, kRates);
    }

    void typedTextIsStoredAsItsLeadingNumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const char* typed, const char* shown) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(shown);
        };
        row("50%: the sign after the number is ignored", "50%", "50");
        row("' 12.5': a leading blank is skipped", " 12.5", "12.5");
        row("1e1: exponent form", "1e1", "10");
        row("-5: negative", "-5", "-5");
        row("５０: full-width digits are no number", "５０", "0");
        row("empty: 0", "", "0");
        row("letters: 0", "abc", "0");
        row("12.3456789: shown with six significant digits", "12.3456789", "12.3457");
    }
    void typedTextIsStoredAsItsLeadingNumber() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        CCheckerDlg& window = *m_window;
        // A 1 first, so that a 0 afterwards is something stored, not what was there.
        typeRate(window, 7, 1, QStringLiteral("1"));
        typeRate(window, 7, 1, typed);
        QCOMPARE(shownRates(window), zerosWith({{{7, 1}, shown}}));
    }

    void rateDialogConfirmsOrCancels_data() {
        QTest::addColumn<int>("match");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("stores");
        QTest::newRow("Return in the first home edit: stored") << 1 << 0 << "Return" << true;
        QTest::newRow("keypad Enter in the last away edit: stored") << 13 << 2 << "Enter" << true;
        QTest::newRow("入力: stored") << 6 << 1 << "入力" << true;
        QTest::newRow("ｷｬﾝｾﾙ: table untouched") << 6 << 1 << "ｷｬﾝｾﾙ" << false;
        QTest::newRow("Escape in an edit: table untouched") << 13 << 2 << "Escape" << false;
        QTest::newRow("close box: table untouched") << 1 << 0 << "close box" << false;
    }
    void rateDialogConfirmsOrCancels() {
        QFETCH(int, match);
        QFETCH(int, column);
        QFETCH(QString, how);
        QFETCH(bool, stores);
        CCheckerDlg& window = *m_window;
        typeRate(window, 2, 0, QStringLiteral("30"));
        bool closed = false;
        withRateDialog(window, [&](QWidget* dialog) {
            typeInto(rateEdit(dialog, 2, 0), QStringLiteral("99"));
            typeInto(rateEdit(dialog, match, column), QStringLiteral("33"));
            closed = leave(dialog, how);
        });
        QVERIFY(closed);
        QCOMPARE(shownRates(window),
                 stores ? zerosWith({{{2, 0}, "99"}, {{match, column}, "33"}}) : zerosWith({{{2, 0}, "30"}}));
    }

    void editsKeepAVeryLongText() {
        CCheckerDlg& window = *m_window;
        // Pasted, as nobody types it: a number whose decimal zeros run on, all of it the number 25.
        const QString pasted = QStringLiteral("25.") + QString(100000 - 3, QLatin1Char('0'));
        qsizetype kept = 0;
        withRateDialog(window, [&](QWidget* dialog) {
            QLineEdit* edit = rateEdit(dialog, 4, 1);
            QGuiApplication::clipboard()->setText(pasted);
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            kept = edit->text().size();
            press(dialog, QStringLiteral("入力"));
        });
        QCOMPARE(kept, pasted.size());
        QCOMPARE(shownRates(window), zerosWith({{{4, 1}, QStringLiteral("25")}}));
    }

    void fourGroupChoicesAreExpandedBlockByBlock_data() {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QList<int>>("candidates");
        QTest::addColumn<QStringList>("spotChecks");
        const QString unset(kMatches, QLatin1Char('-'));
        QList<int> every(81);
        std::iota(every.begin(), every.end(), 0);
        QTest::newRow("preset only: one single of 1s")
            << QStringList{kAllHome, unset, unset} << QList<int>{0} << QStringList{"0:1111111111111"};
        QTest::newRow("every upset triple chosen: all 81 candidates")
            << QStringList{kAllHome, "0000000000000", "2222222222222"} << every
            << QStringList{"1:1111111110000", "3:1111110001111", "41:0000000002222", "55:2221111110000",
                           "80:2222222222222"};
        QTest::newRow("block 1 small and block 4 medium complete: candidates 0, 2, 27, 29")
            << QStringList{kAllHome, "000----------", "---------2222"} << QList<int>{0, 2, 27, 29}
            << QStringList{"1:1111111112222", "2:0001111111111", "3:0001111112222"};
        QTest::newRow("partial upset columns contribute nothing")
            << QStringList{kAllHome, "00-00-00-000-", "-22-22-22-222"} << QList<int>{0} << QStringList{};
        QTest::newRow("an upset column equal to the basic one lists every single twice")
            << QStringList{kAllHome, "111----------", unset} << QList<int>{0, 27}
            << QStringList{"0:1111111111111", "1:1111111111111"};
        QTest::newRow("complete columns 2, 3, 1 and 2 per block: 12 singles")
            << QStringList{"0201201201200", "222000-------", "---111---0000"}
            << QList<int>{0, 2, 9, 11, 18, 20, 27, 29, 36, 38, 45, 47} << QStringList{"11:2221111200000"};
    }
    void fourGroupChoicesAreExpandedBlockByBlock() {
        QFETCH(QStringList, columns);
        QFETCH(QList<int>, candidates);
        QFETCH(QStringList, spotChecks);
        CCheckerDlg& window = *m_window;
        gradedRun(window);
        QString title;
        testsupport::MessageBoxSeen seen;
        whenActive([&](QWidget* dialog) {
            title = dialog->windowTitle();
            choose(dialog, columns);
            testsupport::saveScreenshot(dialog, QStringLiteral("four-group-dialog"));
            testsupport::answerNextMessageBox(seen);
            press(dialog, QStringLiteral("入力"));
        });
        press(&window, QStringLiteral("４群マルチ入力"));

        QCOMPARE(title, QStringLiteral("4群マルチ入力"));
        QStringList expected;
        for (const int candidate : candidates) {
            expected.append(checkRow(candidateSingle(columns, candidate)));
        }
        const QStringList rows = listed(window);
        QCOMPARE(rows, expected);
        for (const QString& spot : spotChecks) {
            const QStringList rowAndSingle = spot.split(QLatin1Char(':'));
            QCOMPARE(rows.at(rowAndSingle.at(0).toInt()), checkRow(rowAndSingle.at(1)));
        }
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QString::number(candidates.size()) + QStringLiteral("個展開しました。"));
        QCOMPARE(seen.title, QCoreApplication::applicationName());
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(counts(window), kOneFirstPrize);
    }

    void fourGroupIsRefusedInPayoutMode() {
        CCheckerDlg& window = *m_window;
        press(&window, QStringLiteral("モード変更"));
        press(&window, QStringLiteral("START"));
        const QStringList before = listed(window);
        QCOMPARE(before.size(), 1);
        // The four-group dialog, had it opened instead, would be closed unrecorded: seen.shown stays false.
        testsupport::MessageBoxSeen seen;
        testsupport::answerNextMessageBox(seen);
        press(&window, QStringLiteral("４群マルチ入力"));
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QStringLiteral("マルチチェックモードに切り替えてください"));
        QCOMPARE(seen.title, QCoreApplication::applicationName());
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(listed(window), before);
    }

    void cancellingFourGroupsKeepsTheList_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("ｷｬﾝｾﾙ button") << "ｷｬﾝｾﾙ";
        QTest::newRow("Escape key") << "Escape";
        QTest::newRow("close box") << "close box";
    }
    void cancellingFourGroupsKeepsTheList() {
        QFETCH(QString, how);
        CCheckerDlg& window = *m_window;
        gradedRun(window);
        testsupport::MessageBoxSeen seen;
        bool closed = false;
        whenActive([&](QWidget* dialog) {
            choose(dialog, {QStringLiteral("0000000000000"), QStringLiteral("222----------"),
                            QString(kMatches, QLatin1Char('-'))});
            testsupport::answerNextMessageBox(seen);
            closed = leave(dialog, how);
        });
        press(&window, QStringLiteral("４群マルチ入力"));
        QVERIFY(closed);
        QVERIFY(!seen.shown);
        QCOMPARE(listed(window), QStringList{checkRow(kAllHome, QStringLiteral("１等"))});
        QCOMPARE(counts(window), kOneFirstPrize);
    }

private:
    std::unique_ptr<CCheckerDlg> m_window;
};

POMELAK_GUI_TEST_MAIN(TestDialogs)

#include "tst_dialogs.moc"
