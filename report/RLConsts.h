#pragma once
// The engine's user-visible texts, in the language of the user's system (Portuguese, Spanish,
// French, or English for every other language).

#include <QLocale>
#include <QString>

enum TRLMessageLanguage { mlEnglish, mlPortuguese, mlSpanish, mlFrench };

constexpr int RLMessageCount = 76;

// Message 1..RLMessageCount in the current language; an empty text for any other number.
QString RLMessage(int number);

// The language the messages take for a locale: its primary language decides.
TRLMessageLanguage RLMessageLanguageFor(const QLocale &locale);

// Switches every later RLMessage() to another language. The first use picks the system's.
void RLLoadMessages(TRLMessageLanguage language);
TRLMessageLanguage RLMessagesLanguage();
