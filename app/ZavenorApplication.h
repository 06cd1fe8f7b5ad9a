#pragma once
// The application object: Brazilian Portuguese texts for Qt's own widgets, a C library that never
// formats numbers by locale, and the one place where errors escaping our event handlers end up.

#include <QApplication>
#include <exception>

class TZavenorApplication : public QApplication
{
    Q_OBJECT
public:
    TZavenorApplication(int &argc, char **argv);

    // Last net for an exception that escaped a handler without a guard.
    bool notify(QObject *receiver, QEvent *event) override;

public slots:
    // A silent abort is swallowed; any other error is shown in the standard error box.
    void handleException(std::exception_ptr error);
    // News from the engine (a print's end learnt late), in the standard information box.
    void handleNotice(const QString &text);
};
