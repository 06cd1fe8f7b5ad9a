#pragma once
// Band sets, bands and pagers: the sites that a report stacks on its pages.

#include "report/RLSite.h"

class TRLDataSet;
class TRLCustomReport;

enum TRLBandType { btHeader, btTitle, btColumnHeader, btDetail, btColumnFooter, btSummary, btFooter };
enum TRLCompletionType { ctNone, ctFullPage, ctMaxBands, ctMinBands };
enum TRLPageBreaking { pbNone, pbBeforePrint, pbAfterPrint };
enum TRLBandOption { boOptimisticPageBreak = 1 };
enum TRLFooterMeasuring { fmNone, fmAfterHeader, fmBeforeDetail };
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
    // Which carbon copy is printing, from 0: BeforePrint handlers tell the copies apart by it.
    int CopyIndex() const { return m_copyIndex; }
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
    // The least height a slice of this band may have when it is split across pages.
    int MinHeight() const { return m_minHeight; }
    void SetMinHeight(int height) { m_minHeight = height; }

    int ArrangeKind() const override { return 10 * (int(m_bandType) + 1); }

protected:
    bool SizesWidth() const override { return false; }
    bool SizesHeight() const override { return true; }
    bool PrintsChildSites() const override { return true; }
    void ParentChanged() override;
    // In a pager a band goes onto the page at the pager's used height.
    void PutOnEnclosingSurface() override;

private:
    friend class TRLCustomPager;
    QList<TRLCustomBand *> groupMates() const;

    TRLBandType m_bandType = btDetail;
    bool m_alignToBottom = false;
    int m_carbonCopies = 1;
    int m_groupIndex = 0;
    int m_copyIndex = 0;
    TRLCompletionType m_completion = ctNone;
    bool m_computable = true;
    TRLPageBreaking m_pageBreaking = pbNone;
    bool m_integralHeight = true;
    TRLBandOptions m_options;
    int m_minHeight = 0;
};

class TRLBand : public TRLCustomBand
{
    Q_OBJECT
public:
    explicit TRLBand(QObject *owner = nullptr) : TRLCustomBand(owner) {}
};

constexpr int RLBandTypeCount = btFooter + 1;

// The bands of a pager sorted per type: within a type by Top, equal tops in the order they came.
class TRLSortedBands
{
public:
    void Clear();
    void Add(TRLCustomBand *band);
    const QList<QPointer<TRLCustomBand>> &List(TRLBandType type) const { return m_lists[type]; }
    bool Printed(TRLBandType type) const { return m_printed[type]; }
    void SetPrinted(TRLBandType type, bool on) { m_printed[type] = on; }
    void ResetPrinted(bool keepTitle = false);

private:
    QList<QPointer<TRLCustomBand>> m_lists[RLBandTypeCount];
    bool m_printed[RLBandTypeCount] = {};
};

// A band set that cuts pages: it prints its bands by type and knows how much of the page is used.
class TRLCustomPager : public TRLCustomBandSet
{
    Q_OBJECT
public:
    explicit TRLCustomPager(QObject *owner = nullptr) : TRLCustomBandSet(owner) {}

    TRLSortedBands &SortedBands() { return m_sorted; }
    // Lists the bands of this pager and, recursively, of its child pagers.
    void SortBands();
    // Where the next band goes, relative to the pager.
    int UsedHeight() const { return m_usedHeight; }
    int DetailCount() const { return m_detailCount; }
    bool DetailsPrinted() const { return m_detailsPrinted; }
    // The lowest row bands may reach before the footers (of this pager and those around it).
    int BottomLimit() const;
    // Where bottom-aligned summaries and column footers start.
    int SummaryLimit() const;
    int ColumnFooterLimit() const;

    int MaxBands() const { return m_maxBands; }
    void SetMaxBands(int count) { m_maxBands = count; }
    int MinBands() const { return m_minBands; }
    void SetMinBands(int count) { m_minBands = count; }
    bool ForceMinBands() const { return m_forceMinBands; }
    void SetForceMinBands(bool on) { m_forceMinBands = on; }
    TRLFooterMeasuring FooterMeasuring() const { return m_footerMeasuring; }
    void SetFooterMeasuring(TRLFooterMeasuring measuring) { m_footerMeasuring = measuring; }
    // Footer heights measured again for this pager and those around it.
    void MeasureFooters();

    // Prints the bands of a type in order; false when a page break stopped the list.
    bool PrintBands(TRLBandType type);
    void PrintBand(TRLCustomBand *band);
    // Puts a printed band onto the page at the used height.
    void PlaceBand(TRLCustomBand *band);
    // The steps of placing a band: whether it starts a new page, where a bottom-aligned band
    // moves to, and its slices over as many pages as it needs (the height of the last one).
    bool NeedsPageBefore(TRLCustomBand *band);
    void MoveDownToLimit(TRLCustomBand *band);
    int PrintSlices(TRLCustomBand *band);
    // Column footers, summaries and footers, then the page closes.
    virtual void FinishPages();
    // Closes this page and those around it and opens them again.
    void StartNewPage() { NewPageFor(nullptr); }
    // One record's groups and detail bands; true when a group moved the records on itself.
    bool DetailPass();

protected:
    void PageStarting() override;
    void PrintPageHeader() override;
    void PageStarted() override;
    void PageEnding() override;
    void PageClosed() override;
    // Starts a new page for a band that does not fit: the pagers close inside out, open outside in.
    void NewPageFor(TRLCustomBand *band);
    void MakeRoomFor(TRLCustomBand *band);
    void ResetPagerState();
    // Nothing placed since the headers, on this pager's page and those around it.
    bool PageHoldsNothing() const;
    // Repeats the completion band to the page's end or the band count asked for.
    void Complete();
    int bottomOffsetInReport() const;
    int alignedHeight(TRLBandType type) const;

