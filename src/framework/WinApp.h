#pragma once
// The application base: a QApplication whose event dispatch is the boundary where the
// invalid-argument error is caught, reported and the handler in progress abandoned.

#include <QApplication>

class CWinApp : public QApplication
{
    Q_OBJECT
public:
    CWinApp(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows "An invalid argument was encountered." as the framework does.
    static void ReportInvalidArgument();
};
