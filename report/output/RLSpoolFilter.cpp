#include "report/output/RLSpoolFilter.h"

#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPrinters.h"

#include <QCoreApplication>
#include <QPainter>

#include <memory>

namespace {

TRLSpoolFilter *sharedFilter = nullptr;

int devicePixels(double mm, int ppi)
{
    return RLMmToDots(mm, ppi);
}

// Without a store (a host that keeps no settings) nothing is nudged.
TRLPrintOffset printerOffset(const QString &queue)
{
    const TRLPrintOffsetStore *store = RLPrintOffsetStore();
    return store ? store->Offset(queue) : TRLPrintOffset();
}

} // namespace

TRLSpoolFilter::TRLSpoolFilter(QObject *owner, TRLPrinterWrapper *printer)
    : TRLCustomPrintFilter(owner), m_printer(printer)
{
}

TRLPrinterWrapper &TRLSpoolFilter::printer() const
{
    return m_printer ? *m_printer : RLPrinter();
}

void TRLSpoolFilter::BeginDoc()
{
    m_jobOpen = false;
    TRLGraphicStorage *store = Pages();
    printer().SetJobTitle(store ? store->Title() : QString());
    // A cancel counts until the service has the whole document.
    printer().SetCancelCheck([this] { return Canceled(); });
    StartJobForPaper(store ? store->Orientation() : 1, store ? store->PaperWidth() : 0,
                     store ? store->PaperHeight() : 0);
}

void TRLSpoolFilter::EndDoc()
{
    m_jobOpen = false;
    printer().EndDoc();
}

void TRLSpoolFilter::AbortDoc()
{
    m_jobOpen = false;
    printer().AbortDoc();
}

void TRLSpoolFilter::NewPage()
{
    printer().NewPage();
}

void TRLSpoolFilter::StartJobForPaper(int orientation, double paperWidthMm, double paperHeightMm)
{
    if (m_jobOpen && orientation == m_orientation && paperWidthMm == m_paperWidth && paperHeightMm == m_paperHeight)
        return;
    TRLPrinterWrapper &wrapper = printer();
    m_orientation = orientation;
    m_paperWidth = paperWidthMm;
    m_paperHeight = paperHeightMm;
    if (m_jobOpen) {
        m_jobOpen = false;
        wrapper.EndDoc();
    }
    const bool landscape = orientation == 2;
    wrapper.SetPaperSize(paperWidthMm, paperHeightMm, landscape, false);
    const TRLPrinterMetrics m = wrapper.ReadPrinterMetrics();
    if (landscape) {
        m_pageRect = TRLRect(0, 0, devicePixels(paperHeightMm, m.PPIX), devicePixels(paperWidthMm, m.PPIY));
        m_pageRect = TRLRect(-m.MarginBottom, -m.MarginLeft, m_pageRect.Right - m.MarginBottom,
                             m_pageRect.Bottom - m.MarginLeft);
    } else {
        m_pageRect = TRLRect(0, 0, devicePixels(paperWidthMm, m.PPIX), devicePixels(paperHeightMm, m.PPIY));
        m_pageRect = TRLRect(-m.MarginLeft, -m.MarginTop, m_pageRect.Right - m.MarginLeft,
                             m_pageRect.Bottom - m.MarginTop);
    }
    const TRLPrintOffset offset = m_fixedOffset ? *m_fixedOffset : printerOffset(wrapper.PrinterName());
    m_shift = QPoint(devicePixels(offset.XMm, m.PPIX), devicePixels(offset.YMm, m.PPIY));
    wrapper.BeginDoc();
    m_jobOpen = true;
}

void TRLSpoolFilter::DrawPage(TRLGraphicSurface *page)
{
    StartJobForPaper(page->Orientation(), page->PaperWidth(), page->PaperHeight());
    m_factorX = page->Width() == 0 ? 1.0 : double(m_pageRect.Width()) / page->Width();
    m_factorY = page->Height() == 0 ? 1.0 : double(m_pageRect.Height()) / page->Height();
    QPainter *canvas = printer().Canvas();
    // The canvas holds this page's clip stack; it starts at the whole sheet and leaves the
    // painter unclipped with nothing saved when it goes. The nudge moves the drawing, not the sheet.
    TRLReplayCanvas replay(canvas, m_pageRect.Left + m_shift.x(), m_pageRect.Top + m_shift.y(), m_factorX, m_factorY, m_pageRect.ToQRect(),
                           printer().ReadPrinterMetrics().PPIY);
    page->PaintTo(replay);
}

TRLSpoolFilter *SpoolFilter()
{
    if (!sharedFilter) {
        sharedFilter = new TRLSpoolFilter;
        // Released with the application object; without one it lives to the end.
        qAddPostRoutine(ReleaseSpoolFilter);
    }
    return sharedFilter;
}

void ReleaseSpoolFilter()
{
    delete sharedFilter;
    sharedFilter = nullptr;
}
