#include "ui/template_dialog.h"

#include "res/dialog_template.h"
#include "ui/app_resources.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <limits>

namespace pomelak {

namespace {

QWidget* createControl(const ControlTemplate& item, QWidget* parent) {
    const QString text = qtString(item.text);
    switch (item.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text, parent);
        // Enter presses the focused push button, or the default one when no push button has the focus.
        button->setAutoDefault(true);
        button->setDefault(item.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::AutoCheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::AutoRadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::StaticText: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(((item.style & kCenter) != 0U ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        if ((item.style & kSunken) != 0U) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            // A framed label would otherwise push its text half an "x" away from the frame.
            label->setIndent(0);
        }
        return label;
    }
    case ControlKind::StaticIcon: {
        auto* label = new QLabel(parent);
        label->setPixmap(applicationIcon().pixmap(32, 32));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame((item.style & kBorder) != 0U);
        // No length limit: whatever the player types is kept and read.
        edit->setMaxLength(std::numeric_limits<int>::max());
        return edit;
    }
    case ControlKind::ListView: {
        auto* list = new QTableWidget(parent);
        list->setFrameShape((item.style & kBorder) != 0U ? QFrame::StyledPanel : QFrame::NoFrame);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSortingEnabled(false);
        list->setTabKeyNavigation(false);
        list->setWordWrap(false);
        list->verticalHeader()->hide();
        list->horizontalHeader()->setSectionsClickable(false);
        list->horizontalHeader()->setHighlightSections(false);
        list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return list;
    }
    }
    return nullptr;
}

// A radio group that takes one tab stop: Tab lands on its checked radio, or its first when none is; the arrow
// keys move round the group and check as they move.
class RadioGroupStop : public QObject {
public:
    explicit RadioGroupStop(QButtonGroup* group) : QObject(group), m_group(group) {
        for (QAbstractButton* radio : group->buttons()) {
            radio->installEventFilter(this);
        }
        connect(group, &QButtonGroup::buttonToggled, this, [this] { placeStop(); });
        placeStop();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Qt moves the stop to a radio that gets the focus without being checked; it comes back on leaving.
        if (event->type() == QEvent::FocusOut) {
            placeStop();
        }
        const int key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event)->key() : 0;
        const int step = key == Qt::Key_Right || key == Qt::Key_Down ? 1
                         : key == Qt::Key_Left || key == Qt::Key_Up  ? -1
                                                                     : 0;
        if (step == 0) {
            return false;
        }
        const QList<QAbstractButton*> radios = m_group->buttons();
        QAbstractButton* next = radios[(radios.indexOf(watched) + step + radios.size()) % radios.size()];
        next->setFocus(Qt::OtherFocusReason);
        next->click();
        return true;
    }

private:
    void placeStop() {
        QAbstractButton* stop =
            m_group->checkedButton() != nullptr ? m_group->checkedButton() : m_group->buttons().first();
        for (QAbstractButton* radio : m_group->buttons()) {
            radio->setFocusPolicy(radio == stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    }

    QButtonGroup* m_group;
};

Qt::FocusPolicy focusPolicyOf(const ControlTemplate& item) {
    switch (item.kind) {
    case ControlKind::GroupBox:
    case ControlKind::StaticText:
    case ControlKind::StaticIcon:
        return Qt::NoFocus;
    default:
        // A control without a tab stop still takes the focus when clicked, but Tab passes it by.
        return (item.style & kTabStop) != 0U ? Qt::StrongFocus : Qt::ClickFocus;
    }
}

} // namespace

TemplateDialog::TemplateDialog(int templateId, QWidget* parent) : QDialog(parent) {
    const DialogTemplate* dialog = findDialogTemplate(templateId);
    Q_ASSERT(dialog != nullptr);

    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(qtString(dialog->caption));
    setFont(QFont(qtString(dialog->fontFamily), dialog->pointSize));
    const DialogBaseUnits baseUnits = dialogBaseUnits(font());
    setFixedSize(mapDialogRect(dialog->rect, baseUnits).size());

    QList<QWidget*> groupBoxes;
    QList<QButtonGroup*> radioStops;
    QButtonGroup* radioGroup = nullptr;
    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& item : dialog->controls) {
        QWidget* widget = createControl(item, this);
        widget->setGeometry(mapDialogRect(item.rect, baseUnits));
        widget->setFocusPolicy(focusPolicyOf(item));
        if (item.id != kNoId) {
            m_controls.insert(item.id, widget);
        }
        if ((item.style & kGroup) != 0U) {
            radioGroup = nullptr;
        }
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if (radio != nullptr && radioGroup == nullptr) {
            radioGroup = new QButtonGroup(this);
            if ((item.style & kTabStop) != 0U) {
                radioStops.append(radioGroup);
            }
        }
        if (radio != nullptr) {
            radioGroup->addButton(radio, item.id);
        }
        // Every radio of a group with a tab stop stands in the chain, so that its stop can move among them.
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 ||
            (radio != nullptr && radioStops.contains(radioGroup))) {
            if (previousTabStop != nullptr) {
                setTabOrder(previousTabStop, widget);
            }
            previousTabStop = widget;
        }
        if (item.kind == ControlKind::GroupBox) {
            groupBoxes.append(widget);
        }
    }
    for (QButtonGroup* group : radioStops) {
        new RadioGroupStop(group);
    }
    // A group box only frames its neighbours; underneath them it cannot take their clicks.
    for (QWidget* box : groupBoxes) {
        box->lower();
    }
}

void TemplateDialog::showMessage(const QString& text, const QString& caption, QMessageBox::Icon icon) {
    QMessageBox box(icon, caption.isEmpty() ? QCoreApplication::applicationName() : caption, text,
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace pomelak
