#pragma once
// Offers the register's clients under a field as the user types in it (any part of the name, or
// the digits of the CPF/CNPJ with or without punctuation); choosing one hands it to the caller.
// The search runs on the register's thread: a slow register never stops the typing, and an
// answer to an older text than the field's is dropped.

#include "storage/Register.h"

#include <QObject>

#include <functional>

class QCompleter;
class QLineEdit;
class QStandardItemModel;
class TRegisterThread;

class TClientCompletion : public QObject
{
    Q_OBJECT
public:
    // Searches from this many characters typed.
    static constexpr int MinimumTyped = 2;
    static constexpr int MaximumShown = 20;

    TClientCompletion(QLineEdit *field, TRegisterThread &reg, std::function<void(const TClient &)> chosen);

    // The list under the field (tests and pictures look at it).
    QCompleter *Completer() const { return m_completer; }
    // Each shown client as its row reads.
    static QString RowText(const TClient &client);

private:
    void search(const QString &typed);
    void show(int request, const QList<TClient> &found);

    QLineEdit *m_field;
    TRegisterThread &m_register;
    std::function<void(const TClient &)> m_chosen;
    QCompleter *m_completer;
    QStandardItemModel *m_model;
    QList<TClient> m_shown;
    int m_requests = 0;
};
