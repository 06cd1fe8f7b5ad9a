#pragma once
// The three-page sample report: payments of a quarter grouped by town, with subtotals, a
// summary and page numbers. Shared by the tests that show or print a report of several pages.

#include "report/RLReport.h"
#include "report/output/RLMetaFile.h"

#include <QLocale>
#include <QStandardItemModel>

namespace {

// Payments of a quarter, sorted by town: the towns are the groups.
struct DataDemo
{
    QObject form;
    QStandardItemModel model{0, 6};
    TRLModelDataSet data{&model};
    TRLReport *report = nullptr;
    QLocale brazil{QLocale::Portuguese, QLocale::Brazil};
    // Running totals: a group's summary prints when the records have moved to the next group.
    QString town;
    double townTotal = 0;
    int townCount = 0;
    double grandTotal = 0;
    QStringList towns;

    static constexpr int width = 718; // A4 less the margins of 10 mm
    const QColor navy{20, 40, 140};

    void fill()
    {
        model.setHorizontalHeaderLabels({"Municipio", "Contribuinte", "CNPJ", "Receita", "Vencimento", "Valor"});
        const struct { const char *town; int records; } groups[] = {
            {"Campinas", 23}, {"Jundiaí", 9}, {"Ribeirão Preto", 31}, {"Santo André", 14},
            {"São José dos Campos", 27}, {"Sorocaba", 6},
        };
        const char *const trades[] = {"Comércio de Alimentos", "Padaria e Confeitaria", "Oficina Mecânica",
                                      "Drogaria", "Materiais de Construção", "Papelaria", "Transportes",
                                      "Distribuidora de Bebidas"};
        const char *const families[] = {"Araújo", "Conceição", "Gonçalves", "Magalhães", "São João", "Fátima",
                                        "Brandão", "Assunção", "Lemos", "Piauí"};
        const char *const revenues[] = {"0220", "2089", "2372", "5952", "8109", "0561"};
        int n = 0;
        for (const auto &g : groups)
            for (int i = 0; i < g.records; ++i, ++n) {
                const QString name = QStringLiteral("%1 %2 Ltda.").arg(QString::fromUtf8(trades[n % 8]),
                                                                      QString::fromUtf8(families[(n * 7) % 10]));
                const QString cnpj = QStringLiteral("%1.%2.%3/0001-%4")
                                         .arg(10 + n % 89)
                                         .arg(100 + (n * 37) % 900)
                                         .arg(100 + (n * 53) % 900)
                                         .arg(10 + (n * 29) % 90);
                const QString due = QStringLiteral("%1/%2/2026").arg(5 + n % 20, 2, 10, QLatin1Char('0')).arg(1 + n % 3, 2, 10, QLatin1Char('0'));
                const double value = double((n * 104729) % 1500000 + 1000) / 100.0;
                QList<QStandardItem *> row;
                for (const QString &text : {QString::fromUtf8(g.town), name, cnpj, QString::fromLatin1(revenues[n % 6]),
                                            due, QString::number(value, 'f', 2)})
                    row << new QStandardItem(text);
                model.appendRow(row);
            }
        data.Open();
    }

    TRLLabel *label(TRLCustomSite *site, int l, int t, int w, const QString &text, TRLTextAlignment a = taLeftJustify,
                    bool bold = false)
    {
        auto *c = new TRLLabel(&form);
        c->SetParent(site);
        c->SetAutoSize(false);
        c->SetAlignment(a);
        c->SetBounds(l, t, w, 17);
        c->SetCaption(text);
        if (bold) {
            QFont f = c->Font();
            f.setBold(true);
            c->SetFont(f);
        }
        return c;
    }

    TRLLabel *field(TRLCustomSite *site, int l, int t, int w, const QString &name, TRLTextAlignment a = taLeftJustify)
    {
        TRLLabel *c = label(site, l, t, w, QString(), a);
        c->BeforePrint = [this, name](TRLCustomControl *, QString &text, bool &) {
            text = data.FieldValue(name).toString();
            if (name == QLatin1String("Valor"))
                text = money(text.toDouble());
        };
        return c;
    }

    QString money(double value) const { return brazil.toString(value, 'f', 2); }

    TRLBand *band(TRLCustomSite *site, TRLBandType type, int top, int height)
    {
        auto *b = new TRLBand(&form);
        b->SetParent(site);
        b->SetBandType(type);
        b->SetBounds(0, top, width, height);
        return b;
    }

