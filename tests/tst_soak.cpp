// A long run of random player actions on the main window and its two dialogs, seeded so that a failure
// can be replayed: POMELAK_SOAK_SEED and POMELAK_SOAK_ACTIONS override the seed and the number of actions.
// After every action the window must still show what a player relies on. Expected values come from what
// the window shows; the small model here only remembers what an action must leave alone.
#include "gui_test_support.h"

#include "res/resource_ids.h"
#include "ui/checker_dlg.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <random>

using testsupport::findByName;

namespace {

constexpr int kMatches = 13;
// The outcome digits in the order of the grid columns: home, draw, away.
const QString kGridOrder = QStringLiteral("102");
const QStringList kMultiHeaders{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "等"};
const QStringList kPayoutHeaders{"配当", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
const QStringList kGrades{"１等", "２等", "３等"};

enum Kind { Purchase, Result, Option, Mode, Start, FourGroup, SupportRate, KindCount };
constexpr std::array<const char*, KindCount> kKindNames{"purchase", "result",     "option",      "mode",
                                                        "start",    "four-group", "support-rate"};
// START and the grids get most turns; the modes still switch and the dialogs open a few hundred times.
constexpr std::array<int, KindCount> kWeights{26, 14, 6, 5, 16, 5, 5};

quint64 environmentOr(const char* name, quint64 fallback) {
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// The offscreen platform says this for every dialog it shows; a thousand of them would bury the rest.
QtMessageHandler g_testLog = nullptr;
void dropSizeHintNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QLatin1String("propagateSizeHints"))) {
        g_testLog(type, context, message);
    }
}

// What the window shows, as far as the checks compare it across one action.
struct Shown {
    QString ticks;   // '1' or '0' per purchase box, match by match
    QString results; // the checked outcome digit of each match
    QString modeLabel;
    bool multiCheck = true;
    bool singlesOnly = false;
    QList<QStringList> rows;
    QStringList counts;
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        g_testLog = qInstallMessageHandler(dropSizeHintNotices);
        m_window = std::make_unique<pomelak::CCheckerDlg>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // Found once by name, as a screen reader tells them apart; a search per action would cost minutes.
        for (int match = 0; match < kMatches; ++match) {
            for (int column = 0; column < 3; ++column) {
                const QString name = QStringLiteral("試合%1 %2").arg(match + 1).arg(kGridOrder.at(column));
                m_boxes[match][column] = findByName<QCheckBox>(m_window.get(), "購入 " + name);
                m_radios[match][column] = findByName<QRadioButton>(m_window.get(), "結果 " + name);
                QVERIFY(m_boxes[match][column] != nullptr && m_radios[match][column] != nullptr);
            }
        }
        for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
            m_countFields.append(findByName<QLineEdit>(m_window.get(), name));
            QVERIFY(m_countFields.last() != nullptr);
        }
        m_mode = findByName<QToolButton>(m_window.get(), QStringLiteral("モード変更"));
        m_option = findByName<QCheckBox>(m_window.get(), QStringLiteral("シングル分解のみ"));
        m_list = m_window->controlAs<QTableWidget>(pomelak::kIdcResultList);
        QVERIFY(m_mode != nullptr && m_option != nullptr && m_list != nullptr);
        QCOMPARE(shown().results.size(), kMatches);
    }
    void cleanup() {
        testsupport::cancelModalHandlers();
        m_window.reset();
        qInstallMessageHandler(g_testLog);
    }

    void randomActionsKeepTheWindowConsistent() {
        const quint64 seed = environmentOr("POMELAK_SOAK_SEED", 20261206);
        const quint64 actions = environmentOr("POMELAK_SOAK_ACTIONS", 3000);
        m_rng.seed(static_cast<std::mt19937::result_type>(seed));
        for (quint64 i = 0; i < actions; ++i) {
            // Only enabled controls are offered: the purchase grid in multi-check mode, the results
            // unless singles only.
            std::array<int, KindCount> weights = kWeights;
            weights[Purchase] *= m_boxes[0][0]->isEnabled() ? 1 : 0;
            weights[Result] *= m_radios[0][0]->isEnabled() ? 1 : 0;
            const auto kind =
                static_cast<Kind>(std::discrete_distribution<int>(weights.begin(), weights.end())(m_rng));
            m_boxesSeen.clear();
            m_fourGroupSingles = -1;
            m_problem = QString();
            const Shown before = shown();
            act(kind, before);
            testsupport::cancelModalHandlers();
            const QString where =
                QStringLiteral("action %1 (%2), seed %3: ").arg(i).arg(kKindNames[kind]).arg(seed);
            if (QApplication::activeModalWidget() != nullptr) {
                m_problem += QStringLiteral("a modal stayed open");
            }
            if (!QTest::currentTestFailed()) {
                QVERIFY2(m_problem.isEmpty(), qPrintable(where + m_problem));
                check(kind, before);
            }
            if (QTest::currentTestFailed()) {
                qWarning("%s", qPrintable(where));
                return;
            }
            ++m_tally[kKindNames[kind]];
        }
        QStringList tally;
        for (const auto& [name, count] : m_tally) {
            tally.append(QStringLiteral("%1 %2").arg(QString::fromStdString(name)).arg(count));
        }
        qInfo("soak: %llu actions, seed %llu (%s)", actions, seed,
              qPrintable(tally.join(QStringLiteral(", "))));
    }

