#include "ui/window_shell.h"

#include <QMenu>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace pomelak {

namespace {

// An item with this id is a separator; no system command uses 0.
constexpr unsigned kSeparatorId = 0;

} // namespace

bool SystemMenu::exists() const {
#ifdef Q_OS_WIN
    return GetSystemMenu(reinterpret_cast<HWND>(m_window->winId()), FALSE) != nullptr;
#else
    return m_window != nullptr;
#endif
}

void SystemMenu::appendSeparator() {
#ifdef Q_OS_WIN
    AppendMenuW(GetSystemMenu(reinterpret_cast<HWND>(m_window->winId()), FALSE), MF_SEPARATOR, 0, nullptr);
#endif
    m_items.append({kSeparatorId, QString()});
}

void SystemMenu::appendItem(unsigned commandId, const QString& text) {
#ifdef Q_OS_WIN
    AppendMenuW(GetSystemMenu(reinterpret_cast<HWND>(m_window->winId()), FALSE), MF_STRING, commandId,
                reinterpret_cast<LPCWSTR>(text.utf16()));
#endif
    m_items.append({commandId, text});
}

std::optional<unsigned> SystemMenu::popup(const QPoint& globalPos) const {
    QMenu menu(m_window);
    for (const Item& item : m_items) {
        if (item.commandId == kSeparatorId) {
            menu.addSeparator();
        } else {
            menu.addAction(item.text)->setData(item.commandId);
        }
    }
    const QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    return chosen->data().toUInt();
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
