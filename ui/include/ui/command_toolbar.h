// The main window's toolbar: three classic raised buttons showing images only, each 23 x 22 pixels, on a
// strip with a border line along its bottom edge. Button 0 is a check-style button.
#pragma once

#include <QFrame>

class QToolButton;

namespace pomelak {

class CommandToolBar : public QFrame {
    Q_OBJECT

public:
    explicit CommandToolBar(QWidget* parent);

    // The button that sends the command (kIdModeChange, kIdFourGroupInput, kIdSupportRateInput).
    [[nodiscard]] QToolButton* button(int commandId) const;
    // Height the strip needs for its buttons and border; its width is the window's.
    [[nodiscard]] int fixedHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QToolButton*> m_buttons;
};

} // namespace pomelak
