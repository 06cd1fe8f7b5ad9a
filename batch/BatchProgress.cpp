#include "batch/BatchProgress.h"

#include <QLocale>

namespace {

QString duration(double seconds)
{
    const qint64 whole = qint64(seconds + 0.5);
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TBatchProgress::TBatchProgress(QTextStream &err, int total, bool enabled)
    : m_err(err), m_total(total), m_enabled(enabled)
{
    m_clock.start();
}

QString TBatchProgress::Line(int done, int total, double seconds)
{
    const double rate = seconds > 0 ? done / seconds : 0;
    QString line = QStringLiteral("%1/%2 guias").arg(done).arg(total);
    if (rate > 0)
        line += QStringLiteral(", %1 guias/s, faltam %2")
                    .arg(QLocale().toString(rate, 'f', 1), duration((total - done) / rate));
    return line;
}

void TBatchProgress::Step()
{
    ++m_done;
    if (!m_enabled)
        return;
    const qint64 now = m_clock.elapsed();
    if (now - m_lastDrawMs < 200 && m_done < m_total)
        return;
    m_lastDrawMs = now;
    draw();
}

void TBatchProgress::draw()
{
    m_err << "\r\033[K" << Line(m_done, m_total, m_clock.elapsed() / 1000.0);
    m_err.flush();
    m_drawn = true;
}

void TBatchProgress::Say(const QString &words)
{
    if (!m_enabled)
        return;
    m_err << "\r\033[K" << words;
    m_err.flush();
    m_drawn = true;
}

void TBatchProgress::Clear()
{
    if (m_drawn)
        m_err << "\r\033[K";
    m_drawn = false;
    m_err.flush();
}

void TBatchProgress::Finish(const QString &made)
{
    if (!m_enabled)
        return;
    Clear();
    const double seconds = m_clock.elapsed() / 1000.0;
    m_err << QStringLiteral("%1 guia%2 em %3 s (%4 guias/s): %5")
                 .arg(m_done)
                 .arg(m_done == 1 ? "" : "s", QLocale().toString(seconds, 'f', 1),
                      QLocale().toString(seconds > 0 ? m_done / seconds : 0, 'f', 1), made)
          << Qt::endl;
}
