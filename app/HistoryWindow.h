#pragma once
// "Guias emitidas": the slips issued, newest first, filtered by client, kind, due month and
// outcome; one can be copied into the entry window, and the list saved as a spreadsheet that
// `zavenor --lote` reads back.

#include "storage/Register.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TClientCompletion;
class TRegisterThread;

class TfrmGuiasEmitidas : public QDialog
{
    Q_OBJECT
public:
    TfrmGuiasEmitidas(TRegisterThread &reg, QWidget *parent = nullptr);

    // Lists the history as the filters say.
    void Refresh();
    THistoryFilter Filter() const;
    const QList<TIssuedSlip> &Listed() const { return m_listed; }
    // Hands the chosen slip to the entry window and closes.
    void CopyChosen();
    // Writes the listed slips to `path`; throws when it cannot.
    void ExportTo(const QString &path) const;
    // Asks for the file, then ExportTo.
    void ExportClick();

    QLineEdit *edContribuinte = nullptr;
    QComboBox *cbTipo = nullptr;
    QLineEdit *meMes = nullptr;
    QComboBox *cbSituacao = nullptr;
    QTableWidget *tbGuias = nullptr;
    QCheckBox *cbDatasValores = nullptr;
    QPushButton *BBCopiar = nullptr;
    QPushButton *BBExportar = nullptr;
    QPushButton *BBFechar = nullptr;
    TClientCompletion *Completion = nullptr;

    static constexpr int MaximumListed = 2000;

signals:
    void copyRequested(const TIssuedSlip &slip, bool datesAndAmounts);

private:
    TRegisterThread &m_register;
    QList<TIssuedSlip> m_listed;
};
