#include "report/output/RLPositionDialog.h"

#include "report/base/RLConsts.h"
#include "report/base/RLExceptions.h"
#include "report/base/RLHost.h"
#include "report/output/RLFilterThread.h"
#include "report/output/RLPrintOffsets.h"
#include "report/output/RLWindowFont.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

QString RLPositionText(TRLPositionText text)
{
    // In the order of the engine's languages: English, Portuguese, Spanish, French.
    static const char *const rows[][4] = {
        {"Adjust position...", "Ajustar posição...", "Ajustar posición...", "Ajuster la position..."},
        {"Adjust position", "Ajustar posição", "Ajustar posición", "Ajuster la position"},
        {"Printer: %1", "Impressora: %1", "Impresora: %1", "Imprimante : %1"},
        {"Horizontal (+ to the right):", "Horizontal (+ para a direita):", "Horizontal (+ a la derecha):",
         "Horizontal (+ vers la droite) :"},
        {"Vertical (+ down):", "Vertical (+ para baixo):", "Vertical (+ hacia abajo):", "Vertical (+ vers le bas) :"},
        {"From %1 to %2 mm, in steps of %3 mm.", "De %1 a %2 mm, em passos de %3 mm.",
         "De %1 a %2 mm, en pasos de %3 mm.", "De %1 à %2 mm, par pas de %3 mm."},
        {"Print test page", "Imprimir página de teste", "Imprimir página de prueba", "Imprimer une page de test"},
        {"The adjustment could not be saved in %1.", "O ajuste não pôde ser gravado em %1.",
         "No se pudo guardar el ajuste en %1.", "Le réglage n'a pas pu être enregistré dans %1."},
    };
    return QString::fromUtf8(rows[text][RLMessagesLanguage()]);
}

// ---- Millimetre field -------------------------------------------------------------------------

TRLMillimetreBox::TRLMillimetreBox(QWidget *parent) : QDoubleSpinBox(parent)
{
    setDecimals(1);
    setRange(-TRLPrintOffsetStore::LimitMm, TRLPrintOffsetStore::LimitMm);
    setSingleStep(TRLPrintOffsetStore::StepMm);
    setSuffix(QStringLiteral(" mm"));
    setGroupSeparatorShown(false);
    setAccelerated(true);
    setKeyboardTracking(false);
}

QValidator::State TRLMillimetreBox::validate(QString &text, int &pos) const
{
    const QString decimal = locale().decimalPoint();
    if (decimal != QLatin1String("."))
        text.replace(QLatin1Char('.'), decimal);
    return QDoubleSpinBox::validate(text, pos);
}

// ---- Dialog -----------------------------------------------------------------------------------

TRLPositionDialog::TRLPositionDialog(const QString &queue, const TRLTestPageLayout &layout, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_queue(queue), m_layout(layout)
{
    setObjectName(QStringLiteral("RLPositionDialog"));
    setWindowTitle(RLPositionText(ptTitle));
    setFont(RLWindowFont(11));

    LabelPrinter = new QLabel(RLPositionText(ptPrinter).arg(queue), this);
    auto *labelHorizontal = new QLabel(RLPositionText(ptHorizontal), this);
    auto *labelVertical = new QLabel(RLPositionText(ptVertical), this);
    EditHorizontal = new TRLMillimetreBox(this);
    EditVertical = new TRLMillimetreBox(this);
    labelHorizontal->setBuddy(EditHorizontal);
    labelVertical->setBuddy(EditVertical);
    const QString range = RLPositionText(ptRange).arg(RLOffsetText(-TRLPrintOffsetStore::LimitMm),
                                                      RLOffsetText(TRLPrintOffsetStore::LimitMm),
                                                      QLocale().toString(TRLPrintOffsetStore::StepMm, 'f', 1));
    LabelRange = new QLabel(range, this);
    // The field refuses what lies outside: the range stays in sight, and on the field itself.
    EditHorizontal->setToolTip(range);
    EditVertical->setToolTip(range);
    ButtonTestPage = new QPushButton(RLPositionText(ptTestPage), this);
    ButtonOk = new QPushButton(RLMessage(rlmOk), this);
    ButtonCancel = new QPushButton(RLMessage(rlmCancel), this);
    ButtonTestPage->setObjectName(QStringLiteral("ButtonTestPage"));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    EditHorizontal->setObjectName(QStringLiteral("EditHorizontal"));
    EditVertical->setObjectName(QStringLiteral("EditVertical"));
    for (QPushButton *button : {ButtonTestPage, ButtonOk, ButtonCancel})
        button->setAutoDefault(false);
    ButtonOk->setDefault(true);

    auto *fields = new QGridLayout;
    fields->addWidget(labelHorizontal, 0, 0);
    fields->addWidget(EditHorizontal, 0, 1);
    fields->addWidget(labelVertical, 1, 0);
    fields->addWidget(EditVertical, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonTestPage);
    buttons->addStretch(1);
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto *all = new QVBoxLayout(this);
    all->addWidget(LabelPrinter);
    all->addLayout(fields);
    all->addWidget(LabelRange);
    all->addSpacing(6);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    const TRLPrintOffsetStore *store = RLPrintOffsetStore();
    const TRLPrintOffset kept = store ? store->Offset(queue) : TRLPrintOffset();
    EditHorizontal->setValue(kept.XMm);
    EditVertical->setValue(kept.YMm);

    connect(ButtonTestPage, &QPushButton::clicked, this, [this] { RLRunGuarded([this] { ButtonTestPageClick(); }); });
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    // A background print has no signal of its end that reaches here: look now and then.
    m_busyWatch = new QTimer(this);
    m_busyWatch->setInterval(200);
    connect(m_busyWatch, &QTimer::timeout, this, [this] { UpdateTestPageButton(); });
    m_busyWatch->start();
    UpdateTestPageButton();
    setTabOrder(EditHorizontal, EditVertical);
    setTabOrder(EditVertical, ButtonTestPage);
    setTabOrder(ButtonTestPage, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);
    EditHorizontal->setFocus();
}

TRLPositionDialog::~TRLPositionDialog() = default;

TRLPrintOffset TRLPositionDialog::FieldOffset() const
{
    // A value still being typed counts as typed; one the field cannot take leaves the last it took.
    EditHorizontal->interpretText();
    EditVertical->interpretText();
    return {TRLPrintOffsetStore::Checked(EditHorizontal->value()).value_or(0.0),
            TRLPrintOffsetStore::Checked(EditVertical->value()).value_or(0.0)};
}

void TRLPositionDialog::UpdateTestPageButton()
{
    ButtonTestPage->setEnabled(!RLBackgroundRunning());
}

void TRLPositionDialog::ButtonTestPageClick()
{
    PrintRLTestPage(m_layout, m_queue, FieldOffset());
    UpdateTestPageButton();
}

void TRLPositionDialog::accept()
{
    RLRunGuarded([this] {
        TRLPrintOffsetStore *store = RLPrintOffsetStore();
        if (store && !store->SetOffset(m_queue, FieldOffset()))
            throw TRLException(RLPositionText(ptNotSaved).arg(store->FileName()));
        QDialog::accept();
    });
}
