// The application's style: Fusion, with the two conventions the dialog templates were laid out for.
//
// A group box's frame line runs through the middle of its title, which interrupts the line near its left
// end; Fusion would draw the whole frame below the title, through the controls the templates place just
// under it. A check box or radio button too narrow to show any text draws its 13-pixel indicator centred
// in its rectangle, so that a label placed just left of it keeps clear of it.
//
// Example: a group box at y 44 with a 13-pixel font draws its top line at y 50, its title over it.
#pragma once

#include <QProxyStyle>

namespace pomelak {

class DialogStyle : public QProxyStyle {
public:
    DialogStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

} // namespace pomelak
