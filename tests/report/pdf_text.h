#pragma once

#include <QString>
#include <vector>

namespace pordex::test {

// A word of a PDF page as pdftotext -bbox reports it, in points from the page's top-left corner.
struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax;
};
using PdfPage = std::vector<PdfWord>;

// The words of every page of a PDF file (pdftotext from poppler-utils). Empty when the file
// cannot be read; the test reports why.
std::vector<PdfPage> readPdfWords(const QString& file);

// All words of a page joined by blanks, in pdftotext's reading order.
QString pageText(const PdfPage& page);

}  // namespace pordex::test
