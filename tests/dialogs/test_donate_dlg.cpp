#include "CDonateDlg.h"
#include "DialogTestSupport.h"
#include "MessageBoxRecorder.h"
#include "SupportAddresses.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {
void clickAmounts(CDonateDlg& dlg)
{
    for (int id : {IDC_DONATE_10, IDC_DONATE_20, IDC_DONATE_30})
        static_cast<QPushButton*>(dlg.GetDlgItem(id))->click();
}

QList<QUrl> expectedPages()
{
    QList<QUrl> pages;
    for (const QString& address : DonatePageAddresses())
        pages.append(QUrl(address));
    return pages;
}
} // namespace

TEST(DonateDlg, AmountsAreFixedAndEachOpensItsPageWhileTheDialogStaysOpen)
{
    UrlRecorder opener;
    LanguageStrings strings = MakeStrings(4);
    strings[DonateDialog][3] = QStringLiteral("Spende");
    CDonateDlg dlg(nullptr, strings);
    dlg.show();
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_10), "Spende $10");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_20), "Spende $20");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_30), "Spende $30");
    clickAmounts(dlg);
    EXPECT_EQ(opener.urls, expectedPages());
    EXPECT_TRUE(dlg.isVisible());
}

TEST(DonateDlg, TooFewTextsKeepTheTemplateLabelsButThePagesStillOpen)
{
    MessageBoxRecorder boxes;
    UrlRecorder opener;
    const LanguageStrings strings = MakeStrings(3);
    CDonateDlg dlg(nullptr, strings);
    dlg.show();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "An invalid argument was encountered.");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_TEXT), "5:2");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_10), "1");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_30), "3");
    clickAmounts(dlg);
    EXPECT_EQ(opener.urls, expectedPages());
}
