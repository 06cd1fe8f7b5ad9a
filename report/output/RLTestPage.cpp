#include "report/output/RLTestPage.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLUtils.h"
#include "report/output/RLFilterThread.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"
#include "report/output/RLSpoolFilter.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

QString captionText()
{
    switch (RLMessagesLanguage()) {
    case mlPortuguese:
        return QStringLiteral("Página de teste - deslocamento horizontal %1 mm, vertical %2 mm");
    case mlSpanish:
        return QStringLiteral("Página de prueba - desplazamiento horizontal %1 mm, vertical %2 mm");
    case mlFrench:
        return QStringLiteral("Page de test - décalage horizontal %1 mm, vertical %2 mm");
    default:
        return QStringLiteral("Test page - horizontal offset %1 mm, vertical %2 mm");
    }
}

QString unknownQueueText(const QString &queue)
{
    switch (RLMessagesLanguage()) {
    case mlPortuguese:
        return QStringLiteral("A impressora %1 não está mais disponível.").arg(queue);
    case mlSpanish:
        return QStringLiteral("La impresora %1 ya no está disponible.").arg(queue);
    case mlFrench:
        return QStringLiteral("L'imprimante %1 n'est plus disponible.").arg(queue);
    default:
        return QStringLiteral("The printer %1 is no longer available.").arg(queue);
    }
}

QFont pageFont(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    return font;
}

// Ticks every millimetre, longer every 5 and numbered every 10, from the sheet's corner.
void drawRulers(TRLGraphicSurface &page, double widthMm, double heightMm)
{
    const auto tick = [](int mm) { return MMToPixels(mm % 10 == 0 ? 4 : mm % 5 == 0 ? 3 : 1.5); };
    page.SetBrush(QBrush(Qt::black));
    for (int mm = 0; mm <= int(widthMm); ++mm) {
        const int x = MMToPixels(mm);
        page.FillRect(TRLRect(x, 0, x + 1, tick(mm)));
    }
    for (int mm = 0; mm <= int(heightMm); ++mm) {
        const int y = MMToPixels(mm);
        page.FillRect(TRLRect(0, y, tick(mm), y + 1));
    }
    // Numbers on the paper, not on a box of their own.
    page.SetBrush(Qt::NoBrush);
    page.SetFont(pageFont(8));
    page.SetFontColor(Qt::black);
    const int inset = MMToPixels(2);
    for (int mm = 10; mm <= int(widthMm); mm += 10) {
        const int x = MMToPixels(mm) + 2;
        page.TextRect(TRLRect(x, inset, x + 22, inset + 10), x, inset, QString::number(mm));
    }
    for (int mm = 10; mm <= int(heightMm); mm += 10) {
        const int y = MMToPixels(mm) + 1;
        page.TextRect(TRLRect(inset + 2, y, inset + 24, y + 10), inset + 2, y, QString::number(mm));
    }
}

// The caption goes in the first strip below the ruler that no box crosses.
TRLRect captionPlace(const TRLTestPageLayout &layout, int pageWidth, int pageHeight, int textWidth)
{
    const int left = MMToPixels(10);
    const int height = 16;
    for (int top = MMToPixels(8); top + height < pageHeight; top += 4) {
        const TRLRect strip(left, top, std::min(pageWidth, left + textWidth + 4), top + height);
        bool free = true;
        for (const TRLRect &box : layout.Boxes)
            if (box.Left < strip.Right && strip.Left < box.Right && box.Top < strip.Bottom && strip.Top < box.Bottom)
                free = false;
        if (free)
            return strip;
    }
    return TRLRect(left, MMToPixels(8), left + textWidth + 4, MMToPixels(8) + height);
}

// A second wrapper on the shared printer's service: the test page picks its own queue.
class TSharedServiceView : public TRLPrinterService
{
public:
    explicit TSharedServiceView(TRLPrinterService &service) : m_service(service) {}
    QList<TRLPrinterQueue> Queues(QString *failure) override { return m_service.Queues(failure); }
    void CheckQueue(const QString &queue) override { m_service.CheckQueue(queue); }
    bool SupportsMedia(const QString &queue, const QString &media, double widthMm, double heightMm) override
    {
        return m_service.SupportsMedia(queue, media, widthMm, heightMm);
    }
    int Submit(const TRLPrintJob &job) override { return m_service.Submit(job); }

private:
    TRLPrinterService &m_service;
};

