#include "ui/template_dialog.h"

#include "res/dialog_template.h"
#include "ui/app_resources.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
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
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (radioGroup == nullptr) {
                radioGroup = new QButtonGroup(this);
            }
            radioGroup->addButton(radio, item.id);
        }
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) {
            if (previousTabStop != nullptr) {
                setTabOrder(previousTabStop, widget);
            }
            previousTabStop = widget;
        }
        if (item.kind == ControlKind::GroupBox) {
            groupBoxes.append(widget);
        }
    }
    // A group box only frames its neighbours; underneath them it cannot take their clicks.
    for (QWidget* box : groupBoxes) {
        box->lower();
    }
}

} // namespace pomelak
