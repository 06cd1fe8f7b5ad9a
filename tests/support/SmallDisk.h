#pragma once
// A small file system of its own (tmpfs), so that a test can fill it or make it read-only. Root
// only; Mounted() says whether it worked.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QString>

#include <unistd.h>

class SmallDisk
{
public:
    explicit SmallDisk(const QString &path, const char *size) : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = ::geteuid() == 0
            && QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", QStringLiteral("size=%1").arg(size), "tmpfs", path}) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_path});
    }
    bool Mounted() const { return m_mounted; }
    bool MakeReadOnly()
    {
        return QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", m_path}) == 0;
    }
    // Leaves about `room` bytes free.
    bool FillLeaving(qint64 room)
    {
        QFile filler(m_path + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(1024, 'x');
        while (QStorageInfo(m_path).bytesAvailable() > room)
            if (filler.write(block) != block.size() || !filler.flush())
                break;
        return true;
    }

private:
    QString m_path;
    bool m_mounted = false;
};
