#pragma once
// How far the pages of one printer are nudged so that the print lines up with a pre-printed form.
// The nudges are kept per queue in the user's settings; the file is the user's to edit, so every
// value read is checked and a bad one counts as no nudge at all.

#include <QString>

#include <memory>
#include <optional>

struct TRLPrintOffset
{
    double XMm = 0; // positive: to the right
    double YMm = 0; // positive: down
    bool IsZero() const { return XMm == 0 && YMm == 0; }
    bool operator==(const TRLPrintOffset &) const = default;
};

class TRLPrintOffsetStore
{
public:
    // The nudge either way, and the step a field moves it by.
    static constexpr double LimitMm = 20.0;
    static constexpr double StepMm = 0.1;
    static constexpr int StepsPerMm = 10;

    // Settings of the given organisation and application (QSettings' native format).
    TRLPrintOffsetStore(const QString &organisation, const QString &application);

    // The queue's nudge; an axis whose value is missing, not a number or out of range reads as 0.
    TRLPrintOffset Offset(const QString &queue) const;
    // Keeps the nudge; false, and nothing written, for a queue without a name or a value out of range.
    bool SetOffset(const QString &queue, const TRLPrintOffset &offset);

    // The value rounded to the step, when it lies within the limits.
    static std::optional<double> Checked(double mm);
    // A settings text ("1.5", a full stop for decimals) as a checked value.
    static std::optional<double> Parse(const QString &text);

    // Where the settings live (for messages).
    QString FileName() const;
    QString Organisation() const { return m_organisation; }
    QString Application() const { return m_application; }

private:
    QString m_organisation;
    QString m_application;
};

// The store the host program gave the engine; none means that no printer is nudged.
TRLPrintOffsetStore *RLPrintOffsetStore();
void SetRLPrintOffsetStore(std::unique_ptr<TRLPrintOffsetStore> store);
