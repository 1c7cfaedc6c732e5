// A long run of random player actions on the main window and its two dialogs, seeded so that a failure
// can be replayed: POMELAK_SOAK_SEED and POMELAK_SOAK_ACTIONS override the seed and the number of actions.
// After every action the window must still hold together: one result per match, list columns, pressed
// and enabled controls that agree with the mode and the option, count fields that only a graded START
// changes, a well-formed estimate row per START of the payout mode, and no modal left open.
#include "gui_test_support.h"

#include "ui/checker_dlg.h"

// One header for the widgets, the accessibility and the text classes the actions and checks use.
#include <QtWidgets>

#include <map>
#include <random>
#include <ranges>

namespace {

enum Kind { Purchase, Result, Option, Mode, Start, FourGroup, SupportRate, KindCount };
constexpr std::array<const char*, KindCount> kKindNames{"purchase", "result",     "option",      "mode",
                                                        "start",    "four-group", "support-rate"};
const QStringList kTexts{"50",
                         " 12.5",
                         "50%",
                         "-5",
                         "",
                         "abc",
                         "1e999",
                         "1e-320",
                         "12.3456789",
                         "５０",
                         QString(12000, '9'),
                         "0." + QString(10000, '0') + "1"};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomActionsKeepTheWindowConsistent() {
        const auto setting = [](const char* name, quint64 fallback) {
            bool ok = false;
            const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
            return ok && value > 0 ? value : fallback;
        };
        const quint64 seed = setting("POMELAK_SOAK_SEED", 20261206);
        const quint64 actions = setting("POMELAK_SOAK_ACTIONS", 5000);
        m_rng.seed(static_cast<std::mt19937::result_type>(seed));
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        for (int cell = 0; cell < 39; ++cell) {
            const QString name = QStringLiteral("試合%1 %2").arg(cell / 3 + 1).arg("102"[cell % 3]);
            m_boxes.append(testsupport::findByName<QCheckBox>(&m_window, "購入 " + name));
            m_radios.append(testsupport::findByName<QRadioButton>(&m_window, "結果 " + name));
        }
        for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
            m_counts.append(testsupport::findByName<QLineEdit>(&m_window, name));
        }
        for (const char* name : {"シングル分解のみ", "モード変更", "START", "４群マルチ入力", "支持率入力"}) {
            m_buttons.append(testsupport::findByName<QAbstractButton>(&m_window, name));
        }
        QVERIFY(!m_boxes.contains(nullptr) && !m_radios.contains(nullptr) && !m_counts.contains(nullptr) &&
                !m_buttons.contains(nullptr));
        for (quint64 i = 0; i < actions; ++i) {
            // START and the grids get most turns; only enabled controls are offered.
            const auto kind = static_cast<Kind>(std::discrete_distribution<int>{
                26.0 * m_boxes[0]->isEnabled(), 14.0 * m_radios[0]->isEnabled(), 6, 5, 16, 5, 5}(m_rng));
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

    [[nodiscard]] QStringList countTexts() const {
        QStringList texts;
        std::ranges::transform(m_counts, std::back_inserter(texts), &QLineEdit::text);
        return texts;
    }
    [[nodiscard]] int units() const {
        int product = 1;
        for (int match = 0; match < 13; ++match) {
            product *= int(std::ranges::count_if(m_boxes.mid(3 * match, 3), &QCheckBox::isChecked));
        }
        return product;
    }

    // Steers the ticket among unmarked matches, ordinary multis and multis over the unit limit, so that
    // START meets each of its outcomes often; uniform clicks would leave almost every ticket over the limit.
    QAbstractButton* purchaseTarget() {
        QList<QCheckBox*> empty,
            spare; // boxes of unmarked matches; ticks that are not their match's only one
        for (int cell = 0; cell < 39; ++cell) {
            const auto marks = std::ranges::count_if(m_boxes.mid(cell - cell % 3, 3), &QCheckBox::isChecked);
            if (marks == 0 || (marks > 1 && m_boxes[cell]->isChecked())) {
                (marks == 0 ? empty : spare).append(m_boxes[cell]);
            }
        }
        return !empty.isEmpty() && pick(10) < 7          ? empty[pick(empty.size())]
               : !spare.isEmpty() && units() > pick(200) ? spare[pick(spare.size())]
                                                         : m_boxes[pick(39)];
    }

    // Mostly a result that the ticket misses moves onto a ticked outcome, so that singles win prizes.
    QAbstractButton* resultTarget() {
        QList<QRadioButton*> repairs;
        for (int cell = 0; cell < 39; ++cell) {
            const int first = cell - cell % 3;
            const QList<QRadioButton*> radios = m_radios.mid(first, 3);
            const auto result = std::ranges::find_if(radios, &QRadioButton::isChecked) - radios.begin();
            if (m_boxes[cell]->isChecked() && result < 3 && !m_boxes[first + result]->isChecked()) {
                repairs.append(m_radios[cell]);
            }
        }
        return !repairs.isEmpty() && pick(4) < 3 ? repairs[pick(repairs.size())] : m_radios[pick(39)];
    }

    void act(Kind kind) {
        // Any action might open a modal; the handler answers it and every one that follows it.
        testsupport::onNextModal([this](QWidget* modal) { answer(modal); });
        QAbstractButton* button = kind == Purchase ? purchaseTarget()
                                  : kind == Result ? resultTarget()
                                                   : m_buttons[kind - Option];
        // A click, Space with the focus (toolbar buttons never take it), or a screen reader's toggle.
        const int way =
            pick(kind == Purchase || kind == Option ? 2 : 1) + (kind == Option || kind == Mode ? pick(2) : 0);
        if (way == 0) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (way == 1 && button->focusPolicy() != Qt::NoFocus) {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Space);
        } else {
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::toggleAction());
        }
    }

    // Runs inside the modal's own event loop, so it only answers. A message box gets OK. A dialog gets
    // random radio clicks or rate texts, whichever it has, and is left one of the five ways a player can.
    void answer(QWidget* modal) {
        testsupport::onNextModal([this](QWidget* next) { answer(next); });
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++m_tally["box " + box->windowTitle().toStdString()];
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            return;
        }
        const QList<QRadioButton*> radios = modal->findChildren<QRadioButton*>();
        for (int clicks = radios.isEmpty() ? 0 : pick(30); clicks > 0; --clicks) {
            QTest::mouseClick(radios.at(pick(radios.size())), Qt::LeftButton);
        }
        // Now and then a whole table of ordinary rates, so that estimates are more than 0円; then a few
        // texts as players type or paste them.
        const QList<QLineEdit*> edits = modal->findChildren<QLineEdit*>();
        const bool table = pick(10) < 4;
        for (qsizetype i = 0; i < (table ? edits.size() : 0); ++i) {
            type(edits[i], QString::number((pick(30) == 0 ? -0.5 : 0.5) * (1 + pick(200))));
        }
        for (int typed = edits.isEmpty() ? 0 : pick(6); typed > 0; --typed) {
            type(edits.at(pick(edits.size())), kTexts.at(pick(kTexts.size())));
        }
        static const std::array<const char*, 5> kLeave{"入力", "ｷｬﾝｾﾙ", "Enter", "Escape", "close"};
        const int how = pick(5);
        ++m_tally[modal->windowTitle().toStdString() + " " + kLeave[how]];
        if (how < 2) {
            testsupport::press(modal, kLeave[how]);
        } else if (how < 4) {
            QTest::keyClick(modal->focusWidget() != nullptr ? modal->focusWidget() : modal,
                            how == 2 ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            modal->close();
        }
    }

    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(edit, &commit);
    }

    void check(Kind kind, QStringList counts, int rowsBefore) {
        QVERIFY2(QApplication::activeModalWidget() == nullptr, "a modal stayed open");
        const QString mode = m_list->accessibleName();
        const bool multiCheck = mode == "シングル分解結果";
        QVERIFY2(multiCheck || mode == "予想配当金計算結果", qPrintable(mode));
        const bool singlesOnly = m_buttons[0]->isChecked();
        QCOMPARE(m_buttons[1]->isChecked(), !multiCheck);
        for (int match = 0; match < 13; ++match) {
            QCOMPARE(std::ranges::count_if(m_radios.mid(3 * match, 3), &QRadioButton::isChecked), 1);
        }
        QCOMPARE(std::ranges::count_if(m_boxes, &QWidget::isEnabled), multiCheck ? 39 : 0);
        QCOMPARE(std::ranges::count_if(m_radios, &QWidget::isEnabled), singlesOnly ? 0 : 39);
        QCOMPARE(m_list->model()->headerData(0, Qt::Horizontal).toString(), multiCheck ? "1" : "配当");
        QCOMPARE(m_list->model()->headerData(13, Qt::Horizontal).toString(), multiCheck ? "等" : "13");

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
            const QString estimate = m_list->item(m_list->rowCount() - 1, 0)->text();
            QVERIFY2(kYen.match(estimate).hasMatch(), qPrintable(estimate));
            ++m_tally[estimate == "0円" ? "estimates of 0円" : "estimates"];
        }
        QCOMPARE(countTexts(), counts);
    }

    std::mt19937 m_rng;
    pomelak::CCheckerDlg m_window;
    QTableWidget* m_list = m_window.findChild<QTableWidget*>();
    QList<QCheckBox*> m_boxes;
    QList<QRadioButton*> m_radios;
    QList<QLineEdit*> m_counts;
    QList<QAbstractButton*> m_buttons; // singles-only option, mode, START, four-group and rate dialogs
    std::map<std::string, int> m_tally;
};

POMELAK_GUI_TEST_MAIN(TestSoak)

#include "tst_soak.moc"
