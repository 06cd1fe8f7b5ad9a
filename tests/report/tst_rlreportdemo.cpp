// A demonstration layout built as a form loader builds it, printed through the site pass onto a
// page, stored, fetched back and rendered. Writes the picture to $ZAVENOR_DEMO_PNG when set
// (scripts/report-demo.sh uses this for docs/report-demo.png). A second, data report over several
// pages (groups by a field, subtotals, a summary, page numbers) writes its pages as
// $ZAVENOR_DATA_PNG-1.png, -2.png... when that is set.

#include "report/RLReport.h"
#include "report/output/RLMetaFile.h"

#include "DataDemoReport.h"

#include <QLocale>
#include <QPainter>
#include <QStandardItemModel>
#include <QtTest>

namespace {

QImage crest()
{
    QImage image(60, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 120, 60));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRect(6, 6, 48, 48));
    p.setBrush(QColor(250, 210, 0));
    p.drawPolygon(QPolygon({{30, 10}, {50, 30}, {30, 50}, {10, 30}}));
    p.setBrush(QColor(20, 40, 140));
    p.drawEllipse(QRect(20, 20, 20, 20));
    p.fillRect(QRect(12, 56, 36, 6), QColor(20, 40, 140));
    return image;
}

QImage tile()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(235, 240, 250));
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 8, 8), QColor(210, 220, 245));
    return image;
}

struct Demo
{
    QObject form;
    TRLReport *report = nullptr;
    QList<TRLBand *> bands;
    QStringList afterPrint;

    template <class T>
    T *add(TRLCustomSite *site, const char *name, int l, int t, int w, int h)
    {
        auto *c = new T(&form);
        c->SetName(QString::fromLatin1(name));
        c->SetParent(site);
        c->SetBounds(l, t, w, h);
        return c;
    }

    TRLBand *band(const char *name, TRLBandType type, int top, int height)
    {
        auto *b = add<TRLBand>(report, name, 0, top, 0, height);
        b->SetBandType(type);
        bands << b;
        return b;
    }

    TRLLabel *label(TRLCustomSite *site, const char *name, int l, int t, int w, int h, const QString &text,
                    TRLTextAlignment a = taLeftJustify, bool autoSize = true)
    {
        auto *c = add<TRLLabel>(site, name, l, t, w, h);
        c->SetAutoSize(autoSize);
        c->SetAlignment(a);
        c->SetCaption(text);
        return c;
    }

    TRLDraw *shape(TRLCustomSite *site, const char *name, int l, int t, TRLDrawKind kind, QColor fill)
    {
        auto *d = add<TRLDraw>(site, name, l, t, 70, 50);
        d->SetDrawKind(kind);
        d->SetBrush(QBrush(fill));
        d->SetPen(QPen(QColor(30, 30, 30), 2));
        return d;
    }

