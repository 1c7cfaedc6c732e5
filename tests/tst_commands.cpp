// START as a player uses it: a multi ticked on the purchase grid and checked against the results, the
// single-only option, the two purchase errors, the mode switch, and the first-prize estimates that START
// appends in the payout-estimate mode. Expected singles and grades come from a small odometer and a hit
// count written here, not from the program's own core.
#include "gui_test_support.h"

#include "ui/checker_dlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <memory>

using pomelak::CCheckerDlg;
using testsupport::findByName;

namespace {

constexpr int kMatches = 13;
// The outcome digits in the order of the grid columns: home, draw, away.
const QString kGridOrder = QStringLiteral("102");

void press(QWidget& window, const QString& name) {
    auto* button = findByName<QAbstractButton>(&window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

QCheckBox* purchaseBox(QWidget& window, int match, QChar outcome) {
    return findByName<QCheckBox>(&window, QStringLiteral("購入 試合%1 %2").arg(match + 1).arg(outcome));
}

QRadioButton* resultRadio(QWidget& window, int match, QChar outcome) {
    return findByName<QRadioButton>(&window, QStringLiteral("結果 試合%1 %2").arg(match + 1).arg(outcome));
}

// "10 102 - 1 ..." -> the marks of matches 1 to 13 in grid order; "-" is a match left unmarked.
QStringList marks(const QString& perMatch) {
    return perMatch.split(QLatin1Char(' ')).replaceInStrings(QStringLiteral("-"), QString());
}

// One mark per match: the digits of a single.
QStringList picks(const QString& single) {
    return single.split(QString(), Qt::SkipEmptyParts);
}

// Ticks exactly the given marks, clicking only the boxes whose state has to change.
void buy(QWidget& window, const QStringList& perMatch) {
    for (int match = 0; match < kMatches; ++match) {
        for (const QChar outcome : kGridOrder) {
            QCheckBox* box = purchaseBox(window, match, outcome);
            if (box->isChecked() != perMatch.at(match).contains(outcome)) {
                QTest::mouseClick(box, Qt::LeftButton);
            }
        }
    }
}

void setResults(QWidget& window, const QString& results) {
    for (int match = 0; match < kMatches; ++match) {
        QTest::mouseClick(resultRadio(window, match, results.at(match)), Qt::LeftButton);
    }
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

QStringList counts(QWidget& window) {
    QStringList texts;
    for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
        texts.append(findByName<QLineEdit>(&window, QString::fromUtf8(name))->text());
    }
    return texts;
}

// A multi-check row: the 13 outcomes, then the grade.
QString checkRow(const QString& single, const QString& grade) {
    return (picks(single) << grade).join(QLatin1Char('|'));
}

// A payout row: the estimate, then the 13 outcomes.
QString payoutRow(const QString& yen, const QString& single) {
    return (QStringList{yen} + picks(single)).join(QLatin1Char('|'));
}

// Every single of the marks in odometer order: match 13 turns fastest, each match runs through its marks
// in grid order.
QStringList singlesOf(const QStringList& perMatch) {
    QStringList singles{QString()};
    for (const QString& matchMarks : perMatch) {
        QStringList longer;
        for (const QString& prefix : std::as_const(singles)) {
            for (const QChar outcome : matchMarks) {
                longer.append(prefix + outcome);
            }
        }
        singles = longer;
    }
    return singles;
}

// 13, 12 and 11 hits win the first, second and third prize; fewer win nothing.
QString gradeOf(const QString& single, const QString& results) {
    int hits = 0;
    for (int match = 0; match < kMatches; ++match) {
        hits += single.at(match) == results.at(match) ? 1 : 0;
    }
    return hits >= 11 ? QStringList{"３等", "２等", "１等"}.at(hits - 11) : QString();
}

QStringList expectedRows(const QStringList& perMatch, const QString& results, bool graded) {
    QStringList rows;
    for (const QString& single : singlesOf(perMatch)) {
        rows.append(checkRow(single, graded ? gradeOf(single, results) : QString()));
    }
    return rows;
}

const QString kAllHome = QStringLiteral("1111111111111");
const QStringList kOneFirstPrize{"1", "0", "0", "1"};

// A graded run whose counts the later steps must leave alone: one single equal to the results.
void gradedRunOf(QWidget& window, const QString& single) {
    setResults(window, single);
    buy(window, picks(single));
    press(window, QStringLiteral("START"));
}

QString rateName(int match, int column) {
    static const QStringList kColumns{"ホーム", "引き分け", "アウェイ"};
    return QStringLiteral("支持率 試合%1 %2").arg(match + 1).arg(kColumns.at(column));
}

// Replaces the edit's text the way a player does: click, select all, type.
void typeInto(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// Opens the support-rate dialog from the toolbar, types the texts into the edits they name and confirms.
void enterRates(QWidget& window, const QHash<QString, QString>& texts) {
    testsupport::onNextModal([texts](QWidget* dialog) {
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            typeInto(findByName<QLineEdit>(dialog, it.key()), it.value());
        }
        QTest::mouseClick(findByName<QPushButton>(dialog, QStringLiteral("入力")), Qt::LeftButton);
    });
    press(window, QStringLiteral("支持率入力"));
}

} // namespace

class TestCommands : public QObject {
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

    void multiOf96UnitsIsListedAndGraded() {
        CCheckerDlg& window = *m_window;
        const QStringList perMatch = marks(QStringLiteral("10 10 10 10 10 102 1 1 1 1 1 1 1"));
        setResults(window, kAllHome);
        buy(window, perMatch);
        press(window, QStringLiteral("START"));

        const QStringList rows = listed(window);
        QCOMPARE(rows.size(), 96); // 2^5 * 3
        QCOMPARE(rows, expectedRows(perMatch, kAllHome, true));
        QCOMPARE(rows.first(), checkRow(kAllHome, QStringLiteral("１等")));
        QCOMPARE(rows.last(), checkRow(QStringLiteral("0000021111111"), QString()));
        // One miss is one of five draws or match 6's draw or away: 7; two misses: C(5,2) + 5 * 2 = 20.
        QCOMPARE(counts(window), QStringList({"1", "7", "20", "96"}));
        testsupport::saveScreenshot(m_window.get(), QStringLiteral("main-graded-96"));
    }

    void singleTicketIsGradedByItsHits_data() {
        QTest::addColumn<QString>("single");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QStringList>("fields");
        // The results are always 1021021021021.
        const auto row = [](const char* name, const char* single, const char* grade, QStringList fields) {
            QTest::newRow(name) << QString::fromUtf8(single) << QString::fromUtf8(grade) << fields;
        };
        row("13 hits: １等", "1021021021021", "１等", {"1", "0", "0", "1"});
        row("12 hits, last match missed: ２等", "1021021021022", "２等", {"0", "1", "0", "1"});
        row("11 hits: ３等", "1121021021001", "３等", {"0", "0", "1", "1"});
        row("10 hits: no grade, still one unit", "0201021021001", "", {"0", "0", "0", "1"});
    }
    void singleTicketIsGradedByItsHits() {
        QFETCH(QString, single);
        QFETCH(QString, grade);
        QFETCH(QStringList, fields);
        CCheckerDlg& window = *m_window;
        setResults(window, QStringLiteral("1021021021021"));
        buy(window, picks(single));
        press(window, QStringLiteral("START"));
        QCOMPARE(listed(window), QStringList{checkRow(single, grade)});
        QCOMPARE(counts(window), fields);
    }

    void singleOnlyListsWithoutGrading_data() {
        QTest::addColumn<bool>("gradedBefore");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("first run: count fields stay empty") << false << QStringList{"", "", "", ""};
        QTest::newRow("after a graded run: its counts stay") << true << kOneFirstPrize;
    }
    void singleOnlyListsWithoutGrading() {
        QFETCH(bool, gradedBefore);
        QFETCH(QStringList, fields);
        CCheckerDlg& window = *m_window;
        if (gradedBefore) {
            gradedRunOf(window, kAllHome);
        }
        // Results equal to the first single: a graded run would have given it "１等".
        setResults(window, kAllHome);
        const QStringList perMatch = marks(QStringLiteral("10 1 1 1 1 1 1 1 1 1 1 1 02"));
        buy(window, perMatch);
        press(window, QStringLiteral("シングル分解のみ"));
        press(window, QStringLiteral("START"));
        QCOMPARE(listed(window), expectedRows(perMatch, kAllHome, false));
        QCOMPARE(counts(window), fields);
    }

    void purchaseErrorsAreReported_data() {
        QTest::addColumn<QString>("purchase");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        const QString noMark =
            QStringLiteral("購入マルチの項目は１～１３までどれか1個は必ず選んでください。");
        const QString tooMany = QStringLiteral("最大購入口数は96口までです。\nダブルのみならダブル6個まで\n"
                                               "トリプルのみならトリプル4個までにしてください。");
        QTest::newRow("match 13 unmarked, the rest triples: no mark, not too many units")
            << "102 102 102 102 102 102 102 102 102 102 102 102 -" << noMark << "購入マルチ入力エラー";
        QTest::newRow("match 1 unmarked, the rest single picks")
            << "- 1 1 1 1 1 1 1 1 1 1 1 1" << noMark << "購入マルチ入力エラー";
        QTest::newRow("2 doubles and 3 triples: 108 units")
            << "10 02 102 102 102 1 1 1 1 1 1 1 1" << tooMany << "購入口数エラー";
        QTest::newRow("7 doubles: 128 units")
            << "10 10 10 10 10 10 12 1 1 1 1 1 1" << tooMany << "購入口数エラー";
        QTest::newRow("5 triples: 243 units")
            << "1 1 1 1 1 1 1 1 102 102 102 102 102" << tooMany << "購入口数エラー";
    }
    void purchaseErrorsAreReported() {
        QFETCH(QString, purchase);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        CCheckerDlg& window = *m_window;
        gradedRunOf(window, kAllHome);
        buy(window, marks(purchase));
        testsupport::MessageBoxSeen seen;
        testsupport::answerNextMessageBox(seen);
        press(window, QStringLiteral("START"));

        QVERIFY(seen.shown);
        QCOMPARE(seen.text, text);
        QCOMPARE(seen.title, caption);
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(listed(window).isEmpty());
        QCOMPARE(counts(window), kOneFirstPrize);
    }

    void payoutEstimateOfThePredictedSingle_data() {
        QTest::addColumn<QString>("prediction");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("oddMatch");
        QTest::addColumn<QString>("oddRate");
        QTest::addColumn<QString>("yen");
        // The chosen rates are `rate`, one match's `oddRate`; the estimate is 23.5 over the product of the
        // chosen rates / 100, truncated toward zero.
        const auto row = [](const char* name, const char* prediction, const char* rate, int oddMatch,
                            const char* oddRate, const char* yen) {
            QTest::newRow(name) << QString::fromUtf8(prediction) << QString::fromUtf8(rate) << oddMatch
                                << QString::fromUtf8(oddRate) << QString::fromUtf8(yen);
        };
        row("no rates entered: 0円", "1111111111111", "", -1, "", "0円");
        row("every chosen rate 50: 23.5 * 2^13", "1021021021021", "50", -1, "", "192512円");
        row("every chosen rate 100: 23.5 truncated", "2222222222222", "100", -1, "", "23円");
        row("one chosen rate 200: 11.75 truncated", "0202020202020", "100", 0, "200", "11円");
        row("one chosen rate -50: negative", "0000000000000", "50", 6, "-50", "-192512円");
        row("one chosen rate 0: 0円", "1021021021021", "50", 12, "0", "0円");
        // 23.5 * 5^13 = 28686523437.5: more than 32 bits, written out in full.
        row("every chosen rate 20: every digit", "1111111111111", "20", -1, "", "28686523437円");
    }
    void payoutEstimateOfThePredictedSingle() {
        QFETCH(QString, prediction);
        QFETCH(QString, rate);
        QFETCH(int, oddMatch);
        QFETCH(QString, oddRate);
        QFETCH(QString, yen);
        CCheckerDlg& window = *m_window;
        gradedRunOf(window, prediction);
        press(window, QStringLiteral("モード変更"));
        // The switch empties the list but leaves the graded counts.
        QVERIFY(listed(window).isEmpty());
        QCOMPARE(counts(window), kOneFirstPrize);
        if (!rate.isEmpty()) {
            // The outcomes not chosen get a rate that would change the estimate if it were read.
            QHash<QString, QString> texts;
            for (int match = 0; match < kMatches; ++match) {
                for (int column = 0; column < 3; ++column) {
                    const bool chosen = kGridOrder.at(column) == prediction.at(match);
                    texts.insert(rateName(match, column), !chosen             ? QStringLiteral("7")
                                                          : match == oddMatch ? oddRate
                                                                              : rate);
                }
            }
            enterRates(window, texts);
        }
        // The purchase grid still holds the graded single; START in this mode must not look at it.
        press(window, QStringLiteral("START"));
        QCOMPARE(listed(window), QStringList{payoutRow(yen, prediction)});
        QCOMPARE(counts(window), kOneFirstPrize);
    }

    void payoutRowsAccumulateFromTheCheckedRadios() {
        CCheckerDlg& window = *m_window;
        press(window, QStringLiteral("モード変更"));
        QHash<QString, QString> texts{{rateName(0, 1), QStringLiteral("100")}};
        for (int match = 0; match < kMatches; ++match) {
            texts.insert(rateName(match, 0), QStringLiteral("50"));
        }
        enterRates(window, texts);

        press(window, QStringLiteral("START"));
        QTest::mouseClick(resultRadio(window, 0, QLatin1Char('0')), Qt::LeftButton);
        press(window, QStringLiteral("START"));
        // Disabled radios keep their choice, and the estimate reads it.
        press(window, QStringLiteral("シングル分解のみ"));
        QVERIFY(!resultRadio(window, 0, QLatin1Char('0'))->isEnabled());
        press(window, QStringLiteral("START"));

        // Match 1's factor goes from 0.5 to 1: 23.5 * 2^12 = 96256.
        const QString drawFirst = QStringLiteral("0111111111111");
        QCOMPARE(listed(window), QStringList({payoutRow(QStringLiteral("192512円"), kAllHome),
                                              payoutRow(QStringLiteral("96256円"), drawFirst),
                                              payoutRow(QStringLiteral("96256円"), drawFirst)}));
        QCOMPARE(counts(window), QStringList({"", "", "", ""}));
        testsupport::saveScreenshot(m_window.get(), QStringLiteral("main-payout-rows"));
    }

private:
    std::unique_ptr<CCheckerDlg> m_window;
};

POMELAK_GUI_TEST_MAIN(TestCommands)

#include "tst_commands.moc"
