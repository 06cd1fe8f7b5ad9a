#pragma once
// The preview window: the prepared pages on screen through the same replay the printer uses,
// drawn afresh at the screen's pixel ratio, with page moves and zoom. Opened over the print
// dialog; its Imprimir ends it with PrintResult, and the dialog then acts as on OK.

#include "report/output/RLPrintDialog.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;
class TRLGraphicStorage;
class TRLGraphicSurface;

enum class TRLPreviewZoom { WholePage, PageWidth, SeveralPages, Custom };

// The pages in a row, each drawn from its recorded objects at the current zoom.
class TRLPreviewPages : public QWidget
{
    Q_OBJECT
public:
    explicit TRLPreviewPages(QWidget *parent = nullptr);

    void SetStore(TRLGraphicStorage *store);
    // The first page shown (0-based), how many side by side, and report pixels to screen pixels.
    void Show(int firstPage, int pageCount, double zoom);
    double Zoom() const { return m_zoom; }
    int FirstPage() const { return m_first; }
    int ShownPages() const { return m_count; }
    // Size of a page in report pixels (A4 when the store has none).
    QSize PageSize(int page) const;
    // Where page sits in this widget.
    QRect PageRect(int index) const;
    static constexpr int Gap = 12;
    // The page replayed at logical size times ratio device pixels, tagged with that ratio.
    static QImage RenderPage(TRLGraphicSurface *surface, const QSize &logical, qreal ratio);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage render(int page, const QSize &logical, qreal ratio);

    QPointer<TRLGraphicStorage> m_store;
    int m_first = 0;
    int m_count = 1;
    double m_zoom = 1;
    QHash<QString, QImage> m_cache; // page and device size; dropped on every change of view
};

class TfrmRLPreview : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PrintResult = 2;

    // source gives the pages when the window opens; when it gives none the window closes.
    explicit TfrmRLPreview(TRLPreviewSource source, QWidget *parent = nullptr);
    ~TfrmRLPreview() override;

    // Usable once the window is shown (the pages are asked for then).
    TRLGraphicStorage *Store() const { return m_store; }
    int PageIndex() const { return m_page; }
    int PageCount() const;
    TRLPreviewZoom ZoomMode() const { return m_mode; }
    double Zoom() const;

    void FirstPage();
    void PriorPage();
    void NextPage();
    void LastPage();
    void GoToPage(int index);
    void SetZoomMode(TRLPreviewZoom mode);
    void ZoomIn();
    void ZoomOut();
    void SetZoom(double zoom);
    // Imprimir: closes as the print dialog's OK.
    void Print();

    QToolButton *ButtonFirst = nullptr;
    QToolButton *ButtonPrior = nullptr;
    QToolButton *ButtonNext = nullptr;
    QToolButton *ButtonLast = nullptr;
    QLabel *LabelPage = nullptr;
    QToolButton *ButtonWholePage = nullptr;
    QToolButton *ButtonPageWidth = nullptr;
    QToolButton *ButtonSeveralPages = nullptr;
    QToolButton *ButtonZoomIn = nullptr;
    QToolButton *ButtonZoomOut = nullptr;
    QLabel *LabelZoom = nullptr;
    QPushButton *ButtonPrint = nullptr;
    QPushButton *ButtonClose = nullptr;
    QScrollArea *ScrollArea = nullptr;
    TRLPreviewPages *Pages = nullptr;

    static constexpr double MinZoom = 0.1;
    static constexpr double MaxZoom = 8.0;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void addShortcuts();
    void loadPages();
    void refresh();
    QSize viewportSize() const;

    TRLPreviewSource m_source;
    QPointer<TRLGraphicStorage> m_store;
    bool m_loaded = false;
    int m_page = 0;
    TRLPreviewZoom m_mode = TRLPreviewZoom::WholePage;
    double m_customZoom = 1;
};
