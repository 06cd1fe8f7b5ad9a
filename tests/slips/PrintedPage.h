#pragma once
// Shared by the tests that print slips for real: the print dialog accepted as a user would, and
// every text of a recorded page looked up on a PDF where its replay puts it.

#include "report/page/RLMetaFile.h"
#include "report/page/RLMetaFileObjects.h"
#include "support/PdfInspect.h"

#include "DarfTestData.h"

#include "report/output/RLPrintDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QFont>
#include <QFontMetrics>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace PrintedPage {

// Both copies of a printed DARF, rasterised at 96 dpi: title, frame and crest in colour or in
// black, the amounts always black.
inline void checkDarfInks(const QImage &image, bool colour)
{
    for (int dy : {0, 413}) {
        const Inks title = inksIn(image, QRect(88, 8 + dy, 200, 20));
        QVERIFY(colour ? title.blue > 100 : title.black > 100);
        QCOMPARE(colour ? title.black : title.blue, 0);
        const Inks frame = inksIn(image, QRect(100, 0 + dy, 200, 3));
        QVERIFY(colour ? frame.blue > 150 : frame.black > 150);
        const Inks value = inksIn(image, QRect(600, 167 + dy, 134, 18));
        QVERIFY(value.black > 50);
        QCOMPARE(value.blue, 0);
        const Inks crest = inksIn(image, QRect(10, 10 + dy, 70, 76));
        QVERIFY(colour ? crest.vivid > 300 : crest.vivid == 0);
    }
}

// Accepts (or cancels) the print dialog, in the background when asked, and answers every message
// box, remembering them.
class DialogAnswerer : public QObject
{
public:
    bool accept = true;
    bool background = false;
    int dialogs = 0;
    QStringList titles, texts;

    DialogAnswerer()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<TRLPrintDialog *>(modal); dialog && dialog->isVisible()) {
                ++dialogs;
                if (background)
                    dialog->CheckBoxPrintInBackground->setChecked(true);
                (accept ? dialog->ButtonOk : dialog->ButtonCancel)->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                titles << box->windowTitle();
                texts << box->text();
                box->defaultButton()->click();
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

// Clicks OK on the print dialog as soon as it is up (once).
inline void acceptDialogWhenShown()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *ok = modal ? modal->findChild<QPushButton *>("ButtonOk") : nullptr) {
            timer->deleteLater();
            ok->click();
        }
    });
    timer->start(20);
}

inline QList<TRLTextObject *> texts(TRLGraphicSurface *page)
{
    QList<TRLTextObject *> out;
    for (int i = 0; page && i < page->ObjectCount(); ++i)
        if (auto *t = dynamic_cast<TRLTextObject *>(page->Objects(i)))
            out << t;
    return out;
}

// The texts of the page that the PDF does not show where the replay puts them: left text starts
// half a blank right of its origin, right-aligned text ends half a blank short of its box,
// centred text is centred (with the blank after it) in its box. x within xTolerance report pixels, and y (the text's top)
// within yTolerance unless that is negative. `checked` counts the texts looked up.
inline QStringList misplaced(TRLGraphicSurface *page, const QList<PdfWord> &words, double xTolerance,
                             double yTolerance, int *checked = nullptr)
{
    const double pxPerMm = 96 / 25.4;
    QStringList out;
    int count = 0;
    for (TRLTextObject *t : texts(page)) {
        const QString text = t->Text.trimmed();
        if (text.isEmpty() || t->Text.startsWith(' '))
            continue; // an empty date's mask is blank at both ends
        QFont font(t->FontName());
        font.setPointSize(t->Font.Size);
        font.setBold(t->Font.Style & mfsBold);
        // Unhinted: the printer's resolution, not the screen's, decides the widths.
        font.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF metrics(font);
        const double halfBlank = metrics.horizontalAdvance(' ') / 2;
        const QStringList parts = text.split(' ', Qt::SkipEmptyParts);
        double wanted = t->Origin.x() + halfBlank;
        if (t->Alignment == mtaRight)
            wanted = t->BoundsRect.Right - halfBlank;
        else if (t->Alignment == mtaCenter)
            wanted = halfBlank
                + (t->BoundsRect.Left + t->BoundsRect.Right - metrics.horizontalAdvance(t->Text + ' ')) / 2.0;
        const bool right = t->Alignment == mtaRight;
        double nearest = 1e9;
        bool found = false;
        for (const PdfWord &w : words) {
            const QRectF box = w.boxMm();
            if (!(right ? w.text.endsWith(parts.last()) : w.text.startsWith(parts.first())))
                continue;
            const double signedDx = (right ? box.right() : box.left()) * pxPerMm - wanted;
            const double dx = qAbs(signedDx);
            const double dy = qAbs(box.top() * pxPerMm - t->Origin.y());
            // Centring halves an odd device pixel and the unhinted measure of the whole line: half a pixel more.
            const double slack = t->Alignment == mtaCenter ? 0.5 : 0;
            if (dx <= xTolerance + slack && (yTolerance < 0 || dy <= yTolerance))
                found = true;
            if (dy < 12 && dx < qAbs(nearest))
                nearest = signedDx;
        }
        if (!found)
            out << QStringLiteral("\"%1\" at %2, %3 (nearest x off by %4)")
                       .arg(t->Text)
                       .arg(t->Origin.x())
                       .arg(t->Origin.y())
                       .arg(nearest);
        ++count;
    }
    if (checked)
        *checked = count;
    return out;
}

} // namespace PrintedPage
