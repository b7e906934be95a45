#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <string_view>

namespace pordex::ui {

// Window geometry is designed in dialog units. They become pixels the way Windows does it: from
// the window font's average character width (the width of "A".."Z" "a".."z" over 52, rounded)
// for x, divided by 4, and its character height for y, divided by 8.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

    int x(int dlu) const { return mulDiv(dlu, baseX_, 4); }
    int y(int dlu) const { return mulDiv(dlu, baseY_, 8); }
    QPoint point(int dx, int dy) const { return {x(dx), y(dy)}; }
    QSize size(int dw, int dh) const { return {x(dw), y(dh)}; }
    QRect rect(int dx, int dy, int dw, int dh) const { return {point(dx, dy), size(dw, dh)}; }

    // Pixels back to dialog units, rounded to the nearest unit.
    int fromX(int px) const { return mulDiv(px, 4, baseX_); }
    int fromY(int px) const { return mulDiv(px, 8, baseY_); }

  private:
    // Windows' MulDiv: a * b / c rounded half away from zero.
    static int mulDiv(int a, int b, int c);

    int baseX_;
    int baseY_;
};

// The program's windows name Windows fonts; these map them to metric-compatible faces
// (MS Sans Serif and Arial to Liberation Sans, Courier and Courier New to Liberation Mono,
// MS Serif to Liberation Serif). Safe to call more than once.
void installFontSubstitutions();

// The font a window or control declares: a face name and a size in points (0: 8 points).
QFont windowFont(std::string_view face = "MS Sans Serif", int points = 8);

}  // namespace pordex::ui
