#pragma once
// Asking the user where a PDF goes: the toolkit's own (widget-based) save dialog, a default name
// from the document, the folder used last, and a question before an existing file is replaced.

#include <QString>

class QWidget;

// The file the user chose, or empty when they cancelled. User-interface thread only.
QString RLAskPdfFileName(QWidget *parent, const QString &documentName);

// documentName with ".pdf", every character a file system refuses replaced.
QString RLPdfDefaultFileName(const QString &documentName);

// The folder the dialog opens in: the one used last (in this run, else in an earlier one), else
// the user's documents.
QString RLLastPdfFolder();
void RLSetLastPdfFolder(const QString &folder);

// Whether the user agrees to replace the existing file; the default answer is no.
bool RLConfirmReplace(QWidget *parent, const QString &fileName);
