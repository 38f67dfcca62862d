#pragma once
// Runs a check on the next modal dialog from inside its own event loop, for tests that
// open a dialog with a blocking call. Whatever the check does, a failed assertion among
// it, the dialog is closed afterwards if it is still open, so a failing check fails the
// test instead of leaving it hanging in the dialog; a dialog that never opens fails too.

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class NextModalDialog
{
public:
    explicit NextModalDialog(std::function<void(QWidget* dialog)> check, int timeoutMs = 10000);
    ~NextModalDialog();
    NextModalDialog(const NextModalDialog&) = delete;
    NextModalDialog& operator=(const NextModalDialog&) = delete;

private:
    void Poll();

    std::function<void(QWidget*)> check;
    QTimer timer;
    int pollsLeft;
    bool seen = false;
};
