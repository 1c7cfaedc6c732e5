#include "ui/command_toolbar.h"

#include "res/resource_ids.h"
#include "res/strings.h"
#include "ui/app_resources.h"

#include <QPainter>
#include <QToolButton>
#include <qdrawutil.h>

#include <array>

namespace pomelak {

namespace {

constexpr std::array<int, 3> kButtonCommands{kIdModeChange, kIdFourGroupInput, kIdSupportRateInput};
constexpr QSize kButtonSize(23, 22);
constexpr QSize kImageSize(16, 15);
constexpr int kBorderX = 4;
constexpr int kBorderY = 2;
constexpr int kBottomLine = 2;

// A classic toolbar button: raised, and sunken while pressed or checked. A checked button also shows a
// darker face, the grey its bitmap was drawn on, so that a button that stays in reads as in at a glance;
// the image moves down and right with the face.
class ClassicToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        constexpr int kCheckedFaceDarkness = 125;
        QPainter painter(this);
        const bool sunken = isDown() || isChecked();
        const QBrush face = isChecked()
                                ? QBrush(palette().color(QPalette::Button).darker(kCheckedFaceDarkness))
                                : palette().button();
        qDrawWinButton(&painter, rect(), palette(), sunken, &face);
        const QPoint shift = sunken ? QPoint(1, 1) : QPoint();
        icon().paint(&painter, rect().translated(shift), Qt::AlignCenter,
                     isEnabled() ? QIcon::Normal : QIcon::Disabled);
    }
};

} // namespace

CommandToolBar::CommandToolBar(QWidget* parent) : QFrame(parent) {
    const QList<QPixmap> images = toolBarImages();
    for (std::size_t index = 0; index < kButtonCommands.size(); ++index) {
        auto* button = new ClassicToolButton(this);
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
        button->setGeometry(
            QRect(QPoint(kBorderX + static_cast<int>(index) * kButtonSize.width(), kBorderY), kButtonSize));
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
