#pragma once
// Check digits of the payer's numbers: CPF, CNPJ (numeric or alphanumeric) and São Paulo state
// registration. Free of widgets, so that the entry window and a batch run judge alike. Only
// texts of a known shape are judged; anything else is left to the user.

#include <QString>

struct TTaxIdVerdict {
    enum Kind { NotJudged, Cpf, Cnpj, StateRegistration };

    Kind kind = NotJudged;
    bool valid = true;
    // The characters judged, in capitals, without punctuation.
    QString bare;
    // The check digits the number should have (empty when not judged).
    QString expected;
    // Why the number is wrong, as the user reads it; empty when valid or not judged.
    QString reason;

    bool IsWrong() const { return kind != NotJudged && !valid; }
};

namespace TaxIdCheck {

// A CPF (11 digits) or a CNPJ (12 digits or capitals, then 2 digits), with or without the
// usual dots, slash and hyphen; lower-case letters count as capitals.
TTaxIdVerdict CheckCpfCnpj(const QString &text);

// A São Paulo state registration of 12 digits, with or without punctuation.
TTaxIdVerdict CheckStateRegistration(const QString &text);

// A valid CPF or CNPJ typed bare, with its usual punctuation (123.456.789-09,
// 12.ABC.345/01DE-35); any other text unchanged.
QString PunctuateCpfCnpj(const QString &text);

} // namespace TaxIdCheck
