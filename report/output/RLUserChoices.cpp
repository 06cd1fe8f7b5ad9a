#include "report/output/RLUserChoices.h"

#include "report/output/RLPrintOffsets.h"

#include <QSettings>

namespace {

const QString group = QStringLiteral("Escolhas");

const QString printerKey = QStringLiteral("Impressora");

bool &remembered()
{
    static bool on = false;
    return on;
}

bool &runStartPrinterTaken()
{
    static bool taken = false;
    return taken;
}

const TRLPrintOffsetStore *store()
{
    return remembered() ? RLPrintOffsetStore() : nullptr;
}

} // namespace

void RLUserChoices::SetRemembered(bool on)
{
    remembered() = on;
    runStartPrinterTaken() = false;
}

QString RLUserChoices::TakeRunStartPrinter()
{
    if (runStartPrinterTaken())
        return QString();
    runStartPrinterTaken() = true;
    // Queue names are short: anything longer is not one.
    return Text(printerKey, QString(), 255);
}

void RLUserChoices::SetLastPrinter(const QString &queue)
{
    SetValue(printerKey, queue);
}

bool RLUserChoices::Remembered()
{
    return store() != nullptr;
}

QVariant RLUserChoices::Value(const QString &key)
{
    const TRLPrintOffsetStore *kept = store();
    if (!kept)
        return {};
    QSettings settings(kept->Organisation(), kept->Application());
    return settings.value(group + QLatin1Char('/') + key);
}

QString RLUserChoices::Text(const QString &key, const QString &fallback, int maxLength)
{
    const QVariant stored = Value(key);
    if (stored.typeId() != QMetaType::QString)
        return fallback;
    const QString text = stored.toString();
    return text.size() <= maxLength ? text : fallback;
}

void RLUserChoices::SetValue(const QString &key, const QVariant &value)
{
    const TRLPrintOffsetStore *kept = store();
    if (!kept)
        return;
    QSettings settings(kept->Organisation(), kept->Application());
    settings.setValue(group + QLatin1Char('/') + key, value);
}
