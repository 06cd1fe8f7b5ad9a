#pragma once
// "Tabela Selic...": the monthly rates known, the office's own months added or corrected one by
// one or pasted whole (the Receita's grid or ano;mes;taxa lines). Each change is written to the
// office's file at once.

#include "slips/SelicTable.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TfrmTabelaSelic : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTabelaSelic(const QString &officeFile, QWidget *parent = nullptr);

    QTableWidget *GridMeses = nullptr;
    QSpinBox *SpAno = nullptr;
    QComboBox *CbMes = nullptr;
    QLineEdit *EdTaxa = nullptr;
    QPushButton *BBGravarMes = nullptr;
    QPlainTextEdit *MMColar = nullptr;
    QPushButton *BBImportar = nullptr;
    QLabel *LbSituacao = nullptr;
    QPushButton *BBFechar = nullptr;

    void BBGravarMesClick();
    void BBImportarClick();

private:
    void reload();
    void fillGrid();
    // Adds or corrects the months and writes the file; false (said in LbSituacao) when nothing
    // was written.
    bool store(const QList<TSelicMonth> &months);
    void say(const QString &text, bool problem);

    QString m_file;
    TSelicTable m_table;
    QStringList m_fileProblems;
};
