// The window services the dialogs need and Qt leaves to the platform: the window's system menu and the
// placement of the icon a minimised window paints.
//
// On Windows SystemMenu appends to the native system menu, and the window forwards WM_SYSCOMMAND through
// systemCommandOf(). Elsewhere the items form a menu that the window pops up on a right click on its
// background. Either way the chosen item arrives as a system command id.
#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace pomelak {

class SystemMenu {
public:
    explicit SystemMenu(QWidget* window) : m_window(window) {}

    // False when the window has no system menu to append to.
    [[nodiscard]] bool exists() const;
    void appendSeparator();
    void appendItem(unsigned commandId, const QString& text);

    // Shows the appended items at a screen position and returns the command chosen, if any. Used where
    // the platform has no system menu of its own.
    [[nodiscard]] std::optional<unsigned> popup(const QPoint& globalPos) const;

    // The command of a native WM_SYSCOMMAND message, or nothing for any other message.
    [[nodiscard]] static std::optional<unsigned> systemCommandOf(const void* nativeMessage);

private:
    struct Item {
        unsigned commandId;
        QString text;
    };
    QWidget* m_window;
    QList<Item> m_items;
};

// Where a minimised window draws its icon: centred, rounding as integer division toward zero does.
constexpr QPoint minimizedIconOrigin(QSize client, QSize icon) {
    return {(client.width() - icon.width() + 1) / 2, (client.height() - icon.height() + 1) / 2};
}

} // namespace pomelak
