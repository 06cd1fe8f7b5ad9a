// Soak of the Print command: many slips in a row through a private CUPS scheduler, recording after
// every print what the process holds, so that a leak shows as a slope.
//
//   bench_soak [prints=1000] [csv=soak.csv] [png=soak-rss.png]
//
// The prints take the four layouts (DARF and GARE, in colour and in black and white) and both
// data-only slips in turn; every tenth runs in the background, every fiftieth (the 25th, 75th, ...)
// is cancelled in the print dialog and every hundredth goes, in the background, to a queue whose
// filter fails. After each print (and, for
// a background one, once it has ended and its job has left the scheduler's open list) one CSV row:
// print number, kind, RSS in kB, open descriptors, threads, files in the temporary folder, jobs
// not completed in CUPS, and the messages shown. The PNG plots RSS against the print number.

#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLJobWait.h"
#include "report/output/RLPrintDialog.h"
#include "report/output/RLPrinters.h"
#include "tests/support/PrivateCups.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/NumEditCLX.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

struct Sample
{
    int print = 0;
    QString kind;
    qint64 rssKb = 0;
    int fds = 0;
    int threads = 0;
    int tempFiles = 0;
    int openJobs = 0;
    QString messages;
};

qint64 rssKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024 : 0;
}

int openDescriptors()
{
    // The listing itself holds one while it reads.
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size()) - 1;
}

int threadCount()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("Threads:"))
            return line.mid(8).trimmed().toInt();
    return 0;
}

