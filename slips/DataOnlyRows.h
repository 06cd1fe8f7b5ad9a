#pragma once
// The controls of a data-only slip as table rows, and the loop that loads them into a report as
// a form loader does: each control's properties in stored order, completion after the last.

#include "report/RLReport.h"

#include <span>

class QWidget;

enum class TDataOnlyKind { Label, Memo };
// ReportFont inherits the report's Arial 13; the others are fonts of the control's own.
enum class TDataOnlyFont { ReportFont, Arial11, TNR11 };

struct TDataOnlyRow {
    const char *name;
    TDataOnlyKind kind;
    int left, top, width, height;
    TDataOnlyFont font;
    TRLTextAlignment alignment = taLeftJustify;
    bool siteExpander = false;
};

namespace DataOnlyRows {

// Regular, variable pitch, the given family and pixel height.
QFont SlipFont(const char *family, int pixelHeight);
// The platform's text colour, in which every text of these slips prints.
QColor TextColour();

// Creates the rows' controls, owned by owner and placed on site, in table order. Every one is
// opaque on white, of fixed size, top-aligned and without borders; its caption is its name
// (a design caption, replaced before printing), a memo's the given memoCaption.
void Load(QObject *owner, TRLCustomSite *site, std::span<const TDataOnlyRow> rows,
          const QString &memoCaption = QString());

// The boxes of the pre-printed slip the rows fill, on the sheet: each row's rectangle moved by the
// corner of the site that holds it.
QList<TRLRect> FormBoxes(std::span<const TDataOnlyRow> rows, int siteLeft = 0, int siteTop = 0);

} // namespace DataOnlyRows
