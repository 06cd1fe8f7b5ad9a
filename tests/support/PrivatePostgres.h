#pragma once
// A PostgreSQL server of the test's own: initdb in a temporary folder owned by the postgres user
// (the server refuses to run as root), listening only on a Unix socket in that folder on a private
// port, stopped by its PID at the end. IsRunning() says whether it started; Error() why not.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/types.h>

class PrivatePostgres
{
public:
    PrivatePostgres()
    {
        m_dir.setAutoRemove(true);
        const QString root = m_dir.path();
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        m_port = 16450 + int(QCoreApplication::applicationPid() % 500);
        if (run(QStringLiteral("chown"), {QStringLiteral("postgres:"), root}) != 0) {
            m_error = QStringLiteral("chown failed");
            return;
        }
        if (asPostgres(QStringLiteral("initdb"), {QStringLiteral("-D"), root + QStringLiteral("/data"), QStringLiteral("-A"),
                                                  QStringLiteral("trust"), QStringLiteral("-U"), QStringLiteral("zavenor")})
            != 0) {
            m_error = QStringLiteral("initdb failed: ") + m_output;
            return;
        }
        const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses=''").arg(root).arg(m_port);
        if (asPostgres(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), root + QStringLiteral("/data"), QStringLiteral("-o"),
                                                  options, QStringLiteral("-l"), root + QStringLiteral("/log"),
                                                  QStringLiteral("-w"), QStringLiteral("start")})
            != 0) {
            m_error = QStringLiteral("pg_ctl start failed: ") + m_output;
            return;
        }
        m_running = true;
    }
    ~PrivatePostgres()
    {
        if (!m_running)
            return;
        QFile pidFile(m_dir.path() + QStringLiteral("/data/postmaster.pid"));
        if (pidFile.open(QIODevice::ReadOnly)) {
            const pid_t pid = pid_t(pidFile.readLine().trimmed().toLong());
            if (pid > 0) {
                ::kill(pid, SIGINT); // a fast shutdown
                for (int i = 0; i < 200 && ::kill(pid, 0) == 0; ++i)
                    QThread::msleep(25);
            }
        }
    }
    bool IsRunning() const { return m_running; }
    QString Error() const { return m_error; }
    QString SocketFolder() const { return m_dir.path(); }
    int Port() const { return m_port; }

private:
    int run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        p.waitForFinished(120000);
        m_output = QString::fromLocal8Bit(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    int asPostgres(const QString &tool, const QStringList &args)
    {
        return run(QStringLiteral("runuser"),
                   QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"),
                               QStringLiteral("/usr/lib/postgresql/15/bin/") + tool}
                       + args);
    }

    QTemporaryDir m_dir;
    int m_port = 0;
    bool m_running = false;
    QString m_error, m_output;
};
