#pragma once
// The batch's one door to PDF files: recorded slip pages drawn into a PDF at their exact paper
// size, written atomically, so that a failure leaves neither a half-written file nor a changed
// old one.

#include <QPdfWriter>
#include <QPainter>
#include <QSaveFile>
#include <QString>

#include <memory>

class TRLGraphicStorage;

class TSlipPdfFile
{
public:
    TSlipPdfFile(const QString &path, const QString &title);
    ~TSlipPdfFile(); // discards what Commit did not keep
    TSlipPdfFile(const TSlipPdfFile &) = delete;
    TSlipPdfFile &operator=(const TSlipPdfFile &) = delete;

    // Appends every page of the store. Throws TBatchOutputError.
    void AddPages(TRLGraphicStorage &store);
    // Finishes the document and puts it in place. Throws TBatchOutputError.
    void Commit();

    int PageCount() const { return m_pages; }

private:
    QString m_path;
    QString m_title;
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    int m_pages = 0;
    bool m_committed = false;
};
