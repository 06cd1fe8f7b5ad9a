// Where a typed text stops fitting its printed boxes, and that a slip filled up to that point
// prints every character whole inside its box at printer resolution.
#include "slips/SlipFieldFits.h"

#include "DarfTestData.h"
#include "GareTestData.h"

#include "report/RLReport.h"
#include "report/page/RLMetaFile.h"
#include "report/page/RLMetaFileObjects.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutGare.h"

#include <QPainter>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const char *const kGareFields[] = {"EdNomeG",   "EdEnderecoG", "EDMunicipioG", "EDUFG",     "EDFoneG",
                                   "MMTribG",   "EdCAEG",      "EdPlacaG",     "MMObsG",    "EDCodRecG",
                                   "EDInscEstG", "EDCGCG",     "EDInscrDAG",   "EDNroAinG"};

// The longest text of repeated characters (words of five in a memo) the field takes.
QString longest(const QString &field, QChar c)
{
    QString text;
    while (text.size() < 400) {
        const QString next = text + (field.startsWith(QLatin1String("MM")) && text.size() % 6 == 5 ? QChar(' ') : c);
        if (!SlipFieldFits(field, next))
            break;
        text = next;
    }
    return text;
}

TDarfEntryTexts darfToLimits(QChar c)
{
    TDarfEntryTexts t;
    if (!c.isNull())
        for (auto [field, text] : {std::pair{"EdNome", &TDarfEntryTexts::Nome},
                                   {"edCGCCPF", &TDarfEntryTexts::CGCCPF},
                                   {"edCodRec", &TDarfEntryTexts::CodRec},
                                   {"edNumRef", &TDarfEntryTexts::NumRef}})
            t.*text = longest(field, c);
    return t;
}

TGareEntryTexts gareToLimits(QChar c)
{
    TGareEntryTexts t;
    for (const TGareDataTarget &target : GareDataTargets())
        if (!c.isNull()
            && std::find(std::begin(kGareFields), std::end(kGareFields), QString::fromLatin1(target.field))
                   != std::end(kGareFields))
            t.*target.text = longest(target.field, c);
    return t;
}

// A slip's form kept alive with its report.
using Slip = std::pair<std::shared_ptr<QWidget>, TRLReport *>;
using SlipMaker = std::function<Slip(QChar)>; // a null character leaves the fields blank

template <class Form>
Slip slip(std::shared_ptr<Form> form, TRLReport *report)
{
    return {form, report};
}

constexpr double kScale = 600 / 96.0;

