// Start-up time: from process start to the first paint of the main window. With --minimal it
// shows a bare widget of the same size instead, the yardstick the main window is held to.
// The process ends right after that first paint; run it under hyperfine (scripts/bench-startup.sh).
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"

#include <QEvent>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Ends the process once the watched window has painted and its frame has been flushed.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // A zero timer runs after the current repaint pass, flush included.
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char **argv)
{
    const bool minimal = argc > 1 && std::strcmp(argv[1], "--minimal") == 0;
    FirstPaint firstPaint;
    if (minimal) {
        QApplication app(argc, argv);
        QWidget window;
        window.resize(657, 475);
        window.installEventFilter(&firstPaint);
        window.show();
        return app.exec();
    }
    TZavenorApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zavenor - Morvath Informática Ltda."));
    TfrmZavenor window;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}
