#include "NextModalDialog.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

namespace {
constexpr int kPollMs = 10;
}

NextModalDialog::NextModalDialog(std::function<void(QWidget*)> check, int timeoutMs)
    : check(std::move(check)), pollsLeft(timeoutMs / kPollMs)
{
    QObject::connect(&timer, &QTimer::timeout, [this] { Poll(); });
    timer.start(kPollMs);
}

NextModalDialog::~NextModalDialog()
{
    EXPECT_TRUE(seen) << "no modal dialog opened";
}

void NextModalDialog::Poll()
{
    QPointer<QWidget> dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
        if (--pollsLeft <= 0)
            timer.stop();
        return;
    }
    timer.stop();
    seen = true;
    check(dialog);
    if (dialog == nullptr || !dialog->isVisible())
        return;
    if (auto* box = qobject_cast<QDialog*>(dialog.data()))
        box->reject();
    else
        dialog->close();
}
