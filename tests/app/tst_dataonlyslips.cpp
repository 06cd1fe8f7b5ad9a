// The data-only DARF and GARE: the entry window's texts copied onto the report tree, the page
// they load with, and each filled report prepared into its page store, fetched back and replayed. Writes the pictures into $ZAVENOR_SLIPS_PNG_DIR when set
// (scripts/data-only-slips.sh uses this for docs/).

#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"
#include "report/page/RLMetaFileObjects.h"
#include "report/output/RLTestPage.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "widgets/DateMaskEdit.h"
#include "widgets/MemoCLX.h"
#include "widgets/NumEditCLX.h"

#include "WindowDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>

using namespace WindowDriver;

namespace {

// Dates are typed; other texts (accents that key clicks cannot type) are set as typed.
void typeInto(QWidget *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    if (qobject_cast<TDateMaskEdit *>(field))
        QTest::keyClicks(field, text);
    else
        static_cast<QLineEdit *>(field)->setText(text);
    QTest::keyClick(field, Qt::Key_Tab);
    settle();
}

// The report prepared into its page store; the one page fetched back from it.
const TRLGraphicSurface *preparedPage(TRLReport *report)
{
    if (!report->Prepare() || !report->Pages() || report->Pages()->PageCount() != 1)
        return nullptr;
    return report->Pages()->Pages(0);
}

// Every text recorded on the page, by text, with the rectangle it was drawn in.
QMap<QString, TRLRect> textsOn(const TRLGraphicSurface &page)
{
    QMap<QString, TRLRect> texts;
    for (int i = 0; i < page.ObjectCount(); ++i)
        if (auto *t = dynamic_cast<TRLTextObject *>(page.Objects(i)))
            texts.insert(t->Text, t->BoundsRect);
    return texts;
}

QImage replay(const TRLGraphicSurface *stored, const QString &file)
{
    QImage image(stored->Width() * 2, stored->Height() * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        stored->PaintTo(&painter, 0, 0, 2.0, 2.0);
    }
    const QString dir = qEnvironmentVariable("ZAVENOR_SLIPS_PNG_DIR");
    if (!dir.isEmpty())
        image.save(dir + QLatin1Char('/') + file);
    return image;
}

} // namespace

class TestDataOnlySlips : public QObject
{
    Q_OBJECT

    TfrmZavenor *w = nullptr;

    void typicalDarf()
    {
        typeInto(w->EdNome, QStringLiteral("José Gonçalves da Conceição Araújo - (11) 5555-0101"));
        typeInto(w->mePerAp, QStringLiteral("31122004"));
        typeInto(w->edCGCCPF, QStringLiteral("12.345.678/0001-90"));
        typeInto(w->edCodRec, QStringLiteral("0220"));
        typeInto(w->edNumRef, QStringLiteral("1234567890"));
        typeInto(w->meDtVenc, QStringLiteral("05112004"));
        enterAmount(w->neValPrinc, QStringLiteral("1234567,89"));
        enterAmount(w->neValMulta, QStringLiteral("12,3"));
        enterAmount(w->neValJuros, QStringLiteral("0"));
    }

