#include "app/ZavenorApplication.h"

#include "report/RLExceptions.h"
#include "report/output/RLFeedBack.h"
#include "report/output/RLPdfFilter.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <clocale>

Q_DECLARE_METATYPE(std::exception_ptr)

TZavenorApplication::TZavenorApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // QApplication switches the C library to the user's locale; strtod and printf must keep
    // reading and writing a full stop, whatever the regional settings say.
    std::setlocale(LC_NUMERIC, "C");
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

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
