#pragma once
// Whether a typed text prints inside every box its entry field fills: both copies of the full
// layout and the data-only slip, measured with each printed control's own font and row breaking.
// The window refuses a change that fails it, and the batch reports it, so that nothing typed is
// cut at a box's edge or runs over a neighbouring box.

#include "report/RLControl.h"
#include "slips/pLayOutDarf.h"
#include "slips/pLayOutGareFill.h"

#include <QFont>
#include <QList>
#include <QString>

// A printed control an entry field fills, as the slip's layout gives it before any text goes in.
struct TPrintedBox
{
    QString control;
    QFont font;
    int width = 0;
    int height = 0;
    TRLTextAlignment alignment = taLeftJustify;
    bool memo = false;
    bool wordWrap = false;
};

// The controls the entry field (named as in the window, such as "EdNome" or "MMObsG") fills on
// every slip; empty for a field that prints nowhere. Must run on the GUI thread.
const QList<TPrintedBox> &SlipFieldBoxes(const QString &field);

// True when text (a memo's lines joined by line breaks) fits every box of the field.
bool SlipFieldFits(const QString &field, const QString &text);

// The same, for the field whose text fills this member of the slip's texts.
bool SlipFieldFits(QString TDarfEntryTexts::*field, const QString &text);
bool SlipFieldFits(QString TGareEntryTexts::*field, const QString &text);

// True when text fits one box.
bool TextFitsBox(const TPrintedBox &box, const QString &text);