    void typicalGare()
    {
        w->PC1->setCurrentWidget(w->tsGare);
        typeInto(w->EdNomeG, QStringLiteral("Indústria e Comércio de Calçados São João Ltda."));
        typeInto(w->EdEnderecoG, QStringLiteral("Avenida Brigadeiro Luís Antônio, 1234 - conj. 56"));
        typeInto(w->EDMunicipioG, QStringLiteral("São José do Rio Preto"));
        typeInto(w->EDUFG, QStringLiteral("SP"));
        typeInto(w->EDFoneG, QStringLiteral("(17) 3222-0101"));
        w->MMTribG->SetLines({QStringLiteral("ICMS - multa por infração"), QStringLiteral("AIIM 123456")});
        typeInto(w->EdCAEG, QStringLiteral("12.34.56"));
        typeInto(w->EdPlacaG, QStringLiteral("ABC-1234"));
        w->MMObsG->SetLines({QStringLiteral("Referente à notificação nº 42/2004."), QString(),
                             QStringLiteral("Pagamento em parcela única.")});
        typeInto(w->MEDTVencG, QStringLiteral("05112004"));
        typeInto(w->EDCodRecG, QStringLiteral("063-2"));
        typeInto(w->EDInscEstG, QStringLiteral("123.456.789.110"));
        typeInto(w->EDCGCG, QStringLiteral("12.345.678/0001-90"));
        typeInto(w->EDInscrDAG, QStringLiteral("1.234.567"));
        typeInto(w->EDNroAinG, QStringLiteral("3.045.678-9"));
        enterAmount(w->neValRecG, QStringLiteral("9876543,21"));
        enterAmount(w->neJurMorG, QStringLiteral("100"));
        enterAmount(w->neMulMorG, QStringLiteral("0,5"));
        enterAmount(w->neHonor, QStringLiteral("1000"));
    }

private slots:
    void init()
    {
        w = ShowMainWindow();
    }

    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void bothLoadA211By102Sheet()
    {
        TfrmDadosDARF darf;
        TfrmDadosGARE gare;
        QVERIFY(darf.isHidden() && gare.isHidden());
        QCOMPARE(darf.windowTitle(), QStringLiteral("frmDadosDARF"));
        QCOMPARE(gare.windowTitle(), QStringLiteral("frmDadosGARE"));
        for (TRLReport *report : {darf.RLDadosDARF, gare.LRDadosGARE}) {
            QCOMPARE(report->PageSetup()->PaperSize(), fpCustom);
            QCOMPARE(report->PageSetup()->PaperWidth(), 211.0);
            QCOMPARE(report->PageSetup()->PaperHeight(), 102.0);
            QCOMPARE(QSize(report->Width(), report->Height()), QSize(797, 386));
            QVERIFY(report->PrintDialog());
            QCOMPARE(report->Title(), QString());
        }
        QVERIFY(!darf.RLDadosDARF->ShowProgress());
        QVERIFY(gare.LRDadosGARE->ShowProgress());
        // The band already fills the area inside the margins: completing the load leaves it.
        QCOMPARE(darf.QRBand1->BoundsRect(), TRLRect(15, 19, 15 + 767, 19 + 345));
    }

    void darfFillCopiesTheShownTexts()
    {
        typicalDarf();
        TfrmDadosDARF doc;
        frmDadosDARF = &doc;
        w->fDadosDarf();
        const std::pair<TRLLabel *, const char *> expected[] = {
            {doc.QRLNome, "José Gonçalves da Conceição Araújo - (11) 5555-0101"},
            {doc.QRLPeriodo, "31/12/2004"},
            {doc.QRLCGC, "12.345.678/0001-90"},
            {doc.QRLCodRec, "0220"},
            {doc.QRLNumRef, "1234567890"},
            {doc.QRLDtVenc, "05/11/2004"},
            {doc.QRLValPrinc, "1.234.567,89"},
            {doc.QRLValMulta, "12,30"},
            {doc.QRLValJur, "0,00"},
            {doc.QRLValTot, "1.234.580,19"},
        };
        for (const auto &[label, text] : expected)
            QCOMPARE(label->Caption(), QString::fromUtf8(text));
    }

    // Blank dates print nothing: their bare mask would be junk in a pre-printed box.
    void emptyDarfPrintsNoDatesAndZeros()
    {
        TfrmDadosDARF doc;
        frmDadosDARF = &doc;
        w->fDadosDarf();
        QCOMPARE(doc.QRLNome->Caption(), QString());
        QCOMPARE(doc.QRLPeriodo->Caption(), QString());
        QCOMPARE(doc.QRLDtVenc->Caption(), QString());
        QCOMPARE(doc.QRLValPrinc->Caption(), QStringLiteral("0,00"));
        QCOMPARE(doc.QRLValTot->Caption(), QStringLiteral("0,00"));
    }

