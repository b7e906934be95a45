#include "platform/report/page_painter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

namespace pordex::report {

namespace {

constexpr double u(double points) {
    return points * kUnitsPerPoint;
}

QString text(std::string_view utf8) {
    QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    // Trailing blanks of a fixed-width field print as nothing.
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ') --n;
    s.truncate(n);
    return s;
}

// Text is placed as the report engine places it: the box's top is the top of the font's cell,
// the baseline one ascent below. A text wider than its box is condensed to the box's width: the
// stand-in faces are not the designed ones, and a name cut off at a grid line would be lost
// from the printed order.
void paintText(QPainter& painter, const QString& s, const Box& box, const FontSpec& font,
               double bandX, double bandY) {
    if (s.isEmpty()) return;
    const QFont f = pageFont(font);
    painter.setFont(f);
    const QFontMetricsF fm(f);
    const double x = u(bandX + box.x);
    const double baseline = u(bandY + box.y) + fm.ascent();
    const double width = fm.horizontalAdvance(s);
    if (box.w > 0 && width > u(box.w)) {
        painter.save();
        painter.translate(x, baseline);
        painter.scale(u(box.w) / width, 1);
        painter.drawText(QPointF(0, 0), s);
        painter.restore();
    } else {
        painter.drawText(QPointF(x, baseline), s);
    }
}

}  // namespace

QString pageFontFamily(std::string_view face) {
    // The faces the forms were designed with, and the metric-compatible faces that stand in.
    struct Map {
        std::string_view face;
        const char* family;
    };
    static constexpr Map map[] = {
        {"Courier", "Liberation Mono"},       {"Courier New", "Liberation Mono"},
        {"MS Sans Serif", "Liberation Sans"}, {"Arial", "Liberation Sans"},
        {"MS Serif", "Liberation Serif"},     {"Times New Roman", "Liberation Serif"},
    };
    for (const Map& m : map) {
        if (QString::fromUtf8(m.face.data(), qsizetype(m.face.size()))
                .compare(QString::fromUtf8(face.data(), qsizetype(face.size())),
                         Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(m.family);
    }
    return QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
}

QFont pageFont(const FontSpec& font) {
    QFont f(pageFontFamily(font.face));
    // Sized in page units, so the size is exact on every device the page is painted on.
    f.setPixelSize(static_cast<int>(font.size * kUnitsPerPoint + 0.5));
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

void setPageTransform(QPainter& painter, double deviceDpi) {
    const double scale = deviceDpi / kUnitsPerInch;
    painter.setTransform(QTransform::fromScale(scale, scale));
}

void paintPage(QPainter& painter, const ReportLayout& layout, const PageValues& values) {
    const Band& band = layout.detail;
    const double bandX = layout.area.x + band.box.x;
    const double bandY = layout.area.y + band.box.y;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QPen pen(Qt::black);
    pen.setWidthF(u(layout.lineWidth));
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    for (const BandLine& l : band.lines)
        painter.drawLine(QPointF(u(bandX + l.x1), u(bandY + l.y1)),
                         QPointF(u(bandX + l.x2), u(bandY + l.y2)));

    for (const BandText& t : band.texts)
        paintText(painter, text(t.text), t.box, resolveFont(t.font, band.font, layout.font), bandX,
                  bandY);

    for (std::size_t i = 0; i < band.fields.size() && i < values.size(); ++i) {
        const BandField& f = band.fields[i];
        paintText(painter, text(values[i]), f.box, resolveFont(f.font, band.font, layout.font),
                  bandX, bandY);
    }
    painter.restore();
}

bool paintPages(QPagedPaintDevice& device, const ReportLayout& layout,
                const std::vector<PageValues>& pages, int first, int last) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double dpi = device.logicalDpiX();
    // A printer that keeps its margins puts the origin at the printable area: move it back to
    // the paper's corner, where the form is measured from.
    const QPointF paperOrigin = -device.pageLayout().paintRect(QPageLayout::Point).topLeft();
    bool firstSheet = true;
    for (int i = std::max(first, 0); i <= last && i < static_cast<int>(pages.size()); ++i) {
        if (!firstSheet && !device.newPage()) return false;
        firstSheet = false;
        setPageTransform(painter, dpi);
        painter.translate(paperOrigin * kUnitsPerPoint);
        paintPage(painter, layout, pages[static_cast<std::size_t>(i)]);
    }
    return painter.end();
}

bool writePdf(const QString& fileName, const ReportLayout& layout,
              const std::vector<PageValues>& pages, const QPageSize& paper) {
    if (pages.empty()) return false;
    QPdfWriter pdf(fileName);
    pdf.setResolution(static_cast<int>(kUnitsPerInch));
    pdf.setPageSize(paper);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    pdf.setCreator(QStringLiteral("pordex"));
    pdf.setTitle(QString::fromUtf8(layout.name.data(), qsizetype(layout.name.size())));
    return paintPages(pdf, layout, pages, 0, static_cast<int>(pages.size()) - 1);
}

}  // namespace pordex::report
