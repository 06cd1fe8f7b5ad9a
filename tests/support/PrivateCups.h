#pragma once
// A private CUPS scheduler with cups-pdf queues for tests that print for real. Each test program
// starts its own (own folder, own socket, own cups-pdf configuration name) and stops it on exit.
// Construct it before anything talks to CUPS: libcups reads CUPS_SERVER once per thread.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

class PrivateCups
{
public:
    // Waits are stretched under the sanitizers, where everything runs several times slower.
    static int scaled(int milliseconds)
    {
#if defined(__SANITIZE_ADDRESS__)
        return milliseconds * 5;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        return milliseconds * 5;
#else
        return milliseconds;
#endif
#else
        return milliseconds;
#endif
    }

    PrivateCups()
    {
        static int instance = 0;
        m_tag = QStringLiteral("zv%1x%2").arg(QCoreApplication::applicationPid()).arg(++instance);
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary folder");
            return;
        }
        m_root = m_dir.path();
        // CUPS filters run as user lp: every folder on the way must be open to it.
        QFile::setPermissions(m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                          | QFileDevice::ExeOther);
        for (const char *sub : {"etc/ppd", "spool/tmp", "cache", "run", "log", "pdf-out", "cups-pdf-spool",
                                "serverbin/backend"})
            QDir(m_root).mkpath(QString::fromLatin1(sub));
        linkServerPrograms();
        writeFile(m_root + QStringLiteral("/etc/cupsd.conf"),
                  QStringLiteral("LogLevel info\nListen %1\nBrowsing No\nWebInterface No\nDefaultAuthType Basic\n"
                                 "PreserveJobFiles Yes\n<Location />\n  Order allow,deny\n  Allow localhost\n</Location>\n"
                                 "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
                                 "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                      .arg(socketPath()));
        writeFile(m_root + QStringLiteral("/etc/cups-files.conf"),
                  QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                                 "StateDir %1/run\nServerBin %1/serverbin\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                 "PageLog %1/log/page_log\nSystemGroup root\n")
                      .arg(m_root));
        writeFile(cupsPdfConf(), QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nLog %3\nUserUMask 0022\nGrp lpadmin\n")
                                     .arg(outputDir(), m_root + QStringLiteral("/cups-pdf-spool"),
                                          m_root + QStringLiteral("/log")));
        qputenv("CUPS_SERVER", socketPath().toUtf8());
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        // A test that dies must not leave its scheduler behind.
        m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"), m_root + QStringLiteral("/etc/cupsd.conf"),
                       QStringLiteral("-s"), m_root + QStringLiteral("/etc/cups-files.conf")});
        if (!m_cupsd.waitForStarted(scaled(5000))) {
            m_error = QStringLiteral("cupsd did not start");
            return;
        }
        QDeadlineTimer deadline(scaled(10000));
        while (!command(QStringLiteral("lpstat"), {QStringLiteral("-r")}).contains(QLatin1String("is running"))) {
            if (deadline.hasExpired() || m_cupsd.state() != QProcess::Running) {
                m_error = QStringLiteral("cupsd does not answer: ") + QString::fromLocal8Bit(m_cupsd.readAll());
                return;
            }
            QThread::msleep(20);
        }
        m_running = true;
    }

    ~PrivateCups()
    {
        Stop();
        QFile::remove(cupsPdfConf());
    }

    bool IsRunning() const { return m_running; }
    QString Error() const { return m_error; }
    QString socketPath() const { return m_root + QStringLiteral("/run/cups.sock"); }
    QString outputDir() const { return m_root + QStringLiteral("/pdf-out"); }
    QString root() const { return m_root; }

    // A cups-pdf queue (PDF out, text kept); true when CUPS took it.
    bool AddPdfQueue(const QString &name, bool makeDefault = true)
    {
        QStringList args{QStringLiteral("-p"), name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/") + m_tag,
                         QStringLiteral("-P"), QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"),
                         QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo"),
                         QStringLiteral("-L"), QStringLiteral("Sala 1"), QStringLiteral("-E")};
        if (!lpadmin(args))
            return false;
        return !makeDefault || lpadmin({QStringLiteral("-d"), name});
    }

    // A queue whose filter always fails once a job has been accepted.
    bool AddFailingQueue(const QString &name)
    {
        QFile source(QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"));
        if (!source.open(QIODevice::ReadOnly))
            return false;
        QByteArray ppd = source.readAll();
        ppd.replace("*cupsFilter", "*%cupsFilter");
        ppd.append("\n*cupsFilter: \"application/vnd.cups-pdf 0 /bin/false\"\n");
        const QString ppdFile = m_root + QStringLiteral("/etc/failing.ppd");
        writeFile(ppdFile, QString::fromLatin1(ppd));
        return lpadmin({QStringLiteral("-p"), name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/") + m_tag,
                        QStringLiteral("-P"), ppdFile, QStringLiteral("-E")});
    }

    // A raw queue whose device is a backend script of the test's own (sh, run as user lp): it
    // plays a device switched off, one that fails, and so on. Raw: the queue lists no paper sizes.
    bool AddBackendQueue(const QString &name, const QString &script, const QStringList &options = {})
    {
        const QString scheme = QStringLiteral("zv") + name.toLower();
        const QString program = m_root + QStringLiteral("/serverbin/backend/") + scheme;
        writeFile(program, QStringLiteral("#!/bin/sh\n"
                                          "[ $# -eq 0 ] && { echo 'direct %1 \"Unknown\" \"Zavenor test\"'; exit 0; }\n")
                               .arg(scheme)
                      + script + QLatin1Char('\n'));
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                           | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                           | QFileDevice::ExeOther);
        QStringList args{QStringLiteral("-p"), name, QStringLiteral("-v"), scheme + QStringLiteral(":/device"),
                         QStringLiteral("-m"), QStringLiteral("raw"), QStringLiteral("-E")};
        for (const QString &option : options)
            args << QStringLiteral("-o") << option;
        return lpadmin(args);
    }

    // A cups-pdf queue whose filter is a script of the test's own (sh, run as user lp).
    bool AddFilterQueue(const QString &name, const QString &script)
    {
        const QString program = m_root + QStringLiteral("/etc/") + name + QStringLiteral(".filter");
        writeFile(program, QStringLiteral("#!/bin/sh\n") + script + QLatin1Char('\n'));
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                           | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                           | QFileDevice::ExeOther);
        QFile source(QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"));
        if (!source.open(QIODevice::ReadOnly))
            return false;
        QByteArray ppd = source.readAll();
        ppd.replace("*cupsFilter", "*%cupsFilter");
        ppd.append("\n*cupsFilter: \"application/vnd.cups-pdf 0 " + program.toUtf8() + "\"\n");
        const QString ppdFile = m_root + QStringLiteral("/etc/") + name + QStringLiteral(".ppd");
        writeFile(ppdFile, QString::fromLatin1(ppd));
        return lpadmin({QStringLiteral("-p"), name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/") + m_tag,
                        QStringLiteral("-P"), ppdFile, QStringLiteral("-E")});
    }

    // Freezes or thaws the scheduler (it keeps its socket, and answers nothing meanwhile).
    void Freeze(bool frozen)
    {
        if (m_cupsd.state() == QProcess::Running)
            ::kill(pid_t(m_cupsd.processId()), frozen ? SIGSTOP : SIGCONT);
    }

    bool lpadmin(const QStringList &args) { return run(QStringLiteral("lpadmin"), args); }

    // Runs a CUPS command against this scheduler; true on exit code 0.
    bool run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(scaled(20000)) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QString command(const QString &program, const QStringList &args)
    {
        QProcess p;
        // The words looked for are the untranslated ones.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        p.waitForFinished(scaled(20000));
        return QString::fromLocal8Bit(p.readAll());
    }

    // "completed", "pending" (not completed yet, including stopped) or empty when CUPS has no such job.
    QString JobState(int jobId)
    {
        const QString completed = command(QStringLiteral("lpstat"),
                                          {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o")});
        const QRegularExpression id(QStringLiteral("-%1\\s").arg(jobId));
        if (completed.contains(id))
            return QStringLiteral("completed");
        const QString open = command(QStringLiteral("lpstat"),
                                     {QStringLiteral("-W"), QStringLiteral("not-completed"), QStringLiteral("-o")});
        return open.contains(id) ? QStringLiteral("pending") : QString();
    }

    // Waits until the job is completed and its PDF is in the output folder; the PDF's path.
    QString WaitForJob(int jobId, int milliseconds = 20000)
    {
        QDeadlineTimer deadline(scaled(milliseconds));
        const QRegularExpression name(QStringLiteral("job_%1\\.pdf$").arg(jobId));
        while (!deadline.hasExpired()) {
            if (JobState(jobId) == QLatin1String("completed")) {
                for (const QFileInfo &f : QDir(outputDir()).entryInfoList(QDir::Files))
                    if (name.match(f.fileName()).hasMatch())
                        return f.filePath();
            }
            QThread::msleep(50);
        }
        return QString();
    }

    // The document as the printer layer submitted it, before any filter (kept by the scheduler).
    QString SubmittedDocument(int jobId) const
    {
        return m_root + QStringLiteral("/spool/d%1-001").arg(jobId, 5, 10, QLatin1Char('0'));
    }

    QStringList OutputFiles() const
    {
        QStringList files;
        for (const QFileInfo &f : QDir(outputDir()).entryInfoList(QDir::Files, QDir::Name))
            files << f.filePath();
        return files;
    }

    void Stop()
    {
        if (m_cupsd.state() == QProcess::NotRunning)
            return;
        Freeze(false);
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(scaled(10000))) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(scaled(5000));
        }
        m_running = false;
    }

private:
    // The system's backends, filters and helpers, with room for the test's own backends.
    void linkServerPrograms()
    {
        const QString system = QStringLiteral("/usr/lib/cups");
        for (const QFileInfo &entry : QDir(system).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (entry.fileName() != QLatin1String("backend"))
                QFile::link(entry.filePath(), m_root + QStringLiteral("/serverbin/") + entry.fileName());
        for (const QFileInfo &entry : QDir(system + QStringLiteral("/backend")).entryInfoList(QDir::Files))
            QFile::link(entry.filePath(), m_root + QStringLiteral("/serverbin/backend/") + entry.fileName());
    }

    QString cupsPdfConf() const { return QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(m_tag); }

    static void writeFile(const QString &path, const QString &text)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(text.toUtf8());
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/zavenor-cups-XXXXXX")};
    QString m_root;
    QString m_tag;
    QString m_error;
    bool m_running = false;
    QProcess m_cupsd;
};
