#include "report/output/RLPrintOffsets.h"

#include <QLocale>
#include <QSettings>
#include <QVariant>

#include <cmath>

namespace {

const QString group = QStringLiteral("AjustePosicao");

std::unique_ptr<TRLPrintOffsetStore> &sharedStore()
{
    static std::unique_ptr<TRLPrintOffsetStore> store;
    return store;
}

QString key(const QString &queue, const char *axis)
{
    return queue + QLatin1Char('/') + QLatin1String(axis);
}

// A full stop for decimals whatever the user's settings, so that the file reads the same anywhere.
QString settingsText(double mm)
{
    return QString::number(mm, 'f', 1);
}

} // namespace

TRLPrintOffsetStore::TRLPrintOffsetStore(const QString &organisation, const QString &application)
    : m_organisation(organisation), m_application(application)
{
}

std::optional<double> TRLPrintOffsetStore::Checked(double mm)
{
    // The limit itself is allowed; a hair beyond it from binary rounding too.
    if (!std::isfinite(mm) || std::abs(mm) > LimitMm + 1e-9)
        return std::nullopt;
    // Divided rather than multiplied by the step: 7 / 10 is the double nearest 0.7, 7 * 0.1 is not.
    const double rounded = std::round(mm * StepsPerMm) / StepsPerMm;
    // No "-0.0" in the file or the fields.
    return rounded == 0 ? 0.0 : rounded;
}

std::optional<double> TRLPrintOffsetStore::Parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Longer than any value within the limits: not worth reading.
    if (trimmed.isEmpty() || trimmed.size() > 24)
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        return std::nullopt;
    return Checked(value);
}

TRLPrintOffset TRLPrintOffsetStore::Offset(const QString &queue) const
{
    TRLPrintOffset offset;
    if (queue.isEmpty())
        return offset;
    QSettings settings(m_organisation, m_application);
    settings.beginGroup(group);
    // A value with a comma reads as a list, which has no text: ignored like any other bad value.
    const auto axis = [&settings, &queue](const char *name) {
        const QVariant stored = settings.value(key(queue, name));
        return stored.typeId() == QMetaType::QString ? Parse(stored.toString()).value_or(0.0) : 0.0;
    };
    offset.XMm = axis("x_mm");
    offset.YMm = axis("y_mm");
    return offset;
}

bool TRLPrintOffsetStore::SetOffset(const QString &queue, const TRLPrintOffset &offset)
{
    const std::optional<double> x = Checked(offset.XMm);
    const std::optional<double> y = Checked(offset.YMm);
    if (queue.isEmpty() || !x || !y)
        return false;
    QSettings settings(m_organisation, m_application);
    settings.beginGroup(group);
    settings.setValue(key(queue, "x_mm"), settingsText(*x));
    settings.setValue(key(queue, "y_mm"), settingsText(*y));
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString TRLPrintOffsetStore::FileName() const
{
    return QSettings(m_organisation, m_application).fileName();
}

TRLPrintOffsetStore *RLPrintOffsetStore()
{
    return sharedStore().get();
}

void SetRLPrintOffsetStore(std::unique_ptr<TRLPrintOffsetStore> store)
{
    sharedStore() = std::move(store);
}
