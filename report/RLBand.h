#pragma once
// Band sets, bands and pagers: the sites that a report stacks on its pages.

#include "report/RLSite.h"

enum TRLBandType { btHeader, btTitle, btColumnHeader, btDetail, btColumnFooter, btSummary, btFooter };
enum TRLCompletionType { ctNone, ctFullPage, ctMaxBands, ctMinBands };
enum TRLPageBreaking { pbNone, pbBeforePrint, pbAfterPrint };
enum TRLBandOption { boOptimisticPageBreak = 1 };
Q_DECLARE_FLAGS(TRLBandOptions, TRLBandOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRLBandOptions)

// A site whose children are bands or other band sets.
class TRLCustomBandSet : public TRLCustomSite
{
    Q_OBJECT
public:
    explicit TRLCustomBandSet(QObject *owner = nullptr) : TRLCustomSite(owner) {}
};

// A horizontal strip of a page: its type decides when it prints and where it stacks.
class TRLCustomBand : public TRLCustomBandSet
{
    Q_OBJECT
public:
    explicit TRLCustomBand(QObject *owner = nullptr);

    TRLBandType BandType() const { return m_bandType; }
    void SetBandType(TRLBandType type);
    bool AlignToBottom() const { return m_alignToBottom; }
    void SetAlignToBottom(bool on) { m_alignToBottom = on; }
    int CarbonCopies() const { return m_carbonCopies; }
    // Bands of one non-zero GroupIndex in one site share the value.
    void SetCarbonCopies(int copies);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int index);
    TRLCompletionType Completion() const { return m_completion; }
    void SetCompletion(TRLCompletionType completion) { m_completion = completion; }
    bool Computable() const { return m_computable; }
    void SetComputable(bool on) { m_computable = on; }
    TRLPageBreaking PageBreaking() const { return m_pageBreaking; }
    void SetPageBreaking(TRLPageBreaking breaking) { m_pageBreaking = breaking; }
    bool IntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool on) { m_integralHeight = on; }
    TRLBandOptions Options() const { return m_options; }
    void SetOptions(TRLBandOptions options) { m_options = options; }

    int ArrangeKind() const override { return 10 * (int(m_bandType) + 1); }

protected:
    bool SizesWidth() const override { return false; }
    bool SizesHeight() const override { return true; }
    bool PrintsChildSites() const override { return true; }
    void ParentChanged() override;

private:
    QList<TRLCustomBand *> groupMates() const;

    TRLBandType m_bandType = btDetail;
    bool m_alignToBottom = false;
    int m_carbonCopies = 1;
    int m_groupIndex = 0;
    TRLCompletionType m_completion = ctNone;
    bool m_computable = true;
    TRLPageBreaking m_pageBreaking = pbNone;
    bool m_integralHeight = true;
    TRLBandOptions m_options;
};

class TRLBand : public TRLCustomBand
{
    Q_OBJECT
public:
    explicit TRLBand(QObject *owner = nullptr) : TRLCustomBand(owner) {}
};

// A band set that cuts pages.
class TRLCustomPager : public TRLCustomBandSet
{
    Q_OBJECT
public:
    explicit TRLCustomPager(QObject *owner = nullptr) : TRLCustomBandSet(owner) {}
};

// A pager that prints its bands once per group of records.
class TRLCustomGroup : public TRLCustomPager
{
    Q_OBJECT
public:
    explicit TRLCustomGroup(QObject *owner = nullptr);
    int ArrangeKind() const override { return 32; }
};

// A pager that walks data records.
class TRLCustomSkipper : public TRLCustomPager
{
    Q_OBJECT
public:
    explicit TRLCustomSkipper(QObject *owner = nullptr) : TRLCustomPager(owner) {}
};
