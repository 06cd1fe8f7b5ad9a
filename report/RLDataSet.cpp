// The item-model adapter of the report's data set.
#include "report/RLDataSet.h"

#include <QAbstractItemModel>

TRLModelDataSet::TRLModelDataSet(QAbstractItemModel *model, int role) : m_model(model), m_role(role)
{
    watchModel();
}

TRLModelDataSet::~TRLModelDataSet() = default;

void TRLModelDataSet::SetModel(QAbstractItemModel *model)
{
    m_model = model;
    m_row = 0;
    watchModel();
}

void TRLModelDataSet::watchModel()
{
    m_columns.clear();
    m_watch = std::make_unique<QObject>();
    if (!m_model)
        return;
    QObject *watch = m_watch.get();
    const auto forget = [this] { m_columns.clear(); };
    QAbstractItemModel *model = m_model;
    QObject::connect(model, &QAbstractItemModel::headerDataChanged, watch, forget);
    QObject::connect(model, &QAbstractItemModel::columnsInserted, watch, forget);
    QObject::connect(model, &QAbstractItemModel::columnsRemoved, watch, forget);
    QObject::connect(model, &QAbstractItemModel::columnsMoved, watch, forget);
    QObject::connect(model, &QAbstractItemModel::modelReset, watch, forget);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, watch, forget);
}

void TRLModelDataSet::Open()
{
    m_active = true;
    m_row = 0;
}

void TRLModelDataSet::fetchWhile(int rowsWanted) const
{
    // A model that fetches lazily only knows its first rows until it is asked for more.
    while (m_model && (rowsWanted < 0 || m_model->rowCount() < rowsWanted) && m_model->canFetchMore(QModelIndex()))
        m_model->fetchMore(QModelIndex());
}

bool TRLModelDataSet::Eof() const
{
    if (!Active())
        return true;
    fetchWhile(m_row + 1);
    return m_row >= m_model->rowCount();
}

int TRLModelDataSet::RecordCount() const
{
    if (!Active())
        return 0;
    fetchWhile(-1);
    return m_model->rowCount();
}

bool TRLModelDataSet::RecordCountKnown() const
{
    return !Active() || !m_model->canFetchMore(QModelIndex());
}

int TRLModelDataSet::column(const QString &name) const
{
    if (!m_model)
        return -1;
    if (m_columns.isEmpty()) {
        // The first of equal names wins, as a search from the left would find it.
        const int columns = m_model->columnCount();
        for (int c = columns - 1; c >= 0; --c)
            m_columns.insert(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toCaseFolded(), c);
        if (m_columns.isEmpty())
            return -1;
    }
    return m_columns.value(name.toCaseFolded(), -1);
}

QVariant TRLModelDataSet::FieldValue(const QString &name) const
{
    const int c = column(name);
    if (c < 0 || Eof())
        return {};
    return m_model->data(m_model->index(m_row, c), m_role);
}
