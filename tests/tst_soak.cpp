// A long run of random player actions on the main window and its two dialogs, seeded so that a failure
// can be replayed: POMELAK_SOAK_SEED and POMELAK_SOAK_ACTIONS override the seed and the number of actions.
// After every action the window must still hold together: one result per match, list columns, pressed
// and enabled controls that agree with the mode and the option, count fields that only a graded START
// changes, a well-formed estimate row per START of the payout mode, and no modal left open.
#include "gui_test_support.h"

#include "res/resource_ids.h"
#include "ui/checker_dlg.h"

// One header for the widgets, the accessibility and the text classes the actions and checks use.
#include <QtWidgets>

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <random>
#include <ranges>
#include <string_view>

namespace {

constexpr int kMatches = 13;
const QStringList kMultiHeaders{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "等"};
const QStringList kPayoutHeaders{"配当", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};

enum Kind { Purchase, Result, Option, Mode, Start, FourGroup, SupportRate, KindCount };
constexpr std::array<const char*, KindCount> kKindNames{"purchase", "result",     "option",      "mode",
                                                        "start",    "four-group", "support-rate"};
// c click, s Space with the focus, t a screen reader's toggle; toolbar buttons never take the focus.
constexpr std::array<std::string_view, KindCount> kWays{"cs", "c", "cst", "ct", "c", "c", "c"};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        // The offscreen platform says this for every dialog it shows; a thousand of them would bury the rest.
        static const QtMessageHandler testLog = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.contains(QLatin1String("propagateSizeHints"))) {
                    testLog(type, context, message);
                }
            });
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        // Found once by name, as a screen reader tells them apart; a search per action would cost minutes.
        for (int cell = 0; cell < 3 * kMatches; ++cell) {
            const QString name = QStringLiteral("試合%1 %2").arg(cell / 3 + 1).arg("102"[cell % 3]);
            m_boxes[cell / 3][cell % 3] = testsupport::findByName<QCheckBox>(&m_window, "購入 " + name);
            m_radios[cell / 3][cell % 3] = testsupport::findByName<QRadioButton>(&m_window, "結果 " + name);
            QVERIFY(m_boxes[cell / 3][cell % 3] != nullptr && m_radios[cell / 3][cell % 3] != nullptr);
        }
        for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
            m_counts.append(testsupport::findByName<QLineEdit>(&m_window, name));
        }
        for (const char* name : {"シングル分解のみ", "モード変更", "START", "４群マルチ入力", "支持率入力"}) {
            m_buttons.append(testsupport::findByName<QAbstractButton>(&m_window, name));
        }
        QVERIFY(!m_counts.contains(nullptr) && !m_buttons.contains(nullptr) && m_list != nullptr);
    }

    void randomActionsKeepTheWindowConsistent() {
        // A value that is not a number falls back to the default, so a typo cannot turn the soak into a
        // no-op.
        const auto setting = [](const char* name, quint64 fallback) {
            bool ok = false;
            const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
            return ok && value > 0 ? value : fallback;
        };
        const quint64 seed = setting("POMELAK_SOAK_SEED", 20261206);
        const quint64 actions = setting("POMELAK_SOAK_ACTIONS", 3000);
        m_rng.seed(static_cast<std::mt19937::result_type>(seed));
        for (quint64 i = 0; i < actions; ++i) {
            // START and the grids get most turns, the dialogs still open a few hundred times; only enabled
            // controls are offered: the purchase grid in multi-check mode, the results unless singles only.
            const auto kind = static_cast<Kind>(
                std::discrete_distribution<int>{26.0 * m_boxes[0][0]->isEnabled(),
                                                14.0 * m_radios[0][0]->isEnabled(), 6, 5, 16, 5, 5}(m_rng));
            ++m_tally[kKindNames[kind]];
            const QStringList counts = countTexts();
            const int rows = m_list->rowCount();
            act(kind);
            testsupport::cancelModalHandlers();
            check(kind, counts, rows);
            if (QTest::currentTestFailed()) {
                return qWarning("action %llu (%s), seed %llu", i, kKindNames[kind], seed);
            }
        }
        std::string tally;
        for (const auto& [name, count] : m_tally) {
            tally += (tally.empty() ? "" : ", ") + name + " " + std::to_string(count);
        }
        qInfo("soak: %llu actions, seed %llu (%s)", actions, seed, tally.c_str());
    }

