#pragma once
// The default print filter: replays each recorded page onto the printer, scaled from report
// pixels to the printer's resolution. A change of paper or orientation starts a new printer job.
// Every page is nudged by the printer's position adjustment, so that a pre-printed form lines up.

#include "report/base/RLTypes.h"
#include "report/output/RLFilters.h"
#include "report/output/RLPrintOffsets.h"

#include <QPoint>

#include <optional>

class TRLPrinterWrapper;

class TRLSpoolFilter : public TRLCustomPrintFilter
{
    Q_OBJECT
public:
    // printer: the wrapper to print on; none takes the shared one.
    explicit TRLSpoolFilter(QObject *owner = nullptr, TRLPrinterWrapper *printer = nullptr);

    void BeginDoc() override;
    void EndDoc() override;
    void NewPage() override;
    void DrawPage(TRLGraphicSurface *page) override;
    void AbortDoc() override;

    // Starts a job for the paper unless one for the same paper is open.
    void StartJobForPaper(int orientation, double paperWidthMm, double paperHeightMm);

    bool JobOpen() const { return m_jobOpen; }
    double PaperWidth() const { return m_paperWidth; }
    double PaperHeight() const { return m_paperHeight; }
    int Orientation() const { return m_orientation; }
    // The whole sheet in printer pixels, its corner moved out by the printer's offsets.
    const TRLRect &PageRect() const { return m_pageRect; }
    // Factors of the last page drawn.
    double FactorX() const { return m_factorX; }
    double FactorY() const { return m_factorY; }

    // A nudge to use instead of the one kept for the printer (a test page tries the fields' one).
    void SetFixedOffset(std::optional<TRLPrintOffset> offset) { m_fixedOffset = offset; }
    // The nudge of the running job in printer pixels, read when the job starts.
    QPoint Shift() const { return m_shift; }

private:
    TRLPrinterWrapper &printer() const;

    TRLPrinterWrapper *m_printer;
    bool m_jobOpen = false;
    double m_paperWidth = 0;
    double m_paperHeight = 0;
    int m_orientation = 0;
    TRLRect m_pageRect;
    std::optional<TRLPrintOffset> m_fixedOffset;
    QPoint m_shift;
    double m_factorX = 1;
    double m_factorY = 1;
};

// The engine-wide default filter, created on first use without owner or name.
TRLSpoolFilter *SpoolFilter();
void ReleaseSpoolFilter();
