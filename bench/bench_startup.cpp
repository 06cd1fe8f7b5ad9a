// Start-up time: from process start to the first paint of the main window. Two yardsticks of
// the same size stand beside it: --minimal, a bare widget, and --two-labels, a window with one
// label in Arial and one in Times New Roman, which pays for the fonts as any window showing the
// slips' text must. The process ends right after that first paint; run it under hyperfine
// (scripts/bench-startup.sh).
#include "app/FontWarmUp.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"

#include <QEvent>
#include <QLabel>
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

void addLabel(QWidget *window, const char *family, int top, const QString &text)
{
    auto *label = new QLabel(text, window);
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(11);
    label->setFont(font);
    label->move(16, top);
}

} // namespace

int main(int argc, char **argv)
{
    const bool minimal = argc > 1 && std::strcmp(argv[1], "--minimal") == 0;
    const bool twoLabels = argc > 1 && std::strcmp(argv[1], "--two-labels") == 0;
    FirstPaint firstPaint;
    if (minimal || twoLabels) {
        QApplication app(argc, argv);
        QWidget window;
        window.resize(657, 475);
        if (twoLabels) {
            addLabel(&window, "Arial", 16, QStringLiteral("MINISTÉRIO DA FAZENDA"));
            addLabel(&window, "Times New Roman", 40, QStringLiteral("GUIA DE ARRECADAÇÃO ESTADUAL"));
        }
        window.installEventFilter(&firstPaint);
        window.show();
        return app.exec();
    }
    // What the program does before its event loop, hidden data-only windows included.
    TFontWarmUp fonts;
    TZavenorApplication app(argc, argv);
    fonts.Wait();
    app.setApplicationName(QStringLiteral("Zavenor - Morvath Informática Ltda."));
    TfrmZavenor window;
    TfrmDadosGARE dadosGare;
    frmDadosGARE = &dadosGare;
    TfrmDadosDARF dadosDarf;
    frmDadosDARF = &dadosDarf;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}
