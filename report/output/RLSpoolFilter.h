#pragma once
// The default print filter: replays each recorded page onto the printer, scaled from report
// pixels to the printer's resolution. A change of paper or orientation starts a new printer job.

#include "report/base/RLTypes.h"
#include "report/output/RLFilters.h"

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

private:
    TRLPrinterWrapper &printer() const;

    TRLPrinterWrapper *m_printer;
    bool m_jobOpen = false;
    double m_paperWidth = 0;
    double m_paperHeight = 0;
    int m_orientation = 0;
    TRLRect m_pageRect;
    double m_factorX = 1;
    double m_factorY = 1;
};

// The engine-wide default filter, created on first use without owner or name.
TRLSpoolFilter *SpoolFilter();
void ReleaseSpoolFilter();
