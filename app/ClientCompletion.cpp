#include "app/ClientCompletion.h"

#include "storage/RegisterThread.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStandardItemModel>

TClientCompletion::TClientCompletion(QLineEdit *field, TRegisterThread &reg,
                                     std::function<void(const TClient &)> chosen)
    : QObject(field), m_field(field), m_register(reg), m_chosen(std::move(chosen))
{
    m_model = new QStandardItemModel(this);
    m_completer = new QCompleter(m_model, this);
    // The register has already matched: the list shows what it found, not what starts alike.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(10);
    // Not the field's own completer, so that choosing a row replaces no text by itself.
    m_completer->setWidget(field);
    connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this, [this](const QModelIndex &index) {
        const int row = index.row();
        if (row >= 0 && row < m_shown.size())
            m_chosen(m_shown.at(row));
    });
    // Only what the user types searches; a fill by the program does not.
    connect(field, &QLineEdit::textEdited, this, &TClientCompletion::search);
}

QString TClientCompletion::RowText(const TClient &client)
{
    QString text = client.name;
    if (!client.taxId.isEmpty())
        text += QStringLiteral(" — ") + client.taxId;
    if (!client.city.isEmpty())
        text += QStringLiteral(" (%1%2)").arg(client.city, client.uf.isEmpty() ? QString() : QLatin1Char('/') + client.uf);
    return text;
}

void TClientCompletion::search(const QString &typed)
{
    const int request = ++m_requests;
    if (typed.trimmed().size() < MinimumTyped) {
        m_completer->popup()->hide();
        return;
    }
    m_register.Post<QList<TClient>>(
        [typed](TRegister &r) { return r.FindClients(typed, MaximumShown); }, this,
        [this, request](QList<TClient> found) { show(request, found); },
        // A register that cannot answer leaves the field as a plain field; typing goes on.
        [](const QString &) {});
}

void TClientCompletion::show(int request, const QList<TClient> &found)
{
    if (request != m_requests || !m_field->hasFocus())
        return;
    m_shown = found;
    m_model->clear();
    for (const TClient &client : found)
        m_model->appendRow(new QStandardItem(RowText(client)));
    if (found.isEmpty()) {
        m_completer->popup()->hide();
        return;
    }
    QRect under = m_field->rect();
    under.setWidth(std::max(under.width(), 420));
    m_completer->complete(under);
}