private:
    int pick(qsizetype n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(m_rng); }
    bool chance(int percent) { return pick(100) < percent; }

    [[nodiscard]] QStringList countTexts() const {
        return {m_counts[0]->text(), m_counts[1]->text(), m_counts[2]->text(), m_counts[3]->text()};
    }
    [[nodiscard]] int units() const {
        return std::accumulate(m_boxes.begin(), m_boxes.end(), 1, [](int product, const auto& boxes) {
            return product * static_cast<int>(std::ranges::count_if(boxes, &QCheckBox::isChecked));
        });
    }

    // Steers the ticket among empty matches, ordinary multis and multis over the unit limit, so that
    // START meets each of its outcomes often; uniform clicks would leave almost every ticket over the limit.
    QAbstractButton* purchaseTarget() {
        std::vector<QCheckBox*> inEmptyMatch, spareTicks; // spare: not the only tick of its match
        for (const auto& boxes : m_boxes) {
            const auto marks = std::ranges::count_if(boxes, &QCheckBox::isChecked);
            std::ranges::copy_if(
                boxes, std::back_inserter(marks == 0 ? inEmptyMatch : spareTicks),
                [&](QCheckBox* box) { return marks == 0 || (marks > 1 && box->isChecked()); });
        }
        const bool fill = !inEmptyMatch.empty() && chance(70);
        const bool trim = !spareTicks.empty() && units() > pick(200);
        return fill   ? inEmptyMatch[pick(std::ssize(inEmptyMatch))]
               : trim ? spareTicks[pick(std::ssize(spareTicks))]
                      : m_boxes[pick(kMatches)][pick(3)];
    }

    // Mostly a result that the ticket misses moves onto a ticked outcome, so that singles win prizes.
    QAbstractButton* resultTarget() {
        std::vector<QRadioButton*> repairs;
        for (int cell = 0; cell < 3 * kMatches; ++cell) {
            const auto& boxes = m_boxes[cell / 3];
            const auto& radios = m_radios[cell / 3];
            const auto result = std::ranges::find_if(radios, &QRadioButton::isChecked) - radios.begin();
            if (boxes[cell % 3]->isChecked() && result < 3 && !boxes[result]->isChecked()) {
                repairs.push_back(radios[cell % 3]);
            }
        }
        return !repairs.empty() && chance(75) ? repairs[pick(std::ssize(repairs))]
                                              : m_radios[pick(kMatches)][pick(3)];
    }

    void act(Kind kind) {
        // Any action might open a modal; the handler answers it and every one that follows it.
        testsupport::onNextModal([this](QWidget* modal) { answer(modal); });
        QAbstractButton* button = kind == Purchase ? purchaseTarget()
                                  : kind == Result ? resultTarget()
                                                   : m_buttons[kind - Option];
        const char way = kWays[kind][pick(std::ssize(kWays[kind]))];
        if (way == 'c') {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (way == 's') {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Space);
        } else if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
                   accessible != nullptr && accessible->actionInterface() != nullptr) {
            accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        } else {
            m_problem += " no toggle action";
        }
    }

    // Runs inside the modal's own event loop, so it only answers; the checks come after the action. A
    // message box gets OK. A dialog gets random radio clicks or rate texts, whichever it has, and is left
    // one of the five ways a player can: its two buttons, Enter, Escape, or closing it.
    void answer(QWidget* modal) {
        testsupport::onNextModal([this](QWidget* next) { answer(next); });
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box != nullptr && box->button(QMessageBox::Ok) != nullptr) {
            ++m_tally["box " + box->windowTitle().toStdString()];
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && box == nullptr) {
            const QList<QRadioButton*> radios = dialog->findChildren<QRadioButton*>();
            for (int clicks = radios.isEmpty() ? 0 : pick(30); clicks > 0; --clicks) {
                QTest::mouseClick(radios.at(pick(radios.size())), Qt::LeftButton);
            }
            typeRates(dialog->findChildren<QLineEdit*>());
            static const std::array<const char*, 5> kLeave{"入力", "ｷｬﾝｾﾙ", "Enter", "Escape", "close"};
            const int how = pick(5);
            ++m_tally[dialog->windowTitle().toStdString() + " " + kLeave[how]];
            if (auto* button = testsupport::findByName<QPushButton>(dialog, kLeave[how]); button != nullptr) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else if (how == 2 || how == 3) {
                QTest::keyClick(dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog,
                                how == 2 ? Qt::Key_Return : Qt::Key_Escape);
            } else if (how == 4) {
                dialog->close();
            }
        }
        // Anything else, a dialog that ignored its answer or lacks a button, is a fault; closing it keeps
        // the run going.
        if (modal->isVisible()) {
            m_problem += " left open: " + modal->windowTitle();
            modal->close();
        }
    }

    void typeRates(const QList<QLineEdit*>& edits) {
        // Short texts as players type them, and long runs of digits, of zeros after "0." or in an exponent,
        // and of Japanese text.
        static const QStringList kTexts =
            QStringList{"0",          "50",    " 12.5",    "50%",    "-5",      "",
                        "abc",        "1e308", "-1e308",   "1e-320", "1e999",   "4.9e-324",
                        "12.3456789", "５０",  "ごじゅう", "50😀",    "１２．５"} +
            QStringList{QString(12000, '9'), "0." + QString(10000, '0') + "1", "1e" + QString(10000, '9'),
                        QString(12000, QChar(0x3042))};
        std::vector<std::pair<QLineEdit*, QString>> typing;
        // Now and then a whole table of ordinary rates, so that estimates are more than 0円.
        for (qsizetype i = chance(40) ? 0 : edits.size(); i < edits.size(); ++i) {
            typing.emplace_back(edits[i], QString::number((chance(3) ? -0.5 : 0.5) * (1 + pick(200))));
        }
        for (int i = edits.isEmpty() ? 0 : pick(6); i > 0; --i) {
            typing.emplace_back(edits[pick(edits.size())], kTexts.at(pick(kTexts.size())));
        }
        // Keys for short ASCII text; the input method for Japanese, other non-ASCII and very long text.
        for (const auto& [edit, text] : typing) {
            edit->setFocus();
            // Mostly the whole text is replaced; otherwise the last character goes and the text is added.
            QTest::keyClick(edit, chance(80) ? Qt::Key_A : Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Backspace);
            if (text.size() <= 100 && std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x80; })) {
                QTest::keyClicks(edit, text);
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(text);
                QApplication::sendEvent(edit, &commit);
            }
        }
    }

    void check(Kind kind, QStringList counts, int rowsBefore) {
        QVERIFY2(m_problem.isEmpty() && QApplication::activeModalWidget() == nullptr,
                 qPrintable(m_problem.isEmpty() ? "a modal stayed open" : m_problem));
        const QString label = m_window.controlAs<QLabel>(pomelak::kIdcModeLabel)->text();
        const bool multiCheck = label == "マルチチェックモード";
        const bool singlesOnly = m_buttons[0]->isChecked();
        QVERIFY2(multiCheck || label == "１等配当金予想モード", qPrintable(label));
        QCOMPARE(m_buttons[1]->isChecked(), !multiCheck);
        QVERIFY(std::ranges::all_of(m_radios, [](auto& radios) {
            return std::ranges::count_if(radios, &QRadioButton::isChecked) == 1;
        }));
        QCOMPARE(std::ranges::count_if(m_boxes | std::views::join, &QWidget::isEnabled), multiCheck ? 39 : 0);
        QCOMPARE(std::ranges::count_if(m_radios | std::views::join, &QWidget::isEnabled),
                 singlesOnly ? 0 : 39);
        QStringList headers;
        for (int column = 0; column < m_list->columnCount(); ++column) {
            headers.append(m_list->model()->headerData(column, Qt::Horizontal).toString());
        }
        QCOMPARE(headers, multiCheck ? kMultiHeaders : kPayoutHeaders);

        // START leaves the mode, the option and the ticket as they were.
        if (kind == Start && multiCheck && !singlesOnly && units() > 0 && units() <= 96) {
            // A graded START shows how many of its rows won each prize, and how many rows there are.
            counts.clear();
            for (const char* grade : {"１等", "２等", "３等"}) {
                counts.append(QString::number(m_list->findItems(grade, Qt::MatchExactly).size()));
                m_tally[std::string(grade) + " rows"] += counts.last().toInt();
            }
            counts.append(QString::number(m_list->rowCount()));
        } else if (kind == Start && !multiCheck) {
            QCOMPARE(m_list->rowCount(), rowsBefore + 1);
            static const QRegularExpression kYen(QStringLiteral("^-?\\d+円$"));
            const QString estimate = m_list->model()->index(m_list->rowCount() - 1, 0).data().toString();
            QVERIFY2(kYen.match(estimate).hasMatch(), qPrintable(estimate));
            ++m_tally[estimate == "0円" ? "estimates of 0円" : "estimates"];
        }
        QCOMPARE(countTexts(), counts);
    }

    std::mt19937 m_rng;
    pomelak::CCheckerDlg m_window;
    QTableWidget* m_list = m_window.controlAs<QTableWidget>(pomelak::kIdcResultList);
    std::array<std::array<QCheckBox*, 3>, kMatches> m_boxes{};
    std::array<std::array<QRadioButton*, 3>, kMatches> m_radios{};
    QList<QLineEdit*> m_counts;
    QList<QAbstractButton*> m_buttons; // singles-only option, mode, START, four-group and rate dialogs
    QString m_problem;                 // what the answers to a modal could not do; the first one ends the run
    std::map<std::string, int> m_tally;
};

POMELAK_GUI_TEST_MAIN(TestSoak)

#include "tst_soak.moc"
