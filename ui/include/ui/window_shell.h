// The window services the dialogs need and Qt leaves to the platform: the window's system menu, menus
// whose items work however they are chosen, pastes a dialog takes over, and the placement of the icon a
// minimised window paints.
//
// On Windows SystemMenu appends to the native system menu, and the window forwards WM_SYSCOMMAND through
// systemCommandOf(). Elsewhere the items form a menu that the window pops up on a right click on its
// background. Either way the chosen item arrives as a system command id.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>

class QAction;
class QMenu;
class QWidget;

namespace pomelak {

// Adds an item that runs its command whichever way it is chosen: a click, the keys, or a direct trigger
// of its action, as a screen reader's press does. The menu closes before the command runs, so that a
// dialog the command opens does not sit under a menu that is still open.
QAction* addMenuCommand(QMenu* menu, const QString& text, std::function<void()> command);

// Offers every paste into a control to a handler first, with the clipboard's text in UTF-8: the paste keys,
// and a line edit's own 貼り付け item. The control pastes as usual only when the handler returns false.
void routePaste(QWidget* control, std::function<bool(std::string_view)> handler);

class SystemMenu {
public:
    // Every item chosen reaches onCommand with its command id.
    SystemMenu(QWidget* window, std::function<void(unsigned)> onCommand);

    void appendSeparator();
    void appendItem(unsigned commandId, const QString& text);

    // Shows the appended items at a screen position, where the platform has no system menu of its own.
    void popup(const QPoint& globalPos);

    // The command of a native WM_SYSCOMMAND message, or nothing for any other message.
    [[nodiscard]] static std::optional<unsigned> systemCommandOf(const void* nativeMessage);

private:
    QWidget* m_window;
    QMenu* m_menu;
    std::function<void(unsigned)> m_onCommand;
};

// Where a minimised window draws its icon: centred, rounding as integer division toward zero does.
constexpr QPoint minimizedIconOrigin(QSize client, QSize icon) {
    return {(client.width() - icon.width() + 1) / 2, (client.height() - icon.height() + 1) / 2};
}

} // namespace pomelak
