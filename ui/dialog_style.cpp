#include "ui/dialog_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

namespace pomelak {

namespace {

// The indicator size of the platform the templates were drawn for.
constexpr int kIndicatorSize = 13;
// Space kept free on either side of a group box title where it interrupts the frame line.
constexpr int kTitlePadding = 2;

// The indicator rectangle moved to the middle of a button too narrow to show any text beside it.
QRect centredIfNarrow(QRect indicator, const QRect& button, int spacing, const QFontMetrics& metrics) {
    if (button.width() < indicator.width() + spacing + metrics.averageCharWidth()) {
        indicator.moveLeft(button.left() + (button.width() - indicator.width()) / 2);
    }
    return indicator;
}

} // namespace

DialogStyle::DialogStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int DialogStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return kIndicatorSize;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QRect DialogStyle::subElementRect(SubElement element, const QStyleOption* option,
                                  const QWidget* widget) const {
    const QRect rect = QProxyStyle::subElementRect(element, option, widget);
    if (element != SE_CheckBoxIndicator && element != SE_RadioButtonIndicator) {
        return rect;
    }
    return centredIfNarrow(rect, option->rect, pixelMetric(PM_RadioButtonLabelSpacing, option, widget),
                           option->fontMetrics);
}

void DialogStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    // The base style paints a button's indicator where its own measure puts it, at the left edge.
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if ((element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton) && button != nullptr &&
        widget != nullptr) {
        QStyleOptionButton moved(*button);
        moved.rect =
            centredIfNarrow(option->rect, widget->rect(),
                            pixelMetric(PM_RadioButtonLabelSpacing, option, widget), option->fontMetrics);
        QProxyStyle::drawPrimitive(element, &moved, painter, widget);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QRect DialogStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                  SubControl subControl, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    const int lineY = option->fontMetrics.height() / 2;
    switch (subControl) {
    case SC_GroupBoxFrame:
        return option->rect.adjusted(0, lineY, 0, 0);
    case SC_GroupBoxLabel: {
        const int width = option->fontMetrics.horizontalAdvance(box->text) + 2 * kTitlePadding;
        return {option->rect.left() + lineY, option->rect.top(), width, option->fontMetrics.height()};
    }
    case SC_GroupBoxContents:
        return option->rect.adjusted(0, option->fontMetrics.height(), 0, 0);
    default:
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

void DialogStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect title = subControlRect(control, option, SC_GroupBoxLabel, widget);
    painter->save();
    if (!box->text.isEmpty()) {
        painter->setClipRegion(QRegion(option->rect).subtracted(title));
    }
    // An etched line: shadow outside, light inside.
    qDrawShadeRect(painter, subControlRect(control, option, SC_GroupBoxFrame, widget), option->palette, true);
    painter->restore();
    drawItemText(painter, title, Qt::AlignCenter | Qt::TextShowMnemonic, option->palette,
                 (option->state & State_Enabled) != 0, box->text, QPalette::WindowText);
}

} // namespace pomelak
