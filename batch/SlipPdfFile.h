#pragma once
// The batch's one door to PDF files: recorded slip pages written through the engine's PDF filter
// (the file "Documento PDF" saves from the print dialog), at their exact paper size and
// atomically, so that a failure leaves neither a half-written file nor a changed old one.

#include <QString>
#include <memory>

class TRLGraphicStorage;
class TRLPdfFilter;

class TSlipPdfFile
{
public:
    explicit TSlipPdfFile(const QString &path);
    ~TSlipPdfFile(); // discards what Commit did not keep
    TSlipPdfFile(const TSlipPdfFile &) = delete;
    TSlipPdfFile &operator=(const TSlipPdfFile &) = delete;

    // One store as a whole file, titled as the store (a slip's report title). Throws.
    static void Write(const QString &path, TRLGraphicStorage &store);

    // The document's title, before the first pages.
    void SetTitle(const QString &title);
    // Appends every page of the store. Throws the engine's errors or TBatchOutputError.
    void AddPages(TRLGraphicStorage &store);
    // Finishes the document and puts it in place. Throws as AddPages.
    void Commit();

    int PageCount() const { return m_pages; }

private:
    std::unique_ptr<TRLPdfFilter> m_filter;
    int m_pages = 0;
    bool m_begun = false;
    bool m_done = false;
};
