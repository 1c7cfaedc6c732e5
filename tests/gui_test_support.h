// Shared pieces of the GUI tests: a main() that runs under the program's own application object (its
// style, font substitutes and translations) with a watchdog that fails a test within seconds when a modal
// window nobody answers stays open; finding controls the way a user or a screen reader tells them apart;
// a player's actions on the main window; answering modal dialogs once they are open.
#pragma once

#include "ui/checker_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace testsupport {

// Fails the running test when one modal window or popup menu stays open for three seconds, which no answer
// a test gives takes, and closes it so that the test returns instead of waiting for a user who is not there.
class ModalWatchdog {
public:
    ModalWatchdog() {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            QWidget* modal = QApplication::activePopupWidget() != nullptr ? QApplication::activePopupWidget()
                                                                          : QApplication::activeModalWidget();
            m_ticks = modal != nullptr && modal == m_seen.data() ? m_ticks + 1 : 0;
            m_seen = modal;
            if (m_ticks == kPatienceTicks) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                const QString what = modal->windowTitle() + (box != nullptr ? ": " + box->text() : QString());
                QTest::qFail(qPrintable("an unexpected modal window stayed open: " + what), __FILE__,
                             __LINE__);
                modal->close();
            }
        });
        m_timer.start(kTickMs);
    }

private:
    static constexpr int kTickMs = 250;
    static constexpr int kPatienceTicks = 12;
    QTimer m_timer;
    QPointer<QWidget> m_seen;
    int m_ticks = 0;
};

// The control of the given type whose accessible name (or text, for captioned controls) is the name.
template <class T> T* findByName(const QWidget* window, const QString& name) {
    for (T* widget : window->findChildren<T*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        if (widget->accessibleName() == name || (button != nullptr && button->text() == name)) {
            return widget;
        }
    }
    return nullptr;
}

// A grid control by the name a screen reader gives it: "購入 試合7 0" is the purchase box of match 7's
// draw; match from 0.
template <class T> T* cell(const QWidget* window, const QString& grid, int match, const QString& column) {
    return findByName<T>(window, QStringLiteral("%1 試合%2 %3").arg(grid).arg(match + 1).arg(column));
}

inline void press(const QWidget* window, const QString& name) {
    auto* button = findByName<QAbstractButton>(window, name);
    QVERIFY2(button != nullptr, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Ticks exactly the marks given per match ("10 102 - 1 ...", "-" leaves a match unmarked), clicking only
// the boxes whose state has to change.
inline void buy(const QWidget* window, const QString& purchase) {
    const QStringList marks = purchase.split(QLatin1Char(' '));
    for (int box = 0; box < 39; ++box) {
        const QString outcome = QStringLiteral("102").at(box % 3);
        auto* check = cell<QAbstractButton>(window, QStringLiteral("購入"), box / 3, outcome);
        if (check->isChecked() != marks.at(box / 3).contains(outcome)) {
            QTest::mouseClick(check, Qt::LeftButton);
        }
    }
}

// Clicks the result radio of each match's outcome digit.
inline void setResults(const QWidget* window, const QString& results) {
    for (int match = 0; match < 13; ++match) {
        QTest::mouseClick(cell<QAbstractButton>(window, QStringLiteral("結果"), match, results.at(match)),
                          Qt::LeftButton);
    }
}

// The rows of the result list as shown, cells joined by "|".
inline QStringList listed(const QWidget* window) {
    const QAbstractItemModel* list = window->findChild<QTableWidget*>()->model();
    QStringList rows;
    for (int row = 0; row < list->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column) {
            cells.append(list->index(row, column).data().toString());
        }
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

inline QStringList counts(const QWidget* window) {
    QStringList texts;
    for (const char* name : {"1等当選個数", "2等当選個数", "3等当選個数", "購入口数"}) {
        texts.append(findByName<QLineEdit>(window, QString::fromUtf8(name))->text());
    }
    return texts;
}

// Calls handler with the next modal widget that opens after this call, from inside its event loop. The
// handler must close the widget; it should only record what it sees and leave the checks to the test.
inline void onNextModal(std::function<void(QWidget*)> handler) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("modalPoll"));
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, before, handler = std::move(handler)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != before.data() && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            handler(modal);
        }
    });
    poll->start(5);
}

// Drops the handlers whose modal widget never opened; their captures die with the test function.
inline void cancelModalHandlers() {
    qDeleteAll(qApp->findChildren<QTimer*>(QStringLiteral("modalPoll"), Qt::FindDirectChildrenOnly));
}

// Records the next message box as text, caption, icon and its buttons' texts, and presses OK.
inline void answerNextMessageBox(QStringList& seen) {
    onNextModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            seen = {QStringLiteral("not a message box: ") + modal->windowTitle()};
            return void(modal->close());
        }
        seen = {box->text(), box->windowTitle(), QString::number(box->icon())};
        for (QAbstractButton* button : box->buttons()) {
            seen.append(button->text());
        }
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
}

// Saves a picture of the widget into the build tree, for a reviewer to look at.
inline void saveScreenshot(QWidget* widget, const QString& name) {
    QDir(QStringLiteral(POMELAK_SCREENSHOT_DIR)).mkpath(QStringLiteral("."));
    widget->grab().save(QStringLiteral(POMELAK_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

} // namespace testsupport

#define POMELAK_GUI_TEST_MAIN(TestObject)                                                                    \
    int main(int argc, char** argv) {                                                                        \
        pomelak::CCheckerApp app(argc, argv);                                                                \
        const testsupport::ModalWatchdog watchdog;                                                           \
        TestObject test;                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
