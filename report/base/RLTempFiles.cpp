#include "report/base/RLTempFiles.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QStorageInfo>

#include <cerrno>

namespace {

// The engine-wide list; its destructor runs at program end and deletes what is left.
class TempFileList
{
public:
    ~TempFileList() { deleteAll(); }

    void add(const QString &name)
    {
        QMutexLocker lock(&m_mutex);
        m_names.append(name);
    }
    void remove(const QString &name)
    {
        QMutexLocker lock(&m_mutex);
        m_names.removeAll(name);
    }
    QStringList names()
    {
        QMutexLocker lock(&m_mutex);
        return m_names;
    }
    void deleteAll()
    {
        QMutexLocker lock(&m_mutex);
        for (const QString &name : std::as_const(m_names))
            QFile::remove(name);
        m_names.clear();
    }

private:
    QMutex m_mutex;
    QStringList m_names;
};

TempFileList &tempFileList()
{
    static TempFileList list;
    return list;
}

QString candidateName(const QString &prefix)
{
    const quint32 number = QRandomGenerator::global()->bounded(quint32(0x80000000u));
    return RLTempFolder() + QLatin1Char('/') + prefix + QString::number(number) + QStringLiteral(".tmp");
}

} // namespace

QString RLUsableFolder(const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QFileInfo info(candidate);
        if (info.isDir() && info.isWritable()) {
            QString path = info.absoluteFilePath();
            while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
                path.chop(1);
            return path;
        }
    }
    return QString();
}

bool RLNoSpaceIn(const QString &folder, int errorNumber)
{
    if (errorNumber == ENOSPC || errorNumber == EDQUOT)
        return true;
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.bytesAvailable() < 64 * 1024;
}

QString RLTempFolderFullMessage()
{
    QString folder;
    try {
        folder = RLTempFolder();
    } catch (const TRLException &) {
        folder = QDir::tempPath();
    }
    return RLMessage(rlmTempFolderFull).arg(QDir::toNativeSeparators(folder));
}

QString RLTempFolder()
{
    // Qt canonicalises TMPDIR: one that does not exist comes back empty, and a name built on it
    // would land in the root folder.
    const QStringList candidates{QDir::tempPath(), QStringLiteral("/tmp"), QStringLiteral("/var/tmp")};
    const QString folder = RLUsableFolder(candidates);
    if (folder.isEmpty()) {
        QStringList tried{QFile::decodeName(qgetenv("TMPDIR"))};
        tried << candidates.mid(1);
        tried.removeAll(QString());
        throw TRLException(RLMessage(rlmNoWritableTempFolder).arg(tried.join(QStringLiteral(", "))));
    }
    return folder;
}

QString NewRLTempFileName(const QString &prefix)
{
    QString name;
    do
        name = candidateName(prefix);
    while (QFileInfo::exists(name) || QFileInfo(name).isSymLink());
    return name;
}

std::unique_ptr<QFile> CreateRLTempFile(const QString &prefix)
{
    // Make sure the list exists before the first file, so that it is destroyed after every store.
    tempFileList();
    // Another process may take a name between the check and the creation: draw again then.
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto file = std::make_unique<QFile>(NewRLTempFileName(prefix));
        if (file->open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered,
                       QFile::ReadOwner | QFile::WriteOwner)) {
            tempFileList().add(file->fileName());
            return file;
        }
        const int error = errno;
        const QFileInfo taken(file->fileName());
        if (!taken.exists() && !taken.isSymLink()) {
            if (RLNoSpaceIn(taken.absolutePath(), error))
                throw TRLException(RLTempFolderFullMessage());
            throw TRLException(file->errorString() + QStringLiteral(": ") + file->fileName());
        }
    }
    throw TRLException(QStringLiteral("Cannot create a temporary file in ") + RLTempFolder());
}

void DeleteRLTempFile(const QString &fileName)
{
    QFile::remove(fileName);
    tempFileList().remove(fileName);
}

QStringList RLTempFiles()
{
    return tempFileList().names();
}

void DeleteAllRLTempFiles()
{
    tempFileList().deleteAll();
}
