#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"

int main(int argc, char *argv[])
{
    TZavenorApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zavenor - Morvath Informática Ltda."));
    // The first window created is the main window: closing it ends the program.
    TfrmZavenor frmZavenor;

    // The hidden data-only documents (DARF and GARE) are created here, owned by the
    // application, once the slip documents exist.

    frmZavenor.show();
    return app.exec();
}
