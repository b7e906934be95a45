#include "platform/ui/dialog_units.h"

#include <QFontMetrics>
#include <QLatin1String>
#include <cstdlib>

namespace pordex::ui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    const int extent =
        fm.horizontalAdvance(QLatin1String("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (extent / 26 + 1) / 2;
    baseY_ = fm.height();
    if (baseX_ < 1) baseX_ = 1;
    if (baseY_ < 1) baseY_ = 1;
}

int DialogUnits::mulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const long long q = (p >= 0) == (c >= 0) ? (std::llabs(p) + half) / std::llabs(c)
                                             : -((std::llabs(p) + half) / std::llabs(c));
    return static_cast<int>(q);
}

void installFontSubstitutions() {
    static const struct {
        const char* from;
        const char* to;
    } table[] = {
        {"MS Sans Serif", "Liberation Sans"}, {"Arial", "Liberation Sans"},
        {"Courier", "Liberation Mono"},       {"Courier New", "Liberation Mono"},
        {"MS Serif", "Liberation Serif"},
    };
    for (const auto& s : table) {
        const QString from = QString::fromLatin1(s.from);
        if (QFont::substitute(from) != QLatin1String(s.to))
            QFont::insertSubstitution(from, QString::fromLatin1(s.to));
    }
}

QFont windowFont(std::string_view face, int points) {
    QFont f(QString::fromUtf8(face.data(), qsizetype(face.size())));
    f.setPointSize(points > 0 ? points : 8);
    return f;
}

}  // namespace pordex::ui
