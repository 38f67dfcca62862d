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

TEST(DonateDlg, OnlyTheWordBeforeTheFixedAmountsIsTranslated)
{
    LanguageStrings strings = MakeStrings(4);
    strings[DonateDialog][3] = QStringLiteral("Spende");
    CDonateDlg dlg(nullptr, strings);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "5:0");
    EXPECT_EQ(dlg.GetDlgItemText(IDOK), "5:1");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_TEXT), "5:2");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_10), "Spende $10");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_20), "Spende $20");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE_30), "Spende $30");
}

TEST(DonateDlg, EachAmountOpensItsOwnPageAndTheDialogStaysOpen)
{
    UrlRecorder opener;
    const LanguageStrings strings = MakeStrings(4);
    CDonateDlg dlg(nullptr, strings);
    dlg.show();
    clickAmounts(dlg);
    EXPECT_EQ(opener.urls, expectedPages());
    EXPECT_EQ(expectedPages().size(), 3);
    EXPECT_NE(expectedPages()[0], expectedPages()[1]);
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

TEST(DonateDlg, OkAndEscapeCloseWithTheirResults)
{
    const LanguageStrings strings = MakeStrings(4);
    CDonateDlg ok(nullptr, strings);
    ok.show();
    static_cast<QPushButton*>(ok.GetDlgItem(IDOK))->click();
    EXPECT_EQ(ok.result(), IDOK);
    CDonateDlg cancel(nullptr, strings);
    cancel.show();
    cancel.close();
    EXPECT_EQ(cancel.result(), IDCANCEL);
}
