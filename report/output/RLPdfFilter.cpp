#include "report/output/RLPdfFilter.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/base/RLTempFiles.h"
#include "report/base/RLUtils.h"
#include "report/page/RLMetaFile.h"
#include "report/output/RLPdfFileDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace {

TRLPdfFilter *sharedFilter = nullptr;

bool portuguese() { return RLMessagesLanguage() == mlPortuguese; }

QString shownName(const QString &fileName) { return QDir::toNativeSeparators(fileName); }

QString cannotWriteMessage(const QString &fileName, const QString &reason)
{
    return portuguese() ? QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(shownName(fileName), reason)
                        : QStringLiteral("The file \"%1\" could not be written: %2").arg(shownName(fileName), reason);
}

QString diskFullReason()
{
    return portuguese() ? QStringLiteral("o arquivo ficou incompleto (o disco pode estar cheio).")
                        : QStringLiteral("the file came out incomplete (the disk may be full).");
}

QString noSpaceMessage(const QString &fileName)
{
    const QString folder = shownName(QFileInfo(fileName).absolutePath());
    return portuguese() ? QStringLiteral("Sem espaço na pasta %1: o arquivo \"%2\" não foi gravado.").arg(folder, shownName(fileName))
                        : QStringLiteral("No space in the folder %1: the file \"%2\" was not written.").arg(folder, shownName(fileName));
}

QString canceledMessage(const QString &fileName)
{
    return portuguese() ? QStringLiteral("A gravação foi cancelada; o arquivo \"%1\" não foi gravado.").arg(shownName(fileName))
                        : QStringLiteral("Saving was cancelled; the file \"%1\" was not written.").arg(shownName(fileName));
}

QString noPagesMessage(const QString &fileName)
{
    return portuguese() ? QStringLiteral("Nenhuma página no intervalo escolhido; o arquivo \"%1\" não foi gravado.")
                              .arg(shownName(fileName))
                        : QStringLiteral("No page in the chosen range; the file \"%1\" was not written.").arg(shownName(fileName));
}

QString noFileNameMessage()
{
    return portuguese() ? QStringLiteral("Nenhum nome de arquivo foi dado para o documento PDF.")
                        : QStringLiteral("No file name was given for the PDF document.");
}

// The upright sheet of a page in millimetres; a page without paper macros takes its own size.
QSizeF sheetMm(const TRLGraphicSurface &page)
{
    double width = page.PaperWidth();
    double height = page.PaperHeight();
    if (width <= 0 || height <= 0)
        return QSizeF(page.Width() * 25.4 / 96, page.Height() * 25.4 / 96);
    if (page.Orientation() == 2)
        std::swap(width, height);
    return QSizeF(width, height);
}

int devicePixels(double mm) { return RLMmToDots(mm, TRLPdfFilter::Resolution); }

} // namespace

// Passes the writer's bytes on to the file and keeps what tells a whole file from a cut one: the
// count that reached the file, any short write, and the last bytes (a PDF ends in %%EOF).
class TRLPdfFilter::CheckedOutput : public QIODevice
{
public:
    explicit CheckedOutput(QIODevice *target) : m_target(target) { open(QIODevice::WriteOnly); }
    qint64 Written() const { return m_written; }
    bool Failed() const { return m_failed; }
    int FirstErrno() const { return m_errno; }
    bool EndsWithTrailer() const { return m_tail.trimmed().endsWith("%%EOF"); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        errno = 0;
        const qint64 done = m_target->write(data, length);
        if (done != length && !m_failed) {
            m_failed = true;
            m_errno = errno;
        }
        if (done > 0) {
            m_written += done;
            m_tail = (m_tail + QByteArray(data + done - std::min<qint64>(done, 16), int(std::min<qint64>(done, 16)))).right(16);
        }
        return done;
    }

private:
    QIODevice *m_target;
    qint64 m_written = 0;
    bool m_failed = false;
    int m_errno = 0;
    QByteArray m_tail;
};

TRLPdfFilter::TRLPdfFilter(QObject *owner) : TRLCustomPrintFilter(owner) {}

TRLPdfFilter::~TRLPdfFilter()
{
    discardFile();
}

QString TRLPdfFilter::Creator()
{
    return QStringLiteral("Zavenor");
}

QString TRLPdfFilter::GetDisplayName() const
{
    return DisplayName().isEmpty() ? RLMessage(rlmPdfDocument) : DisplayName();
}

QString TRLPdfFilter::ProgressCaption() const
{
    return RLMessage(rlmSavingReport);
}

