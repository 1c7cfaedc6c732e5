#include "ui/dialog_units.h"

#include <QFontMetrics>

namespace pomelak {

namespace {

// a * b / c rounded half away from zero, as the dialog manager rounds.
int mulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect mapDialogRect(const DialogRect& rect, DialogBaseUnits base) {
    const int left = mulDiv(rect.x, base.x, 4);
    const int top = mulDiv(rect.y, base.y, 8);
    const int right = mulDiv(rect.x + rect.width, base.x, 4);
    const int bottom = mulDiv(rect.y + rect.height, base.y, 8);
    return {left, top, right - left, bottom - top};
}

} // namespace pomelak