    void build()
    {
        TRLFormLoader loading(&form);
        report = new TRLReport(&form);
        report->SetName("RLDemo");
        report->Margins()->SetLeftMargin(7);
        report->Margins()->SetRightMargin(5);
        QFont font("Arial");
        font.setPixelSize(13);
        report->SetFont(font);

        // On the report itself, above the top margin.
        label(report, "LbCarimbo", 500, 10, 270, 17, "Página de demonstração - não vale como guia",
              taRightJustify);

        TRLBand *title = band("RLBandTitulo", btTitle, 100, 90);
        title->SetColor(QColor(20, 40, 140));
        title->Degrade()->SetDirection(ddHorizontal);
        title->Degrade()->SetOppositeColor(QColor(240, 244, 255));
        title->Degrade()->SetGranularity(8);
        auto *crestImage = add<TRLImage>(title, "ImBrasao", 10, 12, 60, 64);
        crestImage->SetPicture(crest());
        TRLLabel *heading = label(title, "LbTitulo", 84, 14, 500, 30, "Zavenor - motor de relatórios");
        QFont big("Arial");
        big.setPixelSize(26);
        big.setBold(true);
        heading->SetFont(big);
        heading->SetFontColor(Qt::white);
        TRLLabel *sub = label(title, "LbSubtitulo", 86, 52, 400, 17, "Bandas, rótulos, memorandos, imagens e formas");
        sub->SetFontColor(QColor(230, 235, 255));
        title->AfterPrint = [this](TRLCustomControl *c) { afterPrint << c->Name(); };

        TRLBand *header = band("RLBandCabecalho", btHeader, 10, 26);
        header->Borders()->SetSides(sdAll);
        header->Borders()->SetColor(QColor(20, 40, 140));
        header->SetColor(QColor(225, 230, 245));
        header->SetTransparent(false); // a loaded colour does not make a control opaque by itself
        const struct { const char *name; int left; int width; const char *text; TRLTextAlignment a; } cols[] = {
            {"LbCodigo", 6, 90, "Código", taLeftJustify},
            {"LbDescricao", 100, 400, "Descrição", taCenter},
            {"LbValor", 560, 180, "Valor (R$)", taRightJustify},
        };
        for (const auto &col : cols) {
            TRLLabel *l = label(header, col.name, col.left, 4, col.width, 18, col.text, col.a, false);
            QFont bold = l->Font();
            bold.setBold(true);
            l->SetFont(bold);
        }

        TRLBand *detail = band("RLBandDetalhe", btDetail, 200, 150);
        label(detail, "LbCodigo1", 6, 6, 90, 18, "0220", taLeftJustify, false);
        auto *memo = add<TRLMemo>(detail, "MMDescricao", 100, 6, 400, 40);
        memo->SetAlignment(taJustify);
        memo->SetCaption("É vedado o recolhimento de tributos e contribuições cujo valor total seja inferior "
                         "a R$ 10,00. Ocorrendo tal situação, adicione esse valor ao tributo de mesmo código "
                         "de períodos subsequentes, até que o total seja igual ou superior a R$ 10,00.");
        TRLLabel *value = label(detail, "LbValor1", 560, 6, 180, 18, "1.234.567,89", taRightJustify, false);
        value->SetColor(QColor(255, 250, 215));
        value->SetTransparent(false);
        value->Borders()->SetSides(sdAll);
        TRLLabel *clipped = label(detail, "LbCortado", 560, 30, 180, 18,
                                  "texto longo demais para caber nesta caixa", taRightJustify, false);
        clipped->Borders()->SetDrawBottom(true);
        auto *notes = add<TRLMemo>(detail, "MMObs", 100, 90, 300, 40);
        notes->SetAlignment(taRightJustify);
        notes->SetLines({"Observação alinhada à direita", "segunda linha"});
        notes->Borders()->SetDrawLeft(true);
        notes->Borders()->SetWidth(3);
        notes->Borders()->SetColor(QColor(200, 60, 40));
        // Narrower than its longest word, which runs past the edge on a row of its own.
        auto *narrow = add<TRLMemo>(detail, "MMEstreito", 440, 90, 60, 40);
        narrow->SetAlignment(taCenter);
        narrow->SetCaption("Arrecadação de receitas federais");
        narrow->Borders()->SetSides(sdAll);
        narrow->Borders()->SetColor(QColor(120, 120, 120));

        TRLBand *shapes = band("RLBandFormas", btDetail, 400, 80);
        const struct { const char *name; TRLDrawKind kind; QColor fill; } kinds[] = {
            {"DrRetangulo", dkRectangle, QColor(250, 220, 120)}, {"DrLinha", dkLine, Qt::white},
            {"DrTriangulo", dkTriangle, QColor(140, 200, 140)},  {"DrElipse", dkElipse, QColor(140, 170, 230)},
            {"DrSeta", dkArrow, QColor(230, 140, 140)},
        };
        int x = 6;
        for (const auto &k : kinds) {
            shape(shapes, k.name, x, 15, k.kind, k.fill);
            x += 82;
        }
        TRLDraw *star = shape(shapes, "DrEstrela", x, 15, dkCustom, QColor(250, 200, 60));
        star->SetDrawData({"50 0 61 35 98 35 68 57 79 91 50 70 21 91 32 57 2 35 39 35"});
        star->SetOptions(doKeepAspectRatio);
        x += 82;
        TRLDraw *turned = shape(shapes, "DrInclinada", x, 15, dkLine, Qt::white);
        turned->SetAngle(45);
        x += 82;
        TRLDraw *square = shape(shapes, "DrQuadrado", x, 15, dkRectangle, QColor(200, 160, 220));
        square->SetOptions(doKeepVisible);
        square->SetAngle(30);

        TRLBand *pictures = band("RLBandImagens", btSummary, 600, 110);
        pictures->Background()->SetPicture(tile());
        pictures->Background()->SetArrange(baDistributed);
        pictures->Borders()->SetDrawTop(true);
        pictures->Borders()->SetDrawBottom(true);
        const struct { const char *name; bool stretch, scaled, center; } modes[] = {
            {"ImCortada", false, false, false}, {"ImCentrada", false, false, true},
            {"ImEsticada", true, false, false}, {"ImAjustada", false, true, true},
        };
        x = 10;
        for (const auto &m : modes) {
            auto *img = add<TRLImage>(pictures, m.name, x, 10, 120, 90);
            img->SetPicture(crest());
            img->SetStretch(m.stretch);
            img->SetScaled(m.scaled);
            img->SetCenter(m.center);
            img->Borders()->SetSides(sdAll);
            x += 140;
        }

        TRLBand *footer = band("RLBandRodape", btFooter, 900, 40);
        footer->SetAlign(faBottom);
        footer->SetColor(QColor(20, 40, 140));
        footer->SetTransparent(false);
        TRLLabel *end = label(footer, "LbRodape", 0, 10, 749, 18, "Fim da demonstração", taCenter, false);
        end->SetFontColor(Qt::white);
        end->SetAlign(faWidth);
        TRLLabel *hidden = label(footer, "LbOculto", 10, 10, 100, 18, "não imprime");
        hidden->BeforePrint = [](TRLCustomControl *, QString &, bool &printIt) { printIt = false; };
    }