    void gareFillCopiesTheShownTexts()
    {
        typicalGare();
        TfrmDadosGARE doc;
        frmDadosGARE = &doc;
        w->fDadosGARE();
        const std::pair<TRLLabel *, const char *> expected[] = {
            {doc.LNomeG, "Indústria e Comércio de Calçados São João Ltda."},
            {doc.LEnderecoG, "Avenida Brigadeiro Luís Antônio, 1234 - conj. 56"},
            {doc.LMunicipioG, "São José do Rio Preto"},
            {doc.LUFG, "SP"},
            {doc.LTelefoneG, "(17) 3222-0101"},
            {doc.LCAEG, "12.34.56"},
            {doc.LPlacaG, "ABC-1234"},
            {doc.LCodRecG, "063-2"},
            {doc.LInscrEstG, "123.456.789.110"},
            {doc.LCGCG, "12.345.678/0001-90"},
            {doc.LInscrDAG, "1.234.567"},
            {doc.LAIIMG, "3.045.678-9"},
            {doc.LVlrRecG, "9.876.543,21"},
            {doc.LJurMorG, "100,00"},
            {doc.LMulMorG, "0,50"},
            {doc.LHonorG, "1.000,00"},
            {doc.LVlrTotG, "9.877.643,71"},
            {doc.LDiaG, "05"},
            {doc.LMesG, "11"},
            {doc.LAnoG, "2004"},
        };
        for (const auto &[label, text] : expected)
            QCOMPARE(label->Caption(), QString::fromUtf8(text));
        QCOMPARE(doc.LTribRecG->Lines(), w->MMTribG->Lines());
        QCOMPARE(doc.LObserv->Lines(), QStringList({QStringLiteral("Referente à notificação nº 42/2004."), QString(),
                                                    QStringLiteral("Pagamento em parcela única.")}));
    }

