#include "app/pZavenorCLX.h"

TfrmZavenor::TfrmZavenor(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Zavenor"));
    setFixedSize(657, 475);
}
