#pragma once
// Reads what a test needs from a PDF through poppler's tools: page sizes and rotation (pdfinfo)
// and word boxes (pdftotext -bbox), in points from the page's top-left corner.

#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QXmlStreamReader>

struct PdfPage
{
    QSizeF sizePt;  // as stored, before rotation
    int rotation = 0;
    // The sheet as it lies after rotation, in millimetres.
    QSizeF uprightMm() const
    {
        const QSizeF mm = sizePt * (25.4 / 72.0);
        return rotation % 180 ? mm.transposed() : mm;
    }
};

struct PdfWord
{
    int page = 0; // from 1
    QString text;
    QRectF boxPt;
    QRectF boxMm() const
    {
        const double k = 25.4 / 72.0;
        return QRectF(boxPt.x() * k, boxPt.y() * k, boxPt.width() * k, boxPt.height() * k);
    }
};

namespace PdfInspect {

inline QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QList<PdfPage> pages(const QString &file)
{
    const QString out = run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                        QStringLiteral("100000"), file});
    QList<PdfPage> result;
    static const QRegularExpression sizeLine(QStringLiteral("^Page\\s+(\\d+) size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                             QRegularExpression::MultilineOption);
    static const QRegularExpression rotLine(QStringLiteral("^Page\\s+(\\d+) rot:\\s+(\\d+)"),
                                            QRegularExpression::MultilineOption);
    for (auto it = sizeLine.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        result.append(PdfPage{QSizeF(m.captured(2).toDouble(), m.captured(3).toDouble()), 0});
    }
    for (auto it = rotLine.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        const int index = m.captured(1).toInt() - 1;
        if (index >= 0 && index < result.size())
            result[index].rotation = m.captured(2).toInt();
    }
    return result;
}

inline QList<PdfWord> words(const QString &file)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    QList<PdfWord> result;
    QXmlStreamReader xml(html);
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const double x0 = a.value(QLatin1String("xMin")).toDouble();
            const double y0 = a.value(QLatin1String("yMin")).toDouble();
            const double x1 = a.value(QLatin1String("xMax")).toDouble();
            const double y1 = a.value(QLatin1String("yMax")).toDouble();
            result.append(PdfWord{page, xml.readElementText(), QRectF(QPointF(x0, y0), QPointF(x1, y1))});
        }
    }
    return result;
}

inline QStringList texts(const QString &file, int page = 0)
{
    QStringList out;
    for (const PdfWord &w : words(file))
        if (page == 0 || w.page == page)
            out << w.text;
    return out;
}

// Why the file is not a single sheet of the given size (upright, within a millimetre); empty
// when it is.
inline QString notOneSheetOf(const QString &file, double widthMm, double heightMm)
{
    const QList<PdfPage> all = pages(file);
    if (all.size() != 1)
        return QStringLiteral("%1: %2 pages").arg(file).arg(all.size());
    const QSizeF sheet = all[0].uprightMm();
    if (qAbs(sheet.width() - widthMm) < 1 && qAbs(sheet.height() - heightMm) < 1)
        return QString();
    return QStringLiteral("%1: sheet %2 x %3 mm, rotation %4")
        .arg(file).arg(sheet.width()).arg(sheet.height()).arg(all[0].rotation);
}

} // namespace PdfInspect
