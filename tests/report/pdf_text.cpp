#include "pdf_text.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace pordex::test {

std::vector<PdfPage> readPdfWords(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << file.toStdString() << ": "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<PdfPage> pages;
    static const QRegularExpression tag(
        QStringLiteral(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" )re"
                       R"re(yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            pages.emplace_back();
            continue;
        }
        if (pages.empty()) continue;
        QString text = m.captured(5);
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        pages.back().push_back({text, m.captured(1).toDouble(), m.captured(2).toDouble(),
                                m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return pages;
}

QString pageText(const PdfPage& page) {
    QStringList words;
    for (const PdfWord& w : page) words << w.text;
    return words.join(u' ');
}

}  // namespace pordex::test
