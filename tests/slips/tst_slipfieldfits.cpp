// Which printed boxes an entry field fills, and where its text stops fitting them.
#include "slips/SlipFieldFits.h"

#include "DarfTestData.h"
#include "GareTestData.h"

#include <QtTest>

class TestSlipFieldFits : public QObject
{
    Q_OBJECT

private slots:
    void dump()
    {
        for (const char *f : {"EdNome", "edCGCCPF", "edCodRec", "edNumRef", "EdNomeG", "EdEnderecoG", "EDMunicipioG", "EDUFG",
                              "EDFoneG", "MMTribG", "EdCAEG", "EdPlacaG", "MMObsG", "EDCodRecG", "EDInscEstG", "EDCGCG",
                              "EDInscrDAG", "EDNroAinG"}) {
            QStringList names;
            for (const TPrintedBox &b : SlipFieldBoxes(f))
                names << QStringLiteral("%1(%2 %3x%4 a%5 m%6)").arg(b.control, b.font.family()).arg(b.width).arg(b.height).arg(b.alignment).arg(b.memo);
            auto limit = [&](QChar c, bool words) {
                QString t;
                for (int n = 0; n < 500; ++n) {
                    QString next = t + ((words && n % 6 == 5) ? QChar(' ') : c);
                    if (!SlipFieldFits(f, next)) return n;
                    t = next;
                }
                return 500;
            };
            qInfo().noquote() << f << limit('W', false) << limit('W', true) << limit('a', true) << limit('0', false) << names.join(" ");
        }
    }
};

QTEST_MAIN(TestSlipFieldFits)
#include "tst_slipfieldfits.moc"
