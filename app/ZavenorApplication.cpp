#include "app/ZavenorApplication.h"

#include "report/base/RLExceptions.h"
#include "report/output/RLFeedBack.h"
#include "report/output/RLPdfFilter.h"
#include "slips/FrontEndSetup.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <malloc.h>

Q_DECLARE_METATYPE(std::exception_ptr)

TZavenorApplication::TZavenorApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    FrontEndSetup::Apply();
    // The C library gives every thread that allocates while another does a heap of its own, up to
    // eight per core, and each heap keeps the pages it has used. The print thread, the calls to
    // CUPS and the job watcher need no heap of their own: with a second heap, each background
    // print of a new kind of slip raised it to a new high mark that the window's prints never
    // reused. One heap serves them all, as one print runs at a time.
    mallopt(M_ARENA_MAX, 1);

    auto *translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    // Page loops of the engine show their progress in the engine's own window.
    InstallRLFeedBackProgress();
    // Offers "Documento PDF" beside the printer in every print dialog.
    PdfFilter();
}

bool TZavenorApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException(std::current_exception());
        return false;
    }
}

void TZavenorApplication::handleException(std::exception_ptr error)
{
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const TRLAbort &) {
        return;
    } catch (const TRLException &e) {
        message = e.Message();
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Erro desconhecido.");
    }
    QMessageBox::critical(activeWindow(), QStringLiteral("Error"), message);
}

void TZavenorApplication::handleNotice(const QString &text)
{
    QMessageBox::information(activeWindow(), QStringLiteral("Information"), text);
}
