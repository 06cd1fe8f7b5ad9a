#include "report/output/RLPdfFileDialog.h"

#include "report/base/RLConsts.h"
#include "report/output/RLUserChoices.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace {

QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString replaceQuestion(const QString &fileName)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    if (RLMessagesLanguage() == mlPortuguese)
        return QStringLiteral("O arquivo \"%1\" já existe.\nDeseja substituí-lo?").arg(shown);
    return QStringLiteral("The file \"%1\" already exists.\nDo you want to replace it?").arg(shown);
}

} // namespace

QString RLPdfDefaultFileName(const QString &documentName)
{
    QString name;
    for (const QChar c : documentName.trimmed()) {
        // Refused on Windows shares and memory sticks, or a folder separator here.
        const bool refused = c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c);
        name += refused ? QLatin1Char('_') : c;
    }
    // Windows drops trailing dots and blanks silently: the name would not be the one shown.
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        name = RLMessage(rlmPdfDocument);
    return name + QStringLiteral(".pdf");
}

QString RLLastPdfFolder()
{
    if (!lastFolder().isEmpty() && QFileInfo(lastFolder()).isDir())
        return lastFolder();
    // The folder of an earlier run, while it is still there.
    const QString remembered = RLUserChoices::Text(QStringLiteral("PastaPdf"));
    if (!remembered.isEmpty() && QFileInfo(remembered).isAbsolute() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void RLSetLastPdfFolder(const QString &folder)
{
    lastFolder() = folder;
    RLUserChoices::SetValue(QStringLiteral("PastaPdf"), folder);
}

bool RLConfirmReplace(QWidget *parent, const QString &fileName)
{
    QMessageBox box(QMessageBox::Warning, RLMessage(rlmPdfDocument), replaceQuestion(fileName), QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString RLAskPdfFileName(QWidget *parent, const QString &documentName)
{
    const QString filter = RLMessage(rlmPdfDocument) + QStringLiteral(" (*.pdf)");
    QFileDialog dialog(parent, RLMessage(rlmSaveToFile), RLLastPdfFolder(), filter);
    dialog.setObjectName(QStringLiteral("RLPdfFileDialog"));
    // The widget-based dialog takes a whole path typed into its name field; its own question
    // would come before ours, so the replace question is asked once, here.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(RLPdfDefaultFileName(documentName));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString chosen = dialog.selectedFiles().constFirst();
        const QFileInfo info(chosen);
        if (info.exists() && !RLConfirmReplace(parent, chosen)) {
            dialog.selectFile(info.fileName());
            continue;
        }
        RLSetLastPdfFolder(info.absolutePath());
        return info.absoluteFilePath();
    }
}
