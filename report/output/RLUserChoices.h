#pragma once
// Choices the user made last (the printer, the PDF folder, the host's print options), kept
// between runs in the same settings file as the position adjustments. Nothing is remembered
// until the host program asks for it, nor without a position adjustment store. Every value read
// is the user's to edit: callers check it.

#include <QString>
#include <QVariant>

namespace RLUserChoices {

// Turning remembering on marks the start of a run (see TakeRunStartPrinter).
void SetRemembered(bool on);
bool Remembered();

// The printer of the last print of an earlier run, once per run: the first print dialog starts
// there, later ones at the printer chosen since. Empty when there is none or it was taken.
QString TakeRunStartPrinter();
void SetLastPrinter(const QString &queue);

// The stored value, or a null QVariant when there is none (or no store).
QVariant Value(const QString &key);
// A text value; `fallback` when missing, not a text, or longer than `maxLength`.
QString Text(const QString &key, const QString &fallback = QString(), int maxLength = 4096);
void SetValue(const QString &key, const QVariant &value);

} // namespace RLUserChoices
