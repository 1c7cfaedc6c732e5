// Shared pieces of the GUI tests: a main() that runs under the program's own application object (its
// style and font substitutes), finding controls the way a user or a screen reader tells them apart, and
// answering modal dialogs by finding them once they are open.
#pragma once

#include "ui/checker_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

#define POMELAK_GUI_TEST_MAIN(TestObject)                                                                    \
    int main(int argc, char** argv) {                                                                        \
        pomelak::CCheckerApp app(argc, argv);                                                                \
        TestObject test;                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

namespace testsupport {

// The control of the given type whose accessible name (or text, for captioned controls) is the name.
template <class T>
T* findByName(const QWidget* window, const QString& name) {
    for (T* widget : window->findChildren<T*>()) {
        if (widget->accessibleName() == name) {
            return widget;
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget); button && button->text() == name) {
            return widget;
        }
    }
    return nullptr;
}

// What a message box showed when it was answered.
struct MessageBoxSeen {
    bool shown = false;
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Calls handler with the next modal widget that opens after this call, from inside its event loop. The
// handler must close the widget; it should only record what it sees and leave the checks to the test.
inline void onNextModal(std::function<void(QWidget*)> handler) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("modalPoll"));
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, before, handler = std::move(handler)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == before.data() || !modal->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        handler(modal);
    });
    poll->start(5);
}

// Drops the handlers whose modal widget never opened; their captures die with the test function.
inline void cancelModalHandlers() {
    for (QTimer* poll : qApp->findChildren<QTimer*>(QStringLiteral("modalPoll"), Qt::FindDirectChildrenOnly)) {
        delete poll;
    }
}

// Records the next message box and presses its OK button (or closes it when it has none).
inline void answerNextMessageBox(MessageBoxSeen& seen) {
    onNextModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        seen = {true, box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else {
            box->reject();
        }
    });
}

// Saves a picture of the widget into the build tree, for a reviewer to look at.
inline void saveScreenshot(QWidget* widget, const QString& name) {
    const QDir dir(QStringLiteral(POMELAK_SCREENSHOT_DIR));
    dir.mkpath(QStringLiteral("."));
    widget->grab().save(dir.filePath(name + QStringLiteral(".png")));
}

} // namespace testsupport
