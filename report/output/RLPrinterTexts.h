#pragma once
// The printer unit's own messages, in the language of the engine's messages. Apart from the
// engine's numbered table so that the printer unit can grow without renumbering it.

#include <QString>

enum TRLPrinterText {
    ptPaperRefused,      // %1 printer, %2 x %3 mm
    ptDocumentFailed,    // %1 reason
    ptStopped,           // %1 printer
    ptNotAccepting,      // %1 printer
    ptJobFailed,         // %1 printer, %2 document, %3 reason
    ptSubmitFailed,      // %1 printer, %2 reason
    ptServiceSilent,     // the server does not answer
    ptServiceDown,       // no server to talk to
    ptSending,           // %1 printer
    ptJobHeld,           // the job is held in the queue
    ptJobCanceled,       // cancelled by someone else
    ptJobAborted,        // the system gave up on it
    ptJobStopped,        // the job stopped
    ptNoPageInRange,     // the page range holds no page
    ptTempFolderFull,    // %1 folder
    ptTempFolderMissing, // %1 folder
    ptWaitCaption,       // caption of the window that waits for a job
    ptCancel,            // its button
    ptStoppedBecause,    // %1 printer, %2 the administrator's reason
    ptNotAcceptingBecause, // %1 printer, %2 reason
};

QString RLPrinterText(TRLPrinterText text);