int openJobs(PrivateCups &cups)
{
    const QString out = cups.command(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("not-completed"),
                                                                QStringLiteral("-o")});
    return int(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

// Lets the event loop run for a while (hand-overs of a background print need it).
void pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void enter(TfrmZavenor &w)
{
    w.EdNome->setText(QString::fromUtf8("JOÃO DA CONCEIÇÃO ASSUNÇÃO & FILHOS COMÉRCIO LTDA."));
    w.mePerAp->setText(QStringLiteral("31/12/2025"));
    w.edCGCCPF->setText(QStringLiteral("12.345.678/0001-95"));
    w.edCodRec->setText(QStringLiteral("2089"));
    w.meDtVenc->setText(QStringLiteral("15/01/2026"));
    w.neValPrinc->setText(QStringLiteral("1.234,56"));
    w.fTotalizaDarf();
    w.EdNomeG->setText(QString::fromUtf8("MARIA DA PENHA ESTÊVÃO"));
    w.neValRecG->setText(QStringLiteral("987,65"));
    w.fTotalizaGare();
}

void plot(const QList<Sample> &samples, const QString &file)
{
    QImage image(640, 320, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area(70, 20, 550, 250);
    qint64 low = samples.first().rssKb, high = low;
    for (const Sample &s : samples) {
        low = std::min(low, s.rssKb);
        high = std::max(high, s.rssKb);
    }
    // Room above and below, and never a scale finer than 1 MB.
    low = std::max<qint64>(0, low - 1024);
    high = std::max(high + 1024, low + 4096);
    const int last = samples.last().print;
    auto at = [&](const Sample &s) {
        return QPointF(area.left() + area.width() * double(s.print - 1) / std::max(1, last - 1),
                       area.bottom() - area.height() * double(s.rssKb - low) / double(high - low));
    };
    p.setPen(Qt::black);
    p.drawRect(area);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    for (int i = 0; i <= 4; ++i) {
        const qint64 kb = low + (high - low) * i / 4;
        const int y = area.bottom() - area.height() * i / 4;
        p.drawText(QRect(0, y - 7, area.left() - 6, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(kb / 1024.0, 'f', 1) + QStringLiteral(" MB"));
        p.drawLine(area.left() - 3, y, area.left(), y);
    }
    for (int i = 0; i <= 4; ++i) {
        const int n = 1 + (last - 1) * i / 4;
        const int x = area.left() + area.width() * i / 4;
        p.drawText(QRect(x - 30, area.bottom() + 4, 60, 14), Qt::AlignCenter, QString::number(n));
    }
    p.drawText(QRect(area.left(), area.bottom() + 20, area.width(), 16), Qt::AlignCenter,
               QStringLiteral("impressão nº (RSS após cada impressão)"));
    p.setPen(QPen(QColor(0x1f, 0x61, 0x1d), 1.5));
    QPolygonF line;
    for (const Sample &s : samples)
        line << at(s);
    p.drawPolyline(line);
    p.end();
    image.save(file);
}

} // namespace

int main(int argc, char **argv)
{
    PrivateCups cups; // before anything asks CUPS about its server
    // Its own temporary folder, so that what the program leaves there can be counted (the
    // scheduler's folders stay where CUPS filters may read them).
    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/zavenor-soak-XXXXXX"));
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    TZavenorApplication app(argc, argv);
    const int prints = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const QString csvFile = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("soak.csv");
    const QString pngFile = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("soak-rss.png");
    if (!cups.IsRunning() || !cups.AddFailingQueue(QStringLiteral("Quebrada"))
        || !cups.AddPdfQueue(QStringLiteral("ZavenorPDF"))) {
        std::fprintf(stderr, "no private CUPS scheduler: %s\n", qPrintable(cups.Error()));
        return 1;
    }
    RLPrinter().Refresh();

    TfrmZavenor w;
    w.show();
    enter(w);

    // How the dialog of the current print is to be answered.
    bool background = false, cancel = false, failing = false;
    QStringList shown;
    QTimer answer;
    answer.setInterval(2);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal); dialog && dialog->isVisible()) {
            const int queue = dialog->ComboBoxPrinterNames->findText(failing ? QStringLiteral("Quebrada")
                                                                             : QStringLiteral("ZavenorPDF"),
                                                                     Qt::MatchStartsWith);
            if (queue >= 0)
                dialog->ComboBoxPrinterNames->setCurrentIndex(queue);
            dialog->CheckBoxPrintInBackground->setChecked(background);
            (cancel ? dialog->ButtonCancel : dialog->ButtonOk)->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal); box && box->isVisible()) {
            shown << box->text().left(40);
            box->defaultButton()->click();
        }
    });
    answer.start();

    static const char *const kinds[] = {"darf-cor", "darf-pb", "gare-cor", "gare-pb", "dados-darf", "dados-gare"};
    QFile csv(csvFile);
    if (!csv.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(csvFile));
        return 1;
    }
    QTextStream out(&csv);
    out << "print,kind,rss_kb,fds,threads,temp_files,open_jobs,messages\n";
    QList<Sample> samples;
    const int baselineJobs = openJobs(cups);
    int previousJobs = baselineJobs;
    QElapsedTimer clock;
    clock.start();
    for (int n = 1; n <= prints; ++n) {
        const int kind = (n - 1) % 6;
        background = n % 10 == 0;
        cancel = n % 50 == 25;
        failing = n % 100 == 0;
        shown.clear();
        w.PC1->setCurrentWidget(kind == 0 || kind == 1 || kind == 4 ? w.tsDarf : w.tsGare);
        w.cbComLayOut->setChecked(kind < 4);
        (kind % 2 == 0 ? w.RBCor : w.RBPB)->click();
        w.BBImprimir->click();
        // A background print, its job and the watcher that follows the job end after the click:
        // wait for all three. The watcher cancels a job that failed once it has reported it.
        QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()
               && (RLBackgroundRunning() || RLJobWatchRunning() || openJobs(cups) > previousJobs))
            pause(20);
        pause(5);
        Sample s;
        s.print = n;
        s.kind = QString::fromLatin1(kinds[kind]) + (background ? QStringLiteral("+fundo") : QString())
                 + (cancel ? QStringLiteral("+cancelada") : QString()) + (failing ? QStringLiteral("+falha") : QString());
        s.rssKb = rssKb();
        s.fds = openDescriptors();
        s.threads = threadCount();
        s.tempFiles = int(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size());
        s.openJobs = openJobs(cups);
        previousJobs = s.openJobs;
        s.messages = shown.join(QStringLiteral(" / "));
        samples << s;
        out << s.print << ',' << s.kind << ',' << s.rssKb << ',' << s.fds << ',' << s.threads << ',' << s.tempFiles
            << ',' << s.openJobs << ",\"" << QString(s.messages).replace('"', '\'') << "\"\n";
        out.flush();
        if (n == 1 || n % 50 == 0)
            std::printf("%4d %-28s rss %6lld kB fds %3d threads %2d temp %d jobs %d (%.0f s)\n", n, qPrintable(s.kind),
                        s.rssKb, s.fds, s.threads, s.tempFiles, s.openJobs, clock.elapsed() / 1000.0);
        std::fflush(stdout);
    }
    plot(samples, pngFile);

    // After the first ten prints everything is warm: RSS may not grow past 1.05 times its value then.
    const Sample &first = samples.first();
    const Sample &warm = samples.at(std::min<qsizetype>(9, samples.size() - 1));
    qint64 peak = 0;
    int fdsAbove = 0, threadsAbove = 0, tempAbove = 0;
    for (const Sample &s : samples) {
        if (s.print > 10)
            peak = std::max(peak, s.rssKb);
        fdsAbove = std::max(fdsAbove, s.fds - first.fds);
        threadsAbove = std::max(threadsAbove, s.threads - first.threads);
        tempAbove = std::max(tempAbove, s.tempFiles);
    }
    std::printf("%d prints in %.0f s; RSS after print 10: %lld kB, highest after it: %lld kB (%.3f times), last: %lld "
                "kB; most above the first print: fds %d, threads %d; most temporary files %d; jobs not completed at "
                "the end %d (at the start %d)\n",
                int(samples.size()), clock.elapsed() / 1000.0, warm.rssKb, peak,
                warm.rssKb ? double(peak) / warm.rssKb : 0.0, samples.last().rssKb, fdsAbove, threadsAbove, tempAbove,
                samples.last().openJobs, baselineJobs);
    return 0;
}
