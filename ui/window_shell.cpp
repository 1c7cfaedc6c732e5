#include "ui/window_shell.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace pomelak {

QAction* addMenuCommand(QMenu* menu, const QString& text, std::function<void()> command) {
    QAction* action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, menu, [menu, command = std::move(command)] {
        // A click or Enter has closed the menu already; a direct trigger leaves it open.
        menu->hide();
        command();
    });
    return action;
}

namespace {

class PasteRoute : public QObject {
public:
    PasteRoute(QWidget* control, std::function<bool(std::string_view)> handler)
        : QObject(control), m_handler(std::move(handler)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            return offer();
        }
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (event->type() != QEvent::ContextMenu || edit == nullptr) {
            return false;
        }
        // The edit's own menu, its paste item, known by its shortcut, handed to the handler first.
        QMenu* menu = edit->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        const QString pasteKey = '\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions()) {
            if (action->text().endsWith(pasteKey)) {
                QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, edit, [this, edit] {
                    if (!offer()) {
                        edit->paste();
                    }
                });
            }
        }
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }

private:
    bool offer() const {
        const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
        return m_handler(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }

    std::function<bool(std::string_view)> m_handler;
};

} // namespace

void routePaste(QWidget* control, std::function<bool(std::string_view)> handler) {
    new PasteRoute(control, std::move(handler));
}

SystemMenu::SystemMenu(QWidget* window, std::function<void(unsigned)> onCommand)
    : m_window(window), m_menu(new QMenu(window)), m_onCommand(std::move(onCommand)) {}

void SystemMenu::appendSeparator() {
#ifdef Q_OS_WIN
    // A window without a system menu gets nothing appended, and nothing is reported.
    if (HMENU native = GetSystemMenu(reinterpret_cast<HWND>(m_window->winId()), FALSE)) {
        AppendMenuW(native, MF_SEPARATOR, 0, nullptr);
    }
#endif
    m_menu->addSeparator();
}

void SystemMenu::appendItem(unsigned commandId, const QString& text) {
#ifdef Q_OS_WIN
    if (HMENU native = GetSystemMenu(reinterpret_cast<HWND>(m_window->winId()), FALSE)) {
        AppendMenuW(native, MF_STRING, commandId, reinterpret_cast<LPCWSTR>(text.utf16()));
    }
#endif
    addMenuCommand(m_menu, text, [this, commandId] { m_onCommand(commandId); });
}

void SystemMenu::popup(const QPoint& globalPos) {
    m_menu->popup(globalPos);
}

std::optional<unsigned> SystemMenu::systemCommandOf(const void* nativeMessage) {
#ifdef Q_OS_WIN
    const auto* message = static_cast<const MSG*>(nativeMessage);
    if (message->message == WM_SYSCOMMAND) {
        return static_cast<unsigned>(message->wParam);
    }
#else
    Q_UNUSED(nativeMessage);
#endif
    return std::nullopt;
}

} // namespace pomelak
