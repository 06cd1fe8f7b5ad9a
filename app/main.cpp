#include "app/ZavenorApplication.h"
#include "app/pZavenorCLX.h"

int main(int argc, char *argv[])
{
    TZavenorApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zavenor - Morvath Informática Ltda."));
    TfrmZavenor frmZavenor;
    frmZavenor.show();
    return app.exec();
}
