#include "slips/TaxIdCheck.h"

#include <algorithm>
#include <span>

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isCapital(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }

// The text without the separators people type between groups; null when anything else than
// digits and letters remains.
QString strip(const QString &text)
{
    QString bare;
    bare.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('/') || c.isSpace())
            continue;
        c = c.toUpper();
        if (!isDigit(c) && !isCapital(c))
            return {};
        bare += c;
    }
    return bare;
}

bool allDigits(QStringView s) { return std::all_of(s.begin(), s.end(), isDigit); }

// Numbers of one digit repeated pass the arithmetic but are never issued.
bool oneDigitRepeated(const QString &bare)
{
    return std::all_of(bare.begin(), bare.end(), [&](QChar c) { return c == bare.front(); });
}

// Each character counts as its code less that of '0': digits keep their value, 'A' is 17.
int weightedSum(QStringView chars, std::span<const int> weights)
{
    int sum = 0;
    for (qsizetype i = 0; i < chars.size(); ++i)
        sum += (chars[i].unicode() - '0') * weights[size_t(i)];
    return sum;
}

QChar modulo11Digit(QStringView chars, std::span<const int> weights)
{
    const int rest = weightedSum(chars, weights) % 11;
    return QLatin1Char(char('0' + (rest < 2 ? 0 : 11 - rest)));
}

// The two trailing check digits of a CPF or CNPJ; the second is worked out over the right first
// one, so that what is shown as expected makes a valid number.
QString trailingCheckDigits(const QString &bare, std::span<const int> weights)
{
    const qsizetype body = bare.size() - 2;
    QString number = bare.left(body);
    number += modulo11Digit(number, weights.subspan(1));
    number += modulo11Digit(number, weights);
    return number.right(2);
}

TTaxIdVerdict judged(TTaxIdVerdict::Kind kind, const QString &bare, const QString &expected, const QString &typed,
                     const QString &name, const QString &expectedText)
{
    TTaxIdVerdict v;
    v.kind = kind;
    v.bare = bare;
    v.expected = expected;
    if (oneDigitRepeated(bare)) {
        v.valid = false;
        v.reason = name + QStringLiteral(" com todos os dígitos iguais: não é um número válido");
    } else if (typed != expected) {
        v.valid = false;
        v.reason = name + QStringLiteral(" com dígitos verificadores que não conferem: o esperado é ") + expectedText;
    }
    return v;
}

constexpr int kCpfWeights[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr int kCnpjWeights[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr int kStateFirstWeights[] = {1, 3, 4, 5, 6, 7, 8, 10};
constexpr int kStateSecondWeights[] = {3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2};

bool isCnpjShape(const QString &bare)
{
    return bare.size() == 14 && allDigits(QStringView(bare).right(2));
}

// Only the last digit of the remainder counts, so 10 gives 0.
QChar stateDigit(QStringView digits, std::span<const int> weights)
{
    return QLatin1Char(char('0' + weightedSum(digits, weights) % 11 % 10));
}

} // namespace

namespace TaxIdCheck {

TTaxIdVerdict CheckCpfCnpj(const QString &text)
{
    const QString bare = strip(text);
    if (bare.size() == 11 && allDigits(bare)) {
        const QString expected = trailingCheckDigits(bare, kCpfWeights);
        return judged(TTaxIdVerdict::Cpf, bare, expected, bare.right(2), QStringLiteral("CPF"), expected);
    }
    if (isCnpjShape(bare)) {
        const QString expected = trailingCheckDigits(bare, kCnpjWeights);
        return judged(TTaxIdVerdict::Cnpj, bare, expected, bare.right(2), QStringLiteral("CNPJ"), expected);
    }
    return {};
}

TTaxIdVerdict CheckStateRegistration(const QString &text)
{
    const QString bare = strip(text);
    if (bare.size() != 12 || !allDigits(bare))
        return {};
    QString right = bare;
    right[8] = stateDigit(QStringView(bare).left(8), kStateFirstWeights);
    right[11] = stateDigit(QStringView(right).left(11), kStateSecondWeights);
    const QString expected = QString(right[8]) + right[11];
    const QString typed = QString(bare[8]) + bare[11];
    return judged(TTaxIdVerdict::StateRegistration, bare, expected, typed, QStringLiteral("Inscrição estadual"),
                  QString(right[8]) + QStringLiteral(" no 9º dígito e ") + right[11] + QStringLiteral(" no 12º"));
}

QString PunctuateCpfCnpj(const QString &text)
{
    const QString bare = text.trimmed().toUpper();
    const TTaxIdVerdict v = CheckCpfCnpj(bare);
    if (!v.valid || v.bare != bare)
        return text;
    if (v.kind == TTaxIdVerdict::Cpf)
        return bare.left(3) + u'.' + bare.mid(3, 3) + u'.' + bare.mid(6, 3) + u'-' + bare.right(2);
    if (v.kind == TTaxIdVerdict::Cnpj)
        return bare.left(2) + u'.' + bare.mid(2, 3) + u'.' + bare.mid(5, 3) + u'/' + bare.mid(8, 4) + u'-'
             + bare.right(2);
    return text;
}

} // namespace TaxIdCheck