    // One record, so that the detail bands print once between the header bands and the summary.
    TRLGraphicStorage *print()
    {
        report->SetShowProgress(false);
        report->OnNeedData = [](TRLCustomControl *sender, bool &more) {
            more = static_cast<TRLReport *>(sender)->RecNo() == 1;
        };
        if (!report->Prepare())
            return nullptr;
        return report->Pages();
    }
};

QStringList pageTexts(TRLGraphicSurface *page)
{
    QList<TRLTextObject *> list;
    for (int i = 0; i < page->ObjectCount(); ++i)
        if (auto *t = dynamic_cast<TRLTextObject *>(page->Objects(i)))
            list << t;
    std::stable_sort(list.begin(), list.end(), [](auto *a, auto *b) {
        return std::pair(a->BoundsRect.Top, a->BoundsRect.Left) < std::pair(b->BoundsRect.Top, b->BoundsRect.Left);
    });
    QStringList out;
    for (TRLTextObject *t : list)
        out << t->DisplayText();
    return out;
}

} // namespace

class TestRLReportDemo : public QObject
{
    Q_OBJECT

private slots:
    void printsAndRenders();
    void dataReportOverPages();
};

void TestRLReportDemo::printsAndRenders()
{
    Demo demo;
    demo.build();
    // Arranged once at the end of loading: type order, then the footer at the bottom margin.
    QCOMPARE(demo.bands[1]->Top(), 38); // header
    QCOMPARE(demo.bands[0]->Top(), 38 + 26); // title
    QCOMPARE(demo.bands.last()->BoundsRect().Bottom, 1123 - 38);
    QCOMPARE(demo.bands[0]->Width(), 749);

    TRLGraphicStorage *store = demo.print();
    QVERIFY(store);
    QCOMPARE(store->PageCount(), 1);
    TRLGraphicSurface *page = store->Pages(0);
    QVERIFY(page);
    QCOMPARE(demo.afterPrint, QStringList{"RLBandTitulo"});
    int texts = 0, polygons = 0, images = 0;
    for (int i = 0; i < page->ObjectCount(); ++i) {
        TRLGraphicObject *o = page->Objects(i);
        texts += o->Code() == TRLGraphicObject::TextKind;
        polygons += o->Code() == TRLGraphicObject::PolygonKind;
        images += o->Code() == TRLGraphicObject::ImageKind;
        if (auto *t = dynamic_cast<TRLTextObject *>(o))
            QVERIFY(t->Text != QStringLiteral("não imprime"));
    }
    QCOMPARE(polygons, 8);
    QCOMPARE(images, 6); // the crest, four image modes and the tiled background
    QVERIFY(texts >= 12);

    TRLGraphicSurface *stored = page;
    QImage image(stored->Width(), stored->Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        stored->PaintTo(&painter, 0, 0, 1.0, 1.0);
    }
    QCOMPARE(image.size(), QSize(794, 1123));
    // The title's gradient starts dark blue at the left margin and ends light.
    const QColor left = image.pixelColor(27, 38 + 26 + 85);
    const QColor right = image.pixelColor(26 + 745, 38 + 26 + 85);
    QVERIFY(left.blue() > left.red() + 60);
    QVERIFY(right.red() > 200);
    // The footer sits on the bottom margin in its own colour.
    QCOMPARE(image.pixelColor(30, 1123 - 38 - 2), QColor(20, 40, 140));

    const QString out = qEnvironmentVariable("ZAVENOR_DEMO_PNG");
    if (!out.isEmpty())
        QVERIFY(image.save(out));
}