    TRLSortedBands m_sorted;
    int m_maxBands = 0;
    int m_minBands = 0;
    bool m_forceMinBands = false;
    TRLFooterMeasuring m_footerMeasuring = fmNone;
    int m_usedHeight = 0;
    // The used height once the page's headers were printed.
    int m_bodyTop = 0;
    int m_detailCount = 0;
    bool m_detailsPrinted = false;
    QPointer<TRLCustomBand> m_bandBeingPrinted;
};

// A pager that prints its bands once per group of records.
class TRLCustomGroup : public TRLCustomPager
{
    Q_OBJECT
public:
    explicit TRLCustomGroup(QObject *owner = nullptr);
    int ArrangeKind() const override { return 32; }

    // Fields of the report's data set whose texts, joined, make the group's key ("a;b").
    QString DataFields() const { return m_dataFields; }
    void SetDataFields(const QString &fields) { m_dataFields = fields; }
    TRLPageBreaking PageBreaking() const { return m_pageBreaking; }
    void SetPageBreaking(TRLPageBreaking breaking) { m_pageBreaking = breaking; }
    // Decides a break instead of the key when set.
    std::function<void(TRLCustomGroup *Sender, bool &Break)> OnGetBreak;

    QString Key() const;
    // Prints the records of one key: from the first to the one before the key changes.
    void PrintGroup();
    // True when the last pass ended on a break rather than at the end of the data.
    bool Broke() const { return m_broke; }

protected:
    void ComputePrintArea() override;
    void PrepareSurface() override;
    void PutOnEnclosingSurface() override;

private:
    bool checkBreak();

    QString m_dataFields;
    QString m_key;
    TRLPageBreaking m_pageBreaking = pbNone;
    bool m_broke = false;
};

class TRLGroup : public TRLCustomGroup
{
    Q_OBJECT
public:
    explicit TRLGroup(QObject *owner = nullptr) : TRLCustomGroup(owner) {}
};

enum TRLRecordRange { rrAllRecords, rrCurrentOnly, rrUntilEof, rrNextN };
enum TRLRecordAction { raUseIt, raIgnoreIt, raUseAndRetain, raBlankAndRetain };

using TRLDataCountEvent = std::function<void(TRLCustomControl *Sender, int &DataCount)>;
using TRLNeedDataEvent = std::function<void(TRLCustomControl *Sender, bool &MoreData)>;
using TRLDataRecordEvent = std::function<void(TRLCustomControl *Sender, int RecNo, int CopyNo, bool &Eof,
                                              TRLRecordAction &RecordAction)>;

// A pager that walks data records. Records come from OnNeedData; each one may be used, skipped,
// repeated or printed blank through OnDataRecord.
class TRLCustomSkipper : public TRLCustomPager
{
    Q_OBJECT
public:
    explicit TRLCustomSkipper(QObject *owner = nullptr) : TRLCustomPager(owner) {}

    TRLRecordRange RecordRange() const { return m_recordRange; }
    void SetRecordRange(TRLRecordRange range) { m_recordRange = range; }
    int RangeCount() const { return m_rangeCount; }
    void SetRangeCount(int count) { m_rangeCount = count; }

    TRLDataCountEvent OnDataCount;
    TRLNeedDataEvent OnNeedData;
    TRLDataRecordEvent OnDataRecord;

    // The data set the records come from; it takes precedence over OnNeedData.
    TRLDataSet *DataSource() const { return m_dataSource; }
    void SetDataSource(TRLDataSet *dataSet) { m_dataSource = dataSet; }

    int RecNo() const { return m_recNo; }
    int CopyNo() const { return m_copyNo; }
    bool Eof() const { return m_eof; }
    TRLRecordAction RecordAction() const { return m_recordAction; }

    void FirstRecord();
    void NextRecord();
    // For the progress bar: OnDataCount when set, else the data set's count, else 0.
    int DataCount();
    // False when only fetching every record would tell the count: the progress bar goes busy.
    bool DataCountKnown() const;
    // The detail step of one record: the groups, then the detail bands.
    virtual void DetailStep();
    // Grows each time the records move on: tells whether a detail step moved them itself.
    quint64 Moves() const { return m_moves; }

private:
    bool askMoreData(bool first);
    void settleRecord(bool moreData);

    TRLRecordRange m_recordRange = rrAllRecords;
    int m_rangeCount = 0;
    int m_recNo = 0;
    int m_copyNo = 0;
    bool m_eof = true;
    TRLRecordAction m_recordAction = raUseIt;
    TRLDataSet *m_dataSource = nullptr;
    quint64 m_moves = 0;
};