private:
    int pick(qsizetype n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(m_rng); }
    bool chance(int percent) { return pick(100) < percent; }

    [[nodiscard]] Shown shown() const {
        Shown state;
        for (int match = 0; match < kMatches; ++match) {
            for (int column = 0; column < 3; ++column) {
                state.ticks.append(QLatin1Char(m_boxes[match][column]->isChecked() ? '1' : '0'));
                if (m_radios[match][column]->isChecked()) {
                    state.results.append(kGridOrder.at(column));
                }
            }
        }
        state.modeLabel = m_window->controlAs<QLabel>(pomelak::kIdcModeLabel)->text();
        state.multiCheck = state.modeLabel == "マルチチェックモード";
        state.singlesOnly = m_option->isChecked();
        for (int row = 0; row < m_list->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < m_list->columnCount(); ++column) {
                const QTableWidgetItem* item = m_list->item(row, column);
                cells.append(item != nullptr ? item->text() : QString());
            }
            state.rows.append(cells);
        }
        for (const QLineEdit* field : m_countFields) {
            state.counts.append(field->text());
        }
        return state;
    }

    // Steers the ticket among empty matches, ordinary multis and multis over the unit limit, so that
    // START meets each of its outcomes often; uniform clicks would leave almost every ticket over the limit.
    QCheckBox* purchaseTarget() {
        std::vector<QCheckBox*> ticked;
        std::vector<QCheckBox*> spare; // ticked, but not the only tick of its match
        std::vector<QCheckBox*> inEmptyMatch;
        for (const auto& boxes : m_boxes) {
            const auto marks =
                std::count_if(boxes.begin(), boxes.end(), [](auto* box) { return box->isChecked(); });
            for (QCheckBox* box : boxes) {
                (marks == 0 ? inEmptyMatch : ticked).push_back(box);
                if (marks > 1 && box->isChecked()) {
                    spare.push_back(box);
                }
            }
        }
        std::erase_if(ticked, [](auto* box) { return !box->isChecked(); });
        if (!inEmptyMatch.empty() && chance(70)) {
            return inEmptyMatch[pick(std::ssize(inEmptyMatch))];
        }
        if (std::ssize(ticked) > kMatches + pick(26)) {
            const auto& from = !spare.empty() && chance(70) ? spare : ticked;
            return from[pick(std::ssize(from))];
        }
        return m_boxes[pick(kMatches)][pick(3)];
    }

    // Mostly a result that the ticket misses moves onto a ticked outcome, so that singles win prizes.
    QRadioButton* resultTarget(const Shown& before) {
        std::vector<QRadioButton*> repairs;
        for (int match = 0; match < kMatches; ++match) {
            const bool missed = !m_boxes[match][kGridOrder.indexOf(before.results.at(match))]->isChecked();
            for (int column = 0; missed && column < 3; ++column) {
                if (m_boxes[match][column]->isChecked()) {
                    repairs.push_back(m_radios[match][column]);
                }
            }
        }
        return !repairs.empty() && chance(75) ? repairs[pick(std::ssize(repairs))]
                                              : m_radios[pick(kMatches)][pick(3)];
    }

    void act(Kind kind, const Shown& before) {
        // Any action might open a modal; the handler answers it and every one that follows it.
        testsupport::onNextModal([this](QWidget* modal) { answer(modal); });
        m_target = kind == Purchase ? static_cast<QAbstractButton*>(purchaseTarget())
                   : kind == Result ? resultTarget(before)
                                    : nullptr;
        switch (kind) {
        case Purchase:
            return operate(m_target, "purchase", "cs");
        case Result:
            return operate(m_target, "result", "c");
        case Option:
            return operate(m_option, "option", "cst");
        case Mode:
            return operate(m_mode, "mode", "ct");
        case Start:
            return operate(findByName<QPushButton>(m_window.get(), QStringLiteral("START")), "start", "c");
        default:
            return operate(
                findByName<QToolButton>(m_window.get(), kind == FourGroup ? "４群マルチ入力" : "支持率入力"),
                kKindNames[kind], "c");
        }
    }

    // One of the given ways: a click, Space while the button has the focus, or a screen reader's toggle.
    void operate(QAbstractButton* button, const std::string& kind, std::string_view ways) {
        const char way = ways[pick(std::ssize(ways))];
        if (ways.size() > 1) {
            ++m_tally[kind + (way == 'c' ? " click" : way == 's' ? " space" : " toggle")];
        }
        if (way == 'c') {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (way == 's') {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Space);
        } else {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
            QVERIFY(accessible != nullptr && accessible->actionInterface() != nullptr);
            accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        }
    }

    // Runs inside the modal's own event loop, so it only records and answers; check() judges afterwards.
    void answer(QWidget* modal) {
        testsupport::onNextModal([this](QWidget* next) { answer(next); });
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box != nullptr && box->button(QMessageBox::Ok) != nullptr) {
            m_boxesSeen.append(box->windowTitle() + QLatin1Char('|') + box->text());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (modal->windowTitle() == QStringLiteral("支持率入力")) {
            answerSupportRates(qobject_cast<QDialog*>(modal));
        } else if (modal->windowTitle() == QStringLiteral("4群マルチ入力")) {
            answerFourGroups(qobject_cast<QDialog*>(modal));
        }
        // Anything else, or a dialog that ignored its answer, is a fault; closing it keeps the run going.
        if (modal->isVisible()) {
            m_problem += " modal left open: " + modal->windowTitle();
            modal->close();
        }
    }

    void answerSupportRates(QDialog* dialog) {
        std::vector<QLineEdit*> edits;
        QStringList texts;
        for (int match = 1; match <= kMatches; ++match) {
            for (const char* column : {"ホーム", "引き分け", "アウェイ"}) {
                edits.push_back(
                    findByName<QLineEdit>(dialog, QStringLiteral("支持率 試合%1 %2").arg(match).arg(column)));
                texts.append(edits.back() != nullptr ? edits.back()->text() : QStringLiteral("(missing)"));
            }
        }
        if (texts.contains("(missing)") || (!m_expectedRateTexts.isEmpty() && texts != m_expectedRateTexts)) {
            m_problem = QStringLiteral("rate texts %1, expected %2")
                            .arg(texts.join(' '), m_expectedRateTexts.join(' '));
            return dialog->reject();
        }
        // Now and then a whole table of ordinary rates, so that estimates are more than 0円.
        const bool fill = chance(40);
        for (std::size_t i = 0; fill && i < edits.size(); ++i) {
            typeInto(edits[i],
                     QString::number((chance(3) ? -1 : 1) * (1 + pick(100))) + (chance(20) ? ".5" : ""));
        }
        static const QStringList kTexts{"0",     "50",       "12.5",    " 12.5",      "50%",    "-5",
                                        "1e1",   "",         "abc",     "1e308",      "-1e308", "1e-320",
                                        "1e999", "4.9e-324", "1e-5",    "12.3456789", "５０",   "ごじゅう",
                                        "😀",     "50😀",      "１２．５"};
        const std::array<QString, 4> longTexts{
            QString(10000 + pick(3000), QLatin1Char('9')), "0." + QString(10000, QLatin1Char('0')) + "1",
            "1e" + QString(10000, QLatin1Char(chance(50) ? '9' : '0')) + "5",
            QString(12000, QChar(0x3042))}; // あ
        const int typed = pick(6);
        for (int i = 0; i < typed; ++i) {
            typeInto(edits[pick(std::ssize(edits))],
                     chance(20) ? longTexts[pick(4)] : kTexts.at(pick(kTexts.size())));
        }
        m_tally["rates typed"] += typed + (fill ? 39 : 0);
        // Confirmed untouched, the texts stay as long as each reads back as the number it shows.
        static const QRegularExpression kNumber(QStringLiteral("^-?\\d+(\\.\\d+)?(e[-+]\\d+)?$"));
        const bool numbers =
            std::all_of(texts.begin(), texts.end(), [](auto& t) { return kNumber.match(t).hasMatch(); });
        const bool confirmed = leave(dialog, "rates", edits[pick(std::ssize(edits))]);
        m_expectedRateTexts = !confirmed || (typed == 0 && !fill && numbers) ? texts : QStringList();
    }

    // Gets text into a field the way a player would: keys for ASCII, the input method for Japanese and
    // other non-ASCII text, the clipboard for very long text.
    void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        if (chance(80)) {
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
        if (text.size() > 100) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            QTest::keyClicks(edit, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(edit, &commit);
        }
    }

    void answerFourGroups(QDialog* dialog) {
        std::map<QString, QRadioButton*> radios;
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
            radios[radio->accessibleName()] = radio;
        }
        if (radios.size() != 3 * 3 * kMatches) {
            m_problem = QStringLiteral("%1 named radios in the four-group dialog").arg(radios.size());
            return dialog->reject();
        }
        const auto radio = [&](int column, int match, int outcome) {
            const std::array<const char*, 3> columns{"基本", "小波乱", "中波乱"};
            return radios[QStringLiteral("%1 試合%2 %3")
                              .arg(columns[column])
                              .arg(match + 1)
                              .arg(kGridOrder.at(outcome))];
        };
        for (int clicks = pick(30); clicks > 0; --clicks) {
            QTest::mouseClick(radio(pick(3), pick(kMatches), pick(3)), Qt::LeftButton);
        }
        // A block offers one choice per prediction column that has a radio chosen in each of its matches.
        int singles = 1;
        for (const auto& [first, end] : {std::pair{0, 3}, {3, 6}, {6, 9}, {9, kMatches}}) {
            int complete = 0;
            for (int column = 0; column < 3; ++column) {
                int match = first;
                while (match < end &&
                       (radio(column, match, 0)->isChecked() || radio(column, match, 1)->isChecked() ||
                        radio(column, match, 2)->isChecked())) {
                    ++match;
                }
                complete += match == end ? 1 : 0;
            }
            singles *= complete;
        }
        m_fourGroupSingles = leave(dialog, "four-group", dialog) ? singles : -1;
    }

    // Leaves a dialog one of the five ways a player can; returns whether that way confirms it.
    bool leave(QDialog* dialog, const std::string& name, QWidget* keyTarget) {
        const int how = pick(5);
        static const std::array<const char*, 5> kWays{" 入力", " Enter", " ｷｬﾝｾﾙ", " Escape", " close"};
        ++m_tally[name + kWays[how]];
        if (how == 0 || how == 2) {
            QTest::mouseClick(findByName<QPushButton>(dialog, how == 0 ? "入力" : "ｷｬﾝｾﾙ"), Qt::LeftButton);
        } else if (how == 1 || how == 3) {
            keyTarget->setFocus();
            QTest::keyClick(keyTarget, how == 1 ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            dialog->close();
        }
        return how < 2;
    }

    void check(Kind kind, const Shown& before) {
        const Shown after = shown();
        // Only the control the action operated changes; the mode and the option change only by their buttons.
        QString ticks = before.ticks;
        QString results = before.results;
        int units = 1;
        for (int match = 0; match < kMatches; ++match) {
            for (int column = 0; column < 3; ++column) {
                if (m_target == m_boxes[match][column]) {
                    ticks[3 * match + column] =
                        QLatin1Char(ticks.at(3 * match + column) == QLatin1Char('1') ? '0' : '1');
                } else if (m_target == m_radios[match][column]) {
                    results[match] = kGridOrder.at(column);
                }
                QCOMPARE(m_boxes[match][column]->isEnabled(), after.multiCheck);
                QCOMPARE(m_radios[match][column]->isEnabled(), !after.singlesOnly);
            }
            units *= static_cast<int>(after.ticks.mid(3 * match, 3).count(QLatin1Char('1')));
        }
        QCOMPARE(after.ticks, ticks);
        QCOMPARE(after.results, results); // and so exactly one result per match
        QVERIFY2(after.multiCheck || after.modeLabel == "１等配当金予想モード", qPrintable(after.modeLabel));
        QCOMPARE(after.multiCheck, before.multiCheck != (kind == Mode));
        QCOMPARE(after.singlesOnly, before.singlesOnly != (kind == Option));
        QCOMPARE(m_mode->isChecked(), !after.multiCheck);
        QStringList headers;
        for (int column = 0; column < m_list->columnCount(); ++column) {
            headers.append(m_list->horizontalHeaderItem(column)->text());
        }
        QCOMPARE(headers, after.multiCheck ? kMultiHeaders : kPayoutHeaders);

        // What the list, the count fields and the message boxes must show after this action.
        QStringList boxes;
        QList<QStringList> rows = before.rows;
        QStringList counts = before.counts;
        const QString appName = QCoreApplication::applicationName();
        const bool multiStart = kind == Start && before.multiCheck;
        if (multiStart && (units == 0 || units > 96)) {
            boxes.append(
                units == 0
                    ? "購入マルチ入力エラー|購入マルチの項目は１～１３までどれか1個は必ず選んでください。"
                    : "購入口数エラー|最大購入口数は96口までです。\nダブルのみならダブル6個まで\n"
                      "トリプルのみならトリプル4個までにしてください。");
            rows.clear();
            ++m_tally[units == 0 ? "start: a match unmarked" : "start: over 96 units"];
        } else if (multiStart || m_fourGroupSingles >= 0) {
            // Rows of outcome digits; START's are the distinct singles of the ticket, graded unless singles
            // only.
            QCOMPARE(after.rows.size(), multiStart ? units : m_fourGroupSingles);
            std::array<int, 3> prizes{};
            for (const QStringList& row : after.rows) {
                int hits = 0;
                for (int match = 0; match < kMatches; ++match) {
                    const QString& outcome = row.at(match);
                    QVERIFY2(outcome.size() == 1 && kGridOrder.contains(outcome), qPrintable(row.join(' ')));
                    QVERIFY(!multiStart || m_boxes[match][kGridOrder.indexOf(outcome)]->isChecked());
                    hits += outcome == after.results.at(match) ? 1 : 0;
                }
                const bool graded = multiStart && !before.singlesOnly && hits >= 11;
                QCOMPARE(row.at(13), graded ? kGrades.at(13 - hits) : QString());
                if (graded) {
                    ++prizes[13 - hits];
                    ++m_tally[kGrades.at(13 - hits).toStdString() + " rows"];
                }
            }
            QVERIFY(!multiStart || QSet<QStringList>(after.rows.begin(), after.rows.end()).size() == units);
            if (multiStart && !before.singlesOnly) {
                counts = {QString::number(prizes[0]), QString::number(prizes[1]), QString::number(prizes[2]),
                          QString::number(units)};
            } else if (!multiStart) {
                boxes.append(appName + QStringLiteral("|%1個展開しました。").arg(m_fourGroupSingles));
            }
            rows = after.rows;
            ++m_tally[!multiStart          ? "four-group: listed"
                      : before.singlesOnly ? "start: singles only"
                                           : "start: graded"];
        } else if (kind == Start) {
            // Each START of the payout mode appends the estimate of the single the result grid shows.
            QCOMPARE(after.rows.size(), before.rows.size() + 1);
            const QStringList& estimate = after.rows.last();
            static const QRegularExpression kYen(QStringLiteral("^-?\\d+円$"));
            QVERIFY2(kYen.match(estimate.first()).hasMatch(), qPrintable(estimate.first()));
            QCOMPARE(estimate.mid(1).join(QString()), after.results);
            rows.append(estimate);
            ++m_tally[estimate.first() == "0円" ? "start: estimate 0円" : "start: estimate"];
        } else if (kind == FourGroup && !before.multiCheck) {
            boxes.append(appName + "|マルチチェックモードに切り替えてください");
        } else if (kind == Mode) {
            rows.clear();
        }
        QCOMPARE(m_boxesSeen, boxes);
        QCOMPARE(after.rows, rows);
        QCOMPARE(after.counts, counts);
    }

    std::mt19937 m_rng;
    std::unique_ptr<pomelak::CCheckerDlg> m_window;
    std::array<std::array<QCheckBox*, 3>, kMatches> m_boxes{};
    std::array<std::array<QRadioButton*, 3>, kMatches> m_radios{};
    QList<QLineEdit*> m_countFields;
    QToolButton* m_mode = nullptr;
    QCheckBox* m_option = nullptr;
    QTableWidget* m_list = nullptr;
    QAbstractButton* m_target = nullptr; // the grid control the current action operates
    // What the modals of the current action showed, and what their handler could not do.
    QStringList m_boxesSeen;
    int m_fourGroupSingles = -1; // singles a confirmed four-group dialog asked for; -1 without a confirm
    QString m_problem;
    // Texts the rate dialog must show when it opens next; empty when its last answer may have changed them.
    QStringList m_expectedRateTexts = QStringList(39, QStringLiteral("0"));
    std::map<std::string, int> m_tally;
};

POMELAK_GUI_TEST_MAIN(TestSoak)

#include "tst_soak.moc"
