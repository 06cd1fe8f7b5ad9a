#pragma once
// The engine's user-visible texts, in the language of the user's system (Portuguese, Spanish,
// French, or English for every other language).

#include <QLocale>
#include <QString>

enum TRLMessageLanguage { mlEnglish, mlPortuguese, mlSpanish, mlFrench };

// The table's messages by name; each value is the message's number.
enum TRLMessageId {
    rlmPrintingInProgress = 1,
    rlmSavingReport = 2,
    rlmPreparingReport = 3,
    rlmNoPrinter = 4,
    rlmLoadDefaultConfiguration = 5,
    rlmPrinterDriverError = 6,
    rlmPage = 7,
    rlmPrepareError = 8,
    rlmContinues = 9,
    rlmContinuation = 10,
    rlmEnd = 11,
    rlmFileNotFound = 12,
    rlmFileName = 13,
    rlmAllFiles = 14,
    rlmLoadReport = 15,
    rlmNotFound = 16,
    rlmWait = 17,
    rlmFinished = 18,
    rlmCancel = 19,
    rlmClose = 20,
    rlmSave = 21,
    rlmSend = 22,
    rlmPrint = 23,
    rlmAbout = 24,
    rlmPreview = 25,
    rlmOf = 26,
    rlmZoom = 27,
    rlmFirstPage = 28,
    rlmPriorPage = 29,
    rlmNextPage = 30,
    rlmLastPage = 31,
    rlmEntirePage = 32,
    rlmEntireWidth = 33,
    rlmMultiplePages = 34,
    rlmConfigurePrinter = 35,
    rlmSaveToFile = 36,
    rlmSendTo = 37,
    rlmPrinter = 38,
    rlmName = 39,
    rlmPrintToFile = 40,
    rlmPrintInBackground = 41,
    rlmSaveInBackground = 42,
    rlmPageRange = 43,
    rlmFrom = 44,
    rlmTo = 45,
    rlmAll = 46,
    rlmPages = 47,
    rlmSelection = 48,
    rlmCopies = 49,
    rlmNumberOfCopies = 50,
    rlmOk = 51,
    rlmDivideScreen = 52,
    rlmInvalidName = 53,
    rlmNameInUse = 54,
    rlmUseFilter = 55,
    rlmWebPage = 56,
    rlmRichTextFormat = 57,
    rlmPdfDocument = 58,
    rlmExcelSpreadsheet = 59,
    rlmAt = 60,
    rlmForm = 61,
    rlmDefault = 62,
    rlmCols = 63,
    rlmZoomIn = 64,
    rlmZoomOut = 65,
    rlmCopy = 66,
    rlmEdit = 67,
    rlmFind = 68,
    rlmText = 69,
    rlmFindNext = 70,
    rlmWholeWords = 71,
    rlmMatchCase = 72,
    rlmUp = 73,
    rlmDown = 74,
    rlmDirection = 75,
    rlmNoWritableTempFolder = 76,
    // The printer unit's own.
    rlmPaperRefused = 77,
    rlmDocumentFailed = 78,
    rlmStopped = 79,
    rlmNotAccepting = 80,
    rlmJobFailed = 81,
    rlmSubmitFailed = 82,
    rlmServiceSilent = 83,
    rlmServiceDown = 84,
    rlmSending = 85,
    rlmJobHeld = 86,
    rlmJobCanceled = 87,
    rlmJobAborted = 88,
    rlmJobStopped = 89,
    rlmNoPageInRange = 90,
    rlmTempFolderFull = 91,
    rlmTempFolderMissing = 92,
    rlmWaitCaption = 93,
    rlmStoppedBecause = 94,
    rlmNotAcceptingBecause = 95,
};

constexpr int RLMessageCount = 95;

// Message 1..RLMessageCount in the current language; an empty text for any other number.
QString RLMessage(int number);

// The language the messages take for a locale: its primary language decides.
TRLMessageLanguage RLMessageLanguageFor(const QLocale &locale);

// Switches every later RLMessage() to another language. The first use picks the system's.
void RLLoadMessages(TRLMessageLanguage language);
TRLMessageLanguage RLMessagesLanguage();
