#pragma once
// The application base: a QApplication whose event dispatch is the boundary where the
// invalid-argument error is caught, reported and the handler in progress abandoned.

#include "InvalidArgument.h"

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

// Runs a slot that Qt calls from a signal: the invalid-argument error must not unwind
// through the signal's emission, so it is reported here and the slot abandoned.
template <class Slot>
void CatchInvalidArgument(Slot&& slot)
{
    try {
        slot();
    } catch (const CInvalidArgException&) {
        CWinApp::ReportInvalidArgument();
    }
}
