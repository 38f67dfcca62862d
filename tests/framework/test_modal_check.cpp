// The test helper that checks a modal dialog: a failing check must fail the test and still
// end the dialog, never leave the blocking call waiting for a user.

#include "NextModalDialog.h"

#include <QDialog>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(NextModalDialog, AFailingCheckFailsTheTestAndClosesTheDialog)
{
    QDialog dialog;
    int result = -1;
    EXPECT_NONFATAL_FAILURE(
        {
            const NextModalDialog check([](QWidget*) { ADD_FAILURE() << "check failed"; });
            result = dialog.exec();
        },
        "check failed");
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(NextModalDialog, ADialogThatNeverOpensFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE({ const NextModalDialog check([](QWidget*) {}, 50); }, "no modal dialog opened");
}
