#pragma once
// The progress line of a batch on a terminal: rows done of the total, slips per second and the
// time left, redrawn in place at most a few times a second; then a one-line summary.

#include <QElapsedTimer>
#include <QTextStream>

class TBatchProgress
{
public:
    TBatchProgress(QTextStream &err, int total, bool enabled);
    void Step();
    // Clears the line and prints the summary (made: what the output says it made).
    void Finish(const QString &made);
    // Puts words in the line's place (on a terminal only), until the next step or message.
    void Say(const QString &words);
    // Clears the line before a message takes it.
    void Clear();

    static QString Line(int done, int total, double seconds);

private:
    void draw();

    QTextStream &m_err;
    int m_total;
    int m_done = 0;
    bool m_enabled;
    bool m_drawn = false;
    qint64 m_lastDrawMs = -1000;
    QElapsedTimer m_clock;
};