bool TRLPdfFilter::AskBeforeRun(QWidget *parent, const QString &documentName)
{
    const QString chosen = RLAskPdfFileName(parent, documentName);
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen;
    return true;
}

void TRLPdfFilter::BeginDoc()
{
    discardFile();
    if (m_fileName.isEmpty())
        throw TRLException(noFileNameMessage());
    m_title = !m_givenTitle.isEmpty() ? m_givenTitle : Pages() ? Pages()->Title() : QString();
    m_file = std::make_unique<QSaveFile>(m_fileName);
    // Writing straight into the target would leave a half-written file behind a failure.
    m_file->setDirectWriteFallback(false);
    if (!m_file->open(QIODevice::WriteOnly)) {
        const QString reason = m_file->errorString();
        m_file.reset();
        throw TRLException(cannotWriteMessage(m_fileName, reason));
    }
    m_output = std::make_unique<CheckedOutput>(m_file.get());
    m_writer = std::make_unique<QPdfWriter>(m_output.get());
    m_writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    m_writer->setResolution(Resolution);
    m_writer->setTitle(m_title);
    m_writer->setCreator(Creator());
}

void TRLPdfFilter::DrawPage(TRLGraphicSurface *page)
{
    const QSizeF sheet = sheetMm(*page);
    const QPageLayout layout(QPageSize(sheet, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                             QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    // A new layout takes effect on the next page: before the painter begins, or right before newPage.
    m_writer->setPageLayout(layout);
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_writer.get()))
            throw TRLException(cannotWriteMessage(m_fileName, m_file->errorString()));
    } else {
        m_writer->newPage();
    }
    const QRect sheetRect(0, 0, devicePixels(sheet.width()), devicePixels(sheet.height()));
    const double fx = page->Width() == 0 ? 1.0 : double(sheetRect.width()) / page->Width();
    const double fy = page->Height() == 0 ? 1.0 : double(sheetRect.height()) / page->Height();
    TRLReplayCanvas replay(m_painter.get(), 0, 0, fx, fy, sheetRect, Resolution);
    page->PaintTo(replay);
}

void TRLPdfFilter::RaiseCanceled()
{
    RLCheckApplicationClosing();
    throw TRLException(canceledMessage(m_fileName));
}

void TRLPdfFilter::EndDoc()
{
    if (Canceled()) {
        discardFile();
        RLCheckApplicationClosing();
        throw TRLException(canceledMessage(m_fileName));
    }
    if (!m_painter) {
        discardFile();
        throw TRLException(noPagesMessage(m_fileName));
    }
    commitFile();
}

void TRLPdfFilter::commitFile()
{
    const bool ended = m_painter->end();
    m_painter.reset();
    m_writer.reset();
    QString reason;
    errno = 0;
    if (!ended || m_output->Failed() || !m_file->flush())
        reason = m_file->errorString();
    int errorNumber = m_output->FirstErrno() ? m_output->FirstErrno() : errno;
    // A full disk can leave a cut file that reports no error: the bytes on disk must be all of them.
    struct stat info {};
    if (reason.isEmpty()
        && (!m_output->EndsWithTrailer() || ::fstat(m_file->handle(), &info) != 0 || info.st_size != m_output->Written()))
        reason = diskFullReason();
    if (reason.isEmpty()) {
        errno = 0;
        if (!m_file->commit()) {
            reason = m_file->errorString();
            errorNumber = errno;
        }
    }
    if (!reason.isEmpty()) {
        discardFile();
        // Judged by the error number and the room left: Qt's words change with its language.
        if (RLNoSpaceIn(QFileInfo(m_fileName).absolutePath(), errorNumber))
            throw TRLException(noSpaceMessage(m_fileName));
        throw TRLException(cannotWriteMessage(m_fileName, reason));
    }
    m_output.reset();
    m_file.reset();
}

void TRLPdfFilter::AbortDoc()
{
    discardFile();
}

void TRLPdfFilter::discardFile()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_output.reset();
    if (m_file)
        m_file->cancelWriting(); // the temporary copy goes; the target stays as it was
    m_file.reset();
}

TRLPdfFilter *PdfFilter()
{
    if (!sharedFilter) {
        sharedFilter = new TRLPdfFilter;
        qAddPostRoutine(ReleasePdfFilter);
    }
    return sharedFilter;
}

void ReleasePdfFilter()
{
    delete sharedFilter;
    sharedFilter = nullptr;
}
