#include "batch/SlipDocuments.h"

#include "batch/BatchErrors.h"
#include "report/RLReport.h"
#include "slips/SlipColours.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGare.h"
#include "slips/pLayOutGareFill.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// Without a window a report's own error box would wait for a click forever: it is answered at
// once and its text becomes the row's failure.
class TErrorBoxCatcher
{
public:
    TErrorBoxCatcher()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_text = box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start();
    }
    QString Text() const { return m_text; }

private:
    QTimer m_timer;
    QString m_text;
};

template <class T>
T &lazily(std::unique_ptr<T> &form)
{
    if (!form)
        form = std::make_unique<T>();
    return *form;
}

} // namespace

TSlipDocuments::TSlipDocuments(TBatchMode mode) : m_mode(mode) {}

TSlipDocuments::~TSlipDocuments() = default;

TRLReport *TSlipDocuments::fill(const TBatchSlip &slip)
{
    const bool colour = m_mode == TBatchMode::LayoutColour;
    TRLReport *report = nullptr;
    if (m_mode == TBatchMode::DataOnly) {
        if (slip.kind == TSlipKind::Darf) {
            FillDadosDarf(lazily(m_dadosDarf), slip.darf);
            report = m_dadosDarf->RLDadosDARF;
        } else {
            FillDadosGare(lazily(m_dadosGare), slip.gare);
            report = m_dadosGare->LRDadosGARE;
        }
    } else if (slip.kind == TSlipKind::Darf) {
        // The colour is the run's: the layout is coloured once, when it is made.
        if (!m_layOutDarf) {
            m_layOutDarf = std::make_unique<TfrmLayOutDARF>();
            ColourLayOutDarf(*m_layOutDarf, colour ? kCorDarfColorido : 0);
        }
        SetLayOutDarfTexts(*m_layOutDarf, slip.darf);
        report = m_layOutDarf->RLDarf;
        report->SetTitle(QStringLiteral("Zavenor - DARF"));
    } else {
        if (!m_layOutGare) {
            const quint32 cor = colour ? kCorGareColorido : 0;
            m_layOutGare = std::make_unique<TfrmLayOutGARE>();
            ColourLayOutGare(*m_layOutGare, cor, cor);
        }
        SetLayOutGareTexts(*m_layOutGare, slip.gare);
        report = m_layOutGare->QRGARE;
        report->SetTitle(QStringLiteral("Zavenor - GARE"));
    }
    // No progress window: the batch shows its own progress, and never a window.
    report->SetShowProgress(false);
    return report;
}

TRLGraphicStorage &TSlipDocuments::Prepare(const TBatchSlip &slip)
{
    TRLReport *report = fill(slip);
    TErrorBoxCatcher catcher;
    if (!report->Prepare() || !report->Pages() || report->Pages()->PageCount() < 1) {
        QString reason = catcher.Text();
        reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
        throw TBatchOutputError(reason.isEmpty() ? QStringLiteral("a guia não pôde ser preparada")
                                                 : QStringLiteral("a guia não pôde ser preparada: ") + reason);
    }
    return *report->Pages();
}
