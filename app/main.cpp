#include "app/BackgroundPrints.h"
#include "app/FontWarmUp.h"
#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"
#include "batch/BatchRunner.h"
#include "report/output/RLUserChoices.h"
#include "storage/RegisterThread.h"
#include "storage/RegisterChoice.h"
#include "slips/pDadosDARF.h"
#include "slips/pDadosGARE.h"

int main(int argc, char *argv[])
{
    // A batch run never builds the window.
    if (Batch::Wanted(argc, argv))
        return Batch::Main(argc, argv);
    TFontWarmUp fonts;
    TZavenorApplication app(argc, argv);
    fonts.Wait();
    app.setApplicationName(QStringLiteral("Zavenor - Morvath Informática Ltda."));
    RLUserChoices::SetRemembered(true);
    // The register's file is opened on its own thread at the first search or record; it outlives
    // the window that uses it.
    TRegisterThread office([] { return RegisterChoice::Open(); });
    // The first window created is the main window: closing it ends the program.
    TfrmZavenor frmZavenor;
    InstallProgramEnd(&frmZavenor);
    frmZavenor.SetRegister(&office);

    // Hidden, never shown, released at exit; the Print command makes windows of its own.
    TfrmDadosGARE dadosGare;
    frmDadosGARE = &dadosGare;
    TfrmDadosDARF dadosDarf;
    frmDadosDARF = &dadosDarf;

    frmZavenor.show();
    return FinishProgram(app.exec());
}