    void gareDateSplitsAtFixedPlaces_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("full") << QStringLiteral("05112004") << QStringList{"05", "11", "2004"};
        QTest::newRow("untouched") << QString() << QStringList{"  ", "  ", "    "};
        QTest::newRow("day only") << QStringLiteral("3") << QStringList{"3 ", "  ", "    "};
    }

    void gareDateSplitsAtFixedPlaces()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, groups);
        w->MEDTVencG->setFocus(Qt::TabFocusReason);
        w->MEDTVencG->home(false);
        QTest::keyClicks(w->MEDTVencG, typed);
        TfrmDadosGARE doc;
        frmDadosGARE = &doc;
        w->fDadosGARE();
        QCOMPARE(QStringList({doc.LDiaG->Caption(), doc.LMesG->Caption(), doc.LAnoG->Caption()}), groups);
        w->MEDTVencG->Clear();
    }

    void fillsNeedTheirWindow()
    {
        frmDadosDARF = nullptr;
        frmDadosGARE = nullptr;
        QVERIFY_THROWS_EXCEPTION(std::exception, w->fDadosDarf());
        QVERIFY_THROWS_EXCEPTION(std::exception, w->fDadosGARE());
    }

    // Each value where its box is: right-aligned amounts end at the box's right edge.
    void darfPrintsIntoItsBoxes()
    {
        typicalDarf();
        TfrmDadosDARF doc;
        frmDadosDARF = &doc;
        w->fDadosDarf();
        const TRLGraphicSurface *page = preparedPage(doc.RLDadosDARF);
        QVERIFY(page);
        const QMap<QString, TRLRect> texts = textsOn(*page);
        const struct { const char *text; int left, top, right; } boxes[] = {
            {"José Gonçalves da Conceição Araújo - (11) 5555-0101", 15 + 19, 19 + 159, 15 + 19 + 378},
            {"31/12/2004", 15 + 614, 19 + 30, 15 + 614 + 128},
            {"1.234.567,89", 15 + 574, 19 + 193, 15 + 574 + 168},
            {"1.234.580,19", 15 + 574, 19 + 287, 15 + 574 + 168},
        };
        for (const auto &box : boxes) {
            const QString text = QString::fromUtf8(box.text);
            QVERIFY2(texts.contains(text), qPrintable(QStringList(texts.keys()).join(QLatin1Char('|'))));
            const TRLRect r = texts.value(text);
            QCOMPARE(r.Top, box.top);
            QVERIFY2(r.Left >= box.left && r.Right <= box.right, box.text);
        }
        const QImage image = replay(page, QStringLiteral("dados-darf.png"));
        QCOMPARE(image.size(), QSize(2 * 797, 2 * 386));
        // Black ink in the total's box, near its right end; white paper elsewhere.
        bool ink = false;
        for (int x = 2 * (15 + 574 + 100); x < 2 * (15 + 574 + 168) && !ink; ++x)
            for (int y = 2 * (19 + 287); y < 2 * (19 + 287 + 18) && !ink; ++y)
                ink = qGray(image.pixel(x, y)) < 100;
        QVERIFY(ink);
        QCOMPARE(image.pixelColor(2 * 200, 2 * 40), QColor(Qt::white));
    }

    void garePrintsIntoItsBoxes()
    {
        typicalGare();
        TfrmDadosGARE doc;
        frmDadosGARE = &doc;
        w->fDadosGARE();
        const TRLGraphicSurface *page = preparedPage(doc.LRDadosGARE);
        QVERIFY(page);
        const QMap<QString, TRLRect> texts = textsOn(*page);
        const struct { const char *text; int left, top, right; } boxes[] = {
            {"Indústria e Comércio de Calçados São João Ltda.", 40, 96, 40 + 489},
            {"SP", 320, 147, 320 + 25},
            {"05", 632, 67, 632 + 34},
            {"11", 680, 67, 680 + 34},
            {"2004", 720, 67, 720 + 38},
            {"9.877.643,71", 574, 357, 574 + 187},
            {"Pagamento em parcela única.", 40, 232, 40 + 489},
        };
        for (const auto &box : boxes) {
            const QString text = QString::fromUtf8(box.text);
            QVERIFY2(texts.contains(text), box.text);
            const TRLRect r = texts.value(text);
            QVERIFY2(r.Top >= box.top && r.Left >= box.left && r.Right <= box.right, box.text);
        }
        // The date groups are centred in their labels.
        for (const auto &[text, left, width] : {std::tuple{"05", 632, 34}, std::tuple{"2004", 720, 38}}) {
            const TRLRect r = texts.value(QString::fromLatin1(text));
            QVERIFY2(qAbs((r.Left + r.Right) - (2 * left + width)) <= 6, text);
        }
        const QImage image = replay(page, QStringLiteral("dados-gare.png"));
        QCOMPARE(image.size(), QSize(2 * 797, 2 * 386));
    }

    // The position test page outlines the report's form boxes: they must be the boxes the values
    // print in. Every label and memo paints its white box exactly there, and every text inside one.
    void testPageBoxesAreWhereTheValuesPrint_data()
    {
        QTest::addColumn<bool>("gare");
        QTest::newRow("DARF") << false;
        QTest::newRow("GARE") << true;
    }

    void testPageBoxesAreWhereTheValuesPrint()
    {
        QFETCH(bool, gare);
        TfrmDadosDARF darf;
        TfrmDadosGARE gareDoc;
        frmDadosDARF = &darf;
        frmDadosGARE = &gareDoc;
        if (gare) {
            typicalGare();
            w->fDadosGARE();
        } else {
            typicalDarf();
            w->fDadosDarf();
        }
        TRLReport *report = gare ? gareDoc.LRDadosGARE : darf.RLDadosDARF;
        QList<TRLRect> outlines;
        const auto testPage = NewRLTestPage({211, 102, 1, report->FormBoxes()}, {});
        for (int i = 0; i < testPage->ObjectCount(); ++i)
            if (dynamic_cast<TRLRectangleObject *>(testPage->Objects(i)))
                outlines << testPage->Objects(i)->BoundsRect;
        QCOMPARE(outlines.size(), gare ? 22 : 10);
        const TRLGraphicSurface *page = preparedPage(report);
        QVERIFY(page);
        for (int i = 0; i < page->ObjectCount(); ++i) {
            const TRLRect r = page->Objects(i)->BoundsRect;
            if (dynamic_cast<TRLFillRectObject *>(page->Objects(i)))
                QVERIFY2(outlines.removeOne(r), qPrintable(QStringLiteral("no outline at %1, %2").arg(r.Left).arg(r.Top)));
            else if (dynamic_cast<TRLTextObject *>(page->Objects(i)))
                QVERIFY2(std::any_of(report->FormBoxes().begin(), report->FormBoxes().end(), [&r](const TRLRect &box) {
                             return r.Left >= box.Left && r.Top >= box.Top && r.Right <= box.Right && r.Bottom <= box.Bottom;
                         }),
                         qPrintable(QStringLiteral("a text at %1, %2 outside every box").arg(r.Left).arg(r.Top)));
        }
        QVERIFY(outlines.isEmpty()); // and every box outlined is one a control paints
    }
};

int main(int argc, char **argv)
{
    TZavenorApplication app(argc, argv);
    TestDataOnlySlips t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_dataonlyslips.moc"