// Part of a page drawn at printer resolution: all of it, or a single object.
QImage renderRegion(const TRLGraphicSurface &page, const QRect &region, const TRLGraphicObject *only = nullptr)
{
    QImage image(qCeil(region.width() * kScale), qCeil(region.height() * kScale), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(600 / 0.0254));
    image.setDotsPerMeterY(qRound(600 / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(-region.left() * kScale, -region.top() * kScale);
    if (only) {
        TRLGraphicSurface single;
        single.Macros() = page.Macros();
        only->Clone(&single);
        single.PaintTo(&painter, 0, 0, kScale, kScale);
    } else {
        page.PaintTo(&painter, 0, 0, kScale, kScale);
    }
    return image;
}

bool dark(QRgb p)
{
    return qGray(p) < 128;
}

// The white area of the form around seed, bounded by its dark lines and captions.
QImage boxAround(const QImage &form, QPoint seed)
{
    QImage inside(form.size(), QImage::Format_Grayscale8);
    inside.fill(0);
    const auto in = [&inside](QPoint p) -> uchar & { return inside.scanLine(p.y())[p.x()]; };
    // The text's own corner may sit on an antialiased edge: start at the nearest light pixel.
    while (seed.x() < form.width() - 1 && dark(form.pixel(seed)))
        seed.rx()++;
    QList<QPoint> todo{seed};
    in(seed) = 255;
    while (!todo.isEmpty()) {
        const QPoint p = todo.takeLast();
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (form.rect().contains(q) && !in(q) && !dark(form.pixel(q))) {
                in(q) = 255;
                todo.append(q);
            }
        }
    }
    return inside;
}

QRect toQRect(const TRLRect &r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

} // namespace

Q_DECLARE_METATYPE(SlipMaker)

class TestSlipFieldFits : public QObject
{
    Q_OBJECT

private slots:
    // Both ways a fit check goes wrong: refusing what a slip holds, or taking what it cannot.
    void fitEdges_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("fits");
        QTest::addColumn<QString>("tooMuch");
        QTest::newRow("DARF name, the longest typical")
            << "EdNome" << typicalTexts().Nome << QString(35, 'W');
        QTest::newRow("DARF punctuated CNPJ") << "edCGCCPF" << "12.345.678/0001-95" << "12.345.678/0001-95 0001-95";
        QTest::newRow("GARE punctuated CNPJ") << "EDCGCG" << "12.345.678/0001-90" << QString(40, '9');
        QTest::newRow("GARE name, typical") << "EdNomeG" << typicalGareTexts().EdNomeG << QString(60, 'W');
        QTest::newRow("GARE tribute, two rows") << "MMTribG" << "ICMS\nParcela 12" << "ICMS\nParcela\n12";
        QTest::newRow("GARE tribute, a word wider than its box")
            << "MMTribG" << QString(20, 'W') << QString(60, 'W');
        QTest::newRow("GARE remarks, seven rows") << "MMObsG" << "1\n2\n3\n4\n5\n6\n7" << "1\n2\n3\n4\n5\n6\n7\n8";
    }

    void fitEdges()
    {
        QFETCH(QString, field);
        QFETCH(QString, fits);
        QFETCH(QString, tooMuch);
        QVERIFY(SlipFieldFits(field, fits));
        QVERIFY(!SlipFieldFits(field, tooMuch));
    }

    void everyCharacterInkedInsideItsBox_data()
    {
        QTest::addColumn<SlipMaker>("make");
        QTest::addColumn<QChar>("widest");
        QTest::addColumn<bool>("framed"); // the form's own lines bound each box
        const std::tuple<const char *, SlipMaker, bool> slips[] = {
            {"DARF layout", [](QChar c) {
                 auto f = std::make_shared<TfrmLayOutDARF>();
                 FillLayOutDarf(*f, darfToLimits(c), 0);
                 return slip(f, f->RLDarf);
             }, true},
            {"DARF data only", [](QChar c) {
                 auto f = std::make_shared<TfrmDadosDARF>();
                 FillDadosDarf(*f, darfToLimits(c));
                 return slip(f, f->RLDadosDARF);
             }, false},
            {"GARE layout", [](QChar c) {
                 auto f = std::make_shared<TfrmLayOutGARE>();
                 FillLayOutGare(*f, gareToLimits(c), 0, 0);
                 return slip(f, f->QRGARE);
             }, true},
            {"GARE data only", [](QChar c) {
                 auto f = std::make_shared<TfrmDadosGARE>();
                 FillDadosGare(*f, gareToLimits(c));
                 return slip(f, f->LRDadosGARE);
             }, false},
        };
        for (const auto &[name, make, framed] : slips)
            for (const QChar c : {QChar('W'), QChar('M'), QChar('0')})
                QTest::addRow("%s, %c", name, c.toLatin1()) << make << c << framed;
    }

    void everyCharacterInkedInsideItsBox()
    {
        QFETCH(SlipMaker, make);
        QFETCH(QChar, widest);
        QFETCH(bool, framed);
        const Slip blank = make(QChar());
        const Slip filled = make(widest);
        QVERIFY(blank.second->Prepare() && filled.second->Prepare());
        const TRLGraphicSurface &form = *blank.second->Pages()->Pages(0);
        const TRLGraphicSurface &page = *filled.second->Pages()->Pages(0);
        // For looking at: the page filled to its limits as a 600 dpi printer gets it.
        if (const QString folder = qEnvironmentVariable("ZAVENOR_LIMITS_PNG_DIR"); !folder.isEmpty())
            QVERIFY(renderRegion(page, QRect(0, 0, page.Width(), page.Height()))
                        .save(folder + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png")));

        QSet<QPair<QString, QPoint>> formTexts;
        for (int i = 0; i < form.ObjectCount(); ++i)
            if (auto *t = dynamic_cast<const TRLTextObject *>(form.Objects(i)))
                formTexts.insert({t->Text, t->Origin});
        int checked = 0;
        for (int i = 0; i < page.ObjectCount(); ++i) {
            auto *text = dynamic_cast<const TRLTextObject *>(page.Objects(i));
            if (!text || text->Text.isEmpty() || formTexts.contains({text->Text, text->Origin}))
                continue;
            ++checked;
            const QString what = QStringLiteral("\"%1\" at %2, %3").arg(text->Text).arg(text->Origin.x()).arg(text->Origin.y());
            const QRect region = toQRect(text->BoundsRect).adjusted(-60, -30, 60, 30)
                                     .intersected(QRect(0, 0, page.Width(), page.Height()));

            // Drawn as recorded and drawn unclipped alike: no character cut at the edge.
            TRLGraphicSurface scratch;
            auto *unclipped = static_cast<TRLTextObject *>(text->Clone(&scratch));
            unclipped->TextOptions |= MetaTextFlagUnclipped;
            const QImage ink = renderRegion(page, region, unclipped);
            QVERIFY2(ink == renderRegion(page, region, text), qPrintable(what + " is cut at its edge"));

            QImage inside;
            if (framed) {
                const QPoint corner(text->BoundsRect.Left, text->BoundsRect.Top);
                const QPoint seed = (QPointF(corner - region.topLeft()) * kScale).toPoint() + QPoint(2, 2);
                inside = boxAround(renderRegion(form, region), seed);
            } else {
                inside = QImage(ink.size(), QImage::Format_Grayscale8);
                inside.fill(0);
                for (const TRLRect &box : filled.second->FormBoxes())
                    if (toQRect(box).contains(text->BoundsRect.Left, text->BoundsRect.Top)) {
                        QPainter p(&inside);
                        p.fillRect(QRectF((toQRect(box).topLeft() - region.topLeft()) * kScale,
                                          QSizeF(box.Width(), box.Height()) * kScale),
                                   Qt::white);
                    }
            }
            int outside = 0, inked = 0;
            for (int y = 0; y < ink.height(); ++y)
                for (int x = 0; x < ink.width(); ++x)
                    if (dark(ink.pixel(x, y))) {
                        ++inked;
                        outside += inside.constScanLine(y)[x] == 0;
                    }
            QVERIFY2(inked > 0, qPrintable(what));
            QVERIFY2(outside == 0, qPrintable(what + QStringLiteral(": %1 dark pixels outside its box").arg(outside)));
        }
        QVERIFY(checked > 0);
    }
};

QTEST_MAIN(TestSlipFieldFits)
#include "tst_slipfieldfits.moc"
