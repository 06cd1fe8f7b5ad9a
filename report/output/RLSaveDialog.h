#pragma once
// The save parameters: the record that matches the print parameters for saving a report to
// files. This program never saves, so it only holds data.

#include <QFlags>
#include "report/output/RLPageRange.h"

#include <QObject>
#include <QPointer>
#include <QString>

class TRLCustomSaveFilter;

enum TRLSaveDialogOption { rsoDisableSaveInBackground = 0x01 };
Q_DECLARE_FLAGS(TRLSaveDialogOptions, TRLSaveDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRLSaveDialogOptions)

enum TRLSaveRange { rsrAllPages, rsrSelection, rsrPageNums };

class TRLSaveParams : public QObject, public TRLPageRangeParams
{
    Q_OBJECT
public:
    explicit TRLSaveParams(QObject *owner = nullptr);
    ~TRLSaveParams() override;

    TRLSaveDialogOptions Options() const { return m_options; }
    void SetOptions(TRLSaveDialogOptions options) { m_options = options; }
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    TRLSaveRange SaveRange() const { return m_saveRange; }
    void SetSaveRange(TRLSaveRange range) { m_saveRange = range; }
    bool SaveInBackground() const { return m_saveInBackground; }
    void SetSaveInBackground(bool value) { m_saveInBackground = value; }
    // Becomes none when the filter is destroyed.
    TRLCustomSaveFilter *Filter() const;
    void SetFilter(TRLCustomSaveFilter *filter);
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int value) { m_helpContext = value; }

private:
    TRLSaveDialogOptions m_options;
    QString m_fileName;
    TRLSaveRange m_saveRange = rsrAllPages;
    bool m_saveInBackground = false;
    QPointer<QObject> m_filter;
    int m_helpContext = 0;
};

// The engine-wide save parameters, created on first use and kept until the program ends.
TRLSaveParams &RLSaveParams();