void TestRLReportDemo::dataReportOverPages()
{
    DataDemo demo;
    demo.build();
    QVERIFY(demo.report->Prepare());
    TRLGraphicStorage *store = demo.report->Pages();
    const int pages = store->PageCount();
    QVERIFY(pages >= 3);
    QCOMPARE(store->LastPageNumber(), pages);
    const QString prefix = qEnvironmentVariable("ZAVENOR_DATA_PNG");
    for (int n = 0; n < pages && !prefix.isEmpty(); ++n) {
        TRLGraphicSurface *page = store->Pages(n);
        QImage image(page->Width(), page->Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::TextAntialiasing);
            page->PaintTo(&painter, 0, 0, 1.0, 1.0);
        }
        QVERIFY(image.save(QString("%1-%2.png").arg(prefix).arg(n + 1)));
    }

    // All texts of the report in reading order, and what each page starts and ends with.
    QStringList all;
    for (int n = 0; n < pages; ++n) {
        const QStringList texts = pageTexts(store->Pages(n));
        QCOMPARE(texts.last(), QString("Página %1 de %2").arg(n + 1).arg(pages));
        // Every page has the column captions under the title (title on the first page only).
        QCOMPARE(texts.contains("Arrecadação por município"), n == 0);
        QVERIFY(texts.contains("Contribuinte"));
        all += texts;
    }
    // A group header for each town in the order of the records, again at the top of a page the
    // group goes on to; its subtotal ("=") before the next town starts; the grand total last.
    QStringList order;
    for (const QString &t : all)
        if (t.startsWith("Município: "))
            order << t.mid(11);
        else if (t.startsWith("Subtotal de "))
            order << "=" + t.mid(12).section(" (", 0, 0);
        else if (t.startsWith("Total geral"))
            order << "Total";
    QCOMPARE(order, (QStringList{"Campinas", "=Campinas", "Jundiaí", "=Jundiaí", "Ribeirão Preto", "Ribeirão Preto",
                                 "=Ribeirão Preto", "Santo André", "=Santo André", "São José dos Campos",
                                 "São José dos Campos", "=São José dos Campos", "Sorocaba", "=Sorocaba", "Total"}));
    QCOMPARE(demo.towns, (QStringList{"Campinas", "Jundiaí", "Ribeirão Preto", "Santo André", "São José dos Campos",
                                      "Sorocaba"}));
    QVERIFY(all.contains("Subtotal de Jundiaí (9 recolhimentos): R$ " + demo.money([&] {
                double sum = 0;
                for (int r = 23; r < 32; ++r)
                    sum += demo.model.item(r, 5)->text().toDouble();
                return sum;
            }())));

}

QTEST_MAIN(TestRLReportDemo)
#include "tst_rlreportdemo.moc"
