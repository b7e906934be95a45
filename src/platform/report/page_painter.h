#pragma once

#include <QFont>
#include <QPageSize>
#include <QString>
#include <vector>

#include "platform/report/band.h"

class QPainter;
class QPagedPaintDevice;

namespace pordex::report {

// Pages are laid out in units of 1/7200 inch: at that resolution every point size the forms use
// is a whole number of units (8 pt = 800), so no font size is rounded and text keeps the width
// it was designed with. The painter's transform maps the units to the device.
inline constexpr double kUnitsPerInch = 7200;
inline constexpr double kUnitsPerPoint = kUnitsPerInch / 72;

// The metric-compatible face installed for a font a report names (Courier -> Liberation Mono).
QString pageFontFamily(std::string_view face);

// The font of a control, sized in page units.
QFont pageFont(const FontSpec& font);

// Sets the painter so that one unit is 1/7200 inch, the origin at the paper's top-left corner,
// on a device of the given resolution (dots per inch).
void setPageTransform(QPainter& painter, double deviceDpi);

// Paints one page: the detail band with its lines, fixed texts and fields. The painter must be
// in page units (setPageTransform). The one paint routine of every output: preview, printer, PDF.
void paintPage(QPainter& painter, const ReportLayout& layout, const PageValues& values);

// Paints pages first..last (0-based, inclusive) onto a paged device that is not yet painted on,
// one sheet each. The device's coordinates must start at the paper's corner (full page).
// False when the device cannot be painted on (a printer that fails to start).
bool paintPages(QPagedPaintDevice& device, const ReportLayout& layout,
                const std::vector<PageValues>& pages, int first, int last);

// Writes all pages as a PDF file on the given paper. False when the file cannot be written
// or there is no page.
bool writePdf(const QString& fileName, const ReportLayout& layout,
              const std::vector<PageValues>& pages,
              const QPageSize& paper = QPageSize(QPageSize::A4));

}  // namespace pordex::report
