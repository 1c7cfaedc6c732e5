#include "ui/command_toolbar.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QPainter>
#include <QToolButton>

#include <array>

namespace pomelak {

namespace {

constexpr std::array<int, 3> kButtonCommands{kIdModeChange, kIdFourGroupInput, kIdSupportRateInput};
constexpr QSize kButtonSize(23, 22);
constexpr QSize kImageSize(16, 15);
constexpr int kBorderX = 4;
constexpr int kBorderY = 2;
constexpr int kBottomLine = 2;

} // namespace

CommandToolBar::CommandToolBar(QWidget* parent) : QFrame(parent) {
    const QList<QPixmap> images = toolBarImages();
    for (std::size_t index = 0; index < kButtonCommands.size(); ++index) {
        auto* button = new QToolButton(this);
        const int command = kButtonCommands[index];
        button->setObjectName(QStringLiteral("command%1").arg(command));
        button->setIcon(images.value(static_cast<qsizetype>(index)));
        button->setIconSize(kImageSize);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(false);
        // Toolbar buttons are never in the tab chain; the command name is for screen readers only.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(qtString(loadString(command)));
        button->setCheckable(command == kIdModeChange);
        button->setGeometry(QRect(QPoint(kBorderX + static_cast<int>(index) * kButtonSize.width(), kBorderY),
                                  kButtonSize));
        m_buttons.append(button);
    }
}

QToolButton* CommandToolBar::button(int commandId) const {
    for (std::size_t index = 0; index < kButtonCommands.size(); ++index) {
        if (kButtonCommands[index] == commandId) {
            return m_buttons.at(static_cast<qsizetype>(index));
        }
    }
    return nullptr;
}

int CommandToolBar::fixedHeight() const {
    return kBorderY * 2 + kButtonSize.height() + kBottomLine;
}

void CommandToolBar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    // An etched line: shadow above, light below, as between a toolbar and the area under it.
    QPainter painter(this);
    const int y = height() - kBottomLine;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, y, width(), y);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, y + 1, width(), y + 1);
}

} // namespace pomelak
