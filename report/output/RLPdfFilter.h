#pragma once
// Saves the pages of a report as a PDF/A-1b file at their exact paper size, with real text and
// embedded fonts. The file is written aside and replaces the target only once it is whole, so
// a failed or cancelled run leaves no half-written file and any older file unchanged.

#include "report/output/RLFilters.h"

#include <QString>

#include <memory>

class QIODevice;
class QPainter;
class QPdfWriter;
class QSaveFile;

class TRLPdfFilter : public TRLCustomPrintFilter
{
    Q_OBJECT
public:
    explicit TRLPdfFilter(QObject *owner = nullptr);
    ~TRLPdfFilter() override;

    // The file a run writes. Set by the ask step or by a caller that runs without one.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    // The document's title; when none is given, the pages' own.
    void SetTitle(const QString &title) { m_givenTitle = title; }
    // Written into the document's information as its creator.
    static QString Creator();

    QString GetDisplayName() const override;
    bool AskBeforeRun(QWidget *parent, const QString &documentName) override;
    bool WaitsForBackgroundRun() const override { return true; }

    void BeginDoc() override;
    void EndDoc() override;
    void NewPage() override {}
    void DrawPage(TRLGraphicSurface *page) override;
    void AbortDoc() override;
    [[noreturn]] void RaiseCanceled() override;

    // Device resolution of the written pages.
    static constexpr int Resolution = 1200;

protected:
    QString ProgressCaption() const override;

private:
    class CheckedOutput;
    void commitFile();
    void discardFile();

    QString m_fileName;
    QString m_givenTitle;
    QString m_title;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<CheckedOutput> m_output;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
};

// The engine-wide PDF filter, created on first use; creating it offers "Documento PDF" in the
// print dialog.
TRLPdfFilter *PdfFilter();
void ReleasePdfFilter();
