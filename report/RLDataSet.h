#pragma once
// Records for a report: a small cursor over rows whose fields are read by name, and an adapter that
// lets any Qt item model feed a report.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <QAbstractItemModel>

#include <memory>

class TRLDataSet
{
public:
    virtual ~TRLDataSet() = default;
    virtual bool Active() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    virtual int RecordCount() const = 0;
    // False while counting would first fetch records that nobody has read yet.
    virtual bool RecordCountKnown() const { return true; }
    virtual bool HasField(const QString &name) const = 0;
    // The current record's value of a field; invalid when there is no such field or record.
    virtual QVariant FieldValue(const QString &name) const = 0;
};

// Rows of a model are records, its columns fields named by their horizontal header texts.
// Models that fetch lazily are asked for more before an end or a count is reported.
class TRLModelDataSet : public TRLDataSet
{
public:
    explicit TRLModelDataSet(QAbstractItemModel *model = nullptr, int role = Qt::DisplayRole);
    ~TRLModelDataSet() override;
    TRLModelDataSet(const TRLModelDataSet &) = delete;
    TRLModelDataSet &operator=(const TRLModelDataSet &) = delete;

    QAbstractItemModel *Model() const { return m_model; }
    void SetModel(QAbstractItemModel *model);

    bool Active() const override { return m_active && m_model; }
    void Open() override;
    void Close() override { m_active = false; }
    void First() override { m_row = 0; }
    void Next() override { ++m_row; }
    bool Eof() const override;
    int RecordCount() const override;
    bool RecordCountKnown() const override;
    bool HasField(const QString &name) const override { return column(name) >= 0; }
    QVariant FieldValue(const QString &name) const override;
    int Row() const { return m_row; }

private:
    int column(const QString &name) const;
    void fetchWhile(int rowsWanted) const;
    void watchModel();

    QPointer<QAbstractItemModel> m_model;
    // Columns by folded header text, read once: every label of every record asks by name. Any
    // change of the model's columns or headers empties it.
    mutable QHash<QString, int> m_columns;
    std::unique_ptr<QObject> m_watch;
    int m_role;
    int m_row = 0;
    bool m_active = false;
};