// The spool filter on a printer of its own, which looks its queue up by name on the worker
// (listing the queues asks the print service, never on the user-interface thread).
class TRLTestPageFilter : public TRLSpoolFilter
{
public:
    TRLTestPageFilter(std::unique_ptr<TRLPrinterWrapper> printer, const QString &queue)
        : TRLSpoolFilter(nullptr, printer.get()), m_printer(std::move(printer)), m_queue(queue)
    {
        SetShowProgress(false);
    }

    void BeginDoc() override
    {
        const QStringList &entries = m_printer->Printers();
        int index = -1;
        for (int i = 0; i < entries.size() && index < 0; ++i)
            if (m_printer->PrinterNames(i) == m_queue)
                index = i;
        if (index < 0)
            throw TRLException(unknownQueueText(m_queue));
        m_printer->SetPrinterIndex(index);
        TRLSpoolFilter::BeginDoc();
    }

private:
    std::unique_ptr<TRLPrinterWrapper> m_printer;
    QString m_queue;
};

// The filter of the last test page: it must outlive its background run, and a new one can only
// start when that run is over.
std::unique_ptr<TRLTestPageFilter> &lastFilter()
{
    static std::unique_ptr<TRLTestPageFilter> filter;
    return filter;
}

void releaseLastFilter()
{
    lastFilter().reset();
}

} // namespace

QString RLOffsetText(double mm)
{
    const double shown = mm == 0 ? 0.0 : mm;
    QString text = QLocale().toString(shown, 'f', 1);
    if (shown > 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

std::unique_ptr<TRLGraphicSurface> NewRLTestPage(const TRLTestPageLayout &layout, const TRLPrintOffset &offset)
{
    const bool landscape = layout.Orientation == 2;
    const double widthMm = landscape ? layout.PaperHeightMm : layout.PaperWidthMm;
    const double heightMm = landscape ? layout.PaperWidthMm : layout.PaperHeightMm;
    auto page = std::make_unique<TRLGraphicSurface>();
    page->SetWidth(MMToPixels(widthMm));
    page->SetHeight(MMToPixels(heightMm));
    page->SetOrientation(layout.Orientation);
    page->SetPaperWidth(layout.PaperWidthMm);
    page->SetPaperHeight(layout.PaperHeightMm);

    page->SetPen(QPen(Qt::black, 1));
    page->SetBrush(Qt::NoBrush);
    for (const TRLRect &box : layout.Boxes)
        page->Rectangle(box);

    drawRulers(*page, widthMm, heightMm);

    page->SetFont(pageFont(11));
    const QString caption = captionText().arg(RLOffsetText(offset.XMm), RLOffsetText(offset.YMm));
    const TRLRect place = captionPlace(layout, page->Width(), page->Height(), page->TextWidth(caption));
    page->TextRect(place, place.Left, place.Top, caption);
    return page;
}

void PrintRLTestPage(const TRLTestPageLayout &layout, const QString &queue, const TRLPrintOffset &offset)
{
    RLCheckNoBackgroundRun();
    if (!lastFilter())
        qAddPostRoutine(releaseLastFilter);
    lastFilter() = std::make_unique<TRLTestPageFilter>(
        std::make_unique<TRLPrinterWrapper>(std::make_unique<TSharedServiceView>(RLPrinter().Service())), queue);
    lastFilter()->SetFixedOffset(offset);

    auto store = std::make_unique<TRLGraphicStorage>();
    store->SetTitle(QCoreApplication::applicationName());
    store->SetOrientation(layout.Orientation);
    store->SetPaperWidth(layout.PaperWidthMm);
    store->SetPaperHeight(layout.PaperHeightMm);
    store->Add(NewRLTestPage(layout, offset).release());
    // Without an owner the store lets itself go when the run has done with it.
    lastFilter()->Run(store.release(), 1, -1, true);
}
