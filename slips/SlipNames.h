#pragma once
// How one slip is named outside the program: the file a PDF of it is offered under and the
// title of its print job, both telling the clerk's slips apart (kind, payer, due date).

#include <QString>

struct TSlipIdentity
{
    QString Kind;   // "DARF" or "GARE"
    QString Code;   // revenue code
    QString Payer;  // name of the payer
    QString DueDate; // as the date field shows it; blank slots are no date
};

// "DARF 2089 JOSE DA SILVA 31-01-2025": the parts that are filled in, the date's separators as
// hyphens (a slash cannot stand in a file name); no extension.
QString SlipFileName(const TSlipIdentity &slip);

// "DARF - JOSE DA SILVA - 31/01/2025": the parts that are filled in.
QString SlipJobTitle(const TSlipIdentity &slip);
