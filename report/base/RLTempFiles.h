#pragma once
// The engine's temporary files: created exclusively in the system's temporary folder, readable by
// their owner only, and deleted when their user lets them go or, at the latest, at program end.

#include <QString>
#include <QStringList>

#include <memory>

class QFile;

// The system's temporary folder (TMPDIR, else /tmp or /var/tmp), without a trailing separator.
// Throws TRLException when none of them is a folder that can be written.
QString RLTempFolder();
// The first of the candidates that is a writable folder, absolute; empty when none is.
QString RLUsableFolder(const QStringList &candidates);

// Whether a write in folder failed for want of room: the error number said so, or less than a few
// pages' worth is left (a short write sets no number). Qt's words for it depend on its language.
bool RLNoSpaceIn(const QString &folder, int errorNumber = 0);
// The temporary folder's "no space" message, naming it.
QString RLTempFolderFullMessage();

// A name in the temporary folder: prefix, a random non-negative 31-bit number, ".tmp"; drawn
// again while a file of that name exists.
QString NewRLTempFileName(const QString &prefix = QStringLiteral("~rl"));

// Creates a new empty file open for reading and writing with owner-only permissions and enters it
// in the engine-wide list. It is unbuffered: a write that fails leaves nothing pending that a later
// one would put in the wrong place. Never opens an existing file or follows a planted link: a name that
// is taken is drawn again. Throws TRLException when no file can be created.
std::unique_ptr<QFile> CreateRLTempFile(const QString &prefix = QStringLiteral("~rl"));

// Deletes the file and takes it out of the list.
void DeleteRLTempFile(const QString &fileName);

// The files still listed; all of them are deleted when the program ends.
QStringList RLTempFiles();
void DeleteAllRLTempFiles();