    // Column positions of the detail lines and their captions.
    struct Column { int left, width; const char *caption, *field; TRLTextAlignment alignment; };
    static constexpr Column columns[] = {
        {6, 300, "Contribuinte", "Contribuinte", taLeftJustify}, {312, 140, "CNPJ", "CNPJ", taLeftJustify},
        {456, 70, "Receita", "Receita", taCenter},               {530, 84, "Vencimento", "Vencimento", taCenter},
        {618, 94, "Valor (R$)", "Valor", taRightJustify},
    };

    void build()
    {
        fill();
        TRLFormLoader loading(&form);
        report = new TRLReport(&form);
        report->SetName("RLArrecadacao");
        report->SetTitle(QStringLiteral("Arrecadação por município"));
        report->SetShowProgress(false);
        report->SetDataSource(&data);
        QFont font("Arial");
        font.setPixelSize(12);
        report->SetFont(font);

        TRLBand *title = band(report, btTitle, 0, 56);
        TRLLabel *heading = label(title, 0, 4, 500, "Arrecadação por município");
        QFont big("Arial");
        big.setPixelSize(22);
        big.setBold(true);
        heading->SetFont(big);
        heading->SetFontColor(navy);
        heading->SetHeight(28);
        label(title, 2, 34, 500, "Tributos recolhidos no primeiro trimestre de 2026 — valores em reais");
        label(title, 418, 8, 300, "Secretaria da Fazenda", taRightJustify, true);

        TRLBand *columnHeader = band(report, btColumnHeader, 60, 22);
        columnHeader->SetColor(navy);
        columnHeader->SetTransparent(false);
        for (const Column &c : columns) {
            TRLLabel *l = label(columnHeader, c.left, 3, c.width, QString::fromUtf8(c.caption), c.alignment, true);
            l->SetFontColor(Qt::white);
        }

        auto *group = new TRLGroup(&form);
        group->SetName("GrupoMunicipio");
        group->SetParent(report);
        group->SetBounds(0, 90, width, 120);
        group->SetAlign(faTop);
        group->SetDataFields("Municipio");
        TRLBand *groupHeader = band(group, btHeader, 0, 26);
        groupHeader->SetColor(QColor(225, 230, 245));
        groupHeader->SetTransparent(false);
        TRLLabel *townLabel = label(groupHeader, 6, 5, 500, QString(), taLeftJustify, true);
        townLabel->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            text = QStringLiteral("Município: ") + data.FieldValue("Municipio").toString();
        };
        TRLBand *line = band(group, btDetail, 26, 19);
        line->Borders()->SetDrawBottom(true);
        line->Borders()->SetColor(QColor(200, 205, 220));
        for (const Column &c : columns)
            field(line, c.left, 1, c.width, QString::fromLatin1(c.field), c.alignment);
        line->AfterPrint = [this](TRLCustomControl *) {
            const QString current = data.FieldValue("Municipio").toString();
            if (current != town) {
                town = current;
                towns << town;
            }
            const double value = data.FieldValue("Valor").toDouble();
            townTotal += value;
            grandTotal += value;
            ++townCount;
        };
        TRLBand *subtotal = band(group, btSummary, 45, 28);
        TRLLabel *subtotalText = label(subtotal, 6, 4, 706, QString(), taRightJustify, true);
        subtotalText->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            text = QStringLiteral("Subtotal de %1 (%2 recolhimentos): R$ %3").arg(town).arg(townCount).arg(money(townTotal));
        };
        subtotal->AfterPrint = [this](TRLCustomControl *) {
            townTotal = 0;
            townCount = 0;
        };

        TRLBand *summary = band(report, btSummary, 300, 34);
        summary->Borders()->SetDrawTop(true);
        summary->Borders()->SetWidth(2);
        summary->Borders()->SetColor(navy);
        TRLLabel *total = label(summary, 6, 8, 706, QString(), taRightJustify, true);
        total->SetFontColor(navy);
        total->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            text = QStringLiteral("Total geral (%1 municípios, %2 recolhimentos): R$ %3")
                       .arg(towns.size())
                       .arg(model.rowCount())
                       .arg(money(grandTotal));
        };

        TRLBand *footer = band(report, btFooter, 900, 26);
        footer->SetAlign(faBottom);
        footer->Borders()->SetDrawTop(true);
        footer->Borders()->SetColor(navy);
        label(footer, 6, 6, 400, "Zavenor — relatório de demonstração com dados");
        TRLLabel *page = label(footer, 412, 6, 300, QString(), taRightJustify);
        page->BeforePrint = [this](TRLCustomControl *, QString &text, bool &) {
            text = QStringLiteral("Página %1 de {LastPageNumber}").arg(report->PageNumber());
        };
    }
};

// Texts of a stored page, top to bottom, left to right, as shown (macros replaced).

} // namespace
