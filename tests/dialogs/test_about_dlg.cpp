#include "CAboutDlg.h"
#include "CDonateDlg.h"
#include "DialogTestSupport.h"
#include "MessageBoxRecorder.h"
#include "NextModalDialog.h"
#include "SupportAddresses.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(AboutDlg, LinkFollowsTheLabelTextAndOneSpaceExactlyAsWideAsTheAddress)
{
    LanguageStrings shortPack = MakeStrings(5);
    LanguageStrings longPack = MakeStrings(5);
    shortPack[AboutDialog][4] = QStringLiteral("Mail:");
    longPack[AboutDialog][4] = QStringLiteral("Write to us at any time:");
    CAboutDlg shortDlg(nullptr, shortPack);
    CAboutDlg longDlg(nullptr, longPack);
    shortDlg.show();
    longDlg.show();
    for (CAboutDlg* dlg : {&shortDlg, &longDlg}) {
        QWidget* label = dlg->GetDlgItem(IDC_ABOUT_LINE2);
        QWidget* link = dlg->GetDlgItem(IDC_MAIL_LINK);
        const QString text = dlg->GetDlgItemText(IDC_ABOUT_LINE2) + QLatin1Char(' ');
        EXPECT_EQ(label->width(), QFontMetrics(label->font()).horizontalAdvance(text));
        EXPECT_EQ(link->geometry(), QRect(label->x() + label->width(), label->y(),
                                          QFontMetrics(link->font()).horizontalAdvance(SupportEmailAddress()),
                                          label->height()));
        EXPECT_EQ(dlg->LinkRect(), link->geometry());
    }
    EXPECT_GT(longDlg.LinkRect().left(), shortDlg.LinkRect().left());

    // Only the link is blue and underlined; the icons show at their real size.
    EXPECT_EQ(shortDlg.GetDlgItemText(IDC_MAIL_LINK), SupportEmailAddress());
    const QWidget* link = shortDlg.GetDlgItem(IDC_MAIL_LINK);
    const QWidget* label = shortDlg.GetDlgItem(IDC_ABOUT_LINE2);
    EXPECT_TRUE(link->font().underline());
    EXPECT_FALSE(label->font().underline());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QList<QSize> icons;
    for (const QLabel* icon : shortDlg.findChildren<QLabel*>()) {
        if (!icon->pixmap().isNull())
            icons << icon->pixmap().size() << icon->size();
    }
    EXPECT_EQ(icons, (QList<QSize>{{64, 64}, {64, 64}, {128, 64}, {128, 64}}));
}

TEST(AboutDlg, MailOpensOnReleaseOnlyWhenTheLastMoveWasOverTheLink)
{
    const LanguageStrings strings = MakeStrings(5);
    UrlRecorder opener;
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    const QPoint link = dlg.LinkRect().center();
    const QPoint elsewhere(5, 5);

    QTest::mousePress(&dlg, Qt::LeftButton, {}, link);
    QTest::mouseMove(&dlg, elsewhere);
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, elsewhere);
    EXPECT_TRUE(opener.urls.isEmpty());

    QTest::mousePress(&dlg, Qt::LeftButton, {}, elsewhere);
    QTest::mouseMove(&dlg, link);
    EXPECT_TRUE(opener.urls.isEmpty()) << "nothing opens before the release";
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, link);
    EXPECT_EQ(opener.urls, QList<QUrl>{QUrl(QStringLiteral("mailto:") + SupportEmailAddress())});
    EXPECT_TRUE(dlg.isVisible());
}

TEST(AboutDlg, AllFourEdgesOfTheLinkCountAsInside)
{
    const LanguageStrings strings = MakeStrings(5);
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    const QRect r = dlg.LinkRect();
    const int right = r.left() + r.width(); // one past the last pixel, still inside
    const int bottom = r.top() + r.height();
    const std::pair<QPoint, bool> cases[] = {
        {r.topLeft(), true},          {{right, bottom}, true},
        {{r.left() - 1, r.top()}, false}, {{right + 1, bottom}, false},
        {{right, bottom + 1}, false}, {{r.left(), r.top() - 1}, false},
    };
    for (const auto& [at, over] : cases) {
        QTest::mouseMove(&dlg, at);
        EXPECT_EQ(dlg.OverLink(), over) << at.x() << "," << at.y();
        EXPECT_EQ(dlg.cursor().shape(), over ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

TEST(AboutDlg, TooFewTextsReportTheErrorAndSetUpNoLink)
{
    MessageBoxRecorder boxes;
    UrlRecorder opener;
    const LanguageStrings strings = MakeStrings(4);
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "An invalid argument was encountered.");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ABOUT_LINE1), "4:3");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ABOUT_LINE2), "222");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_MAIL_LINK), "Static");
    const QPoint templateLink = dlg.GetDlgItem(IDC_MAIL_LINK)->geometry().center();
    QTest::mouseMove(&dlg, templateLink);
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, templateLink);
    EXPECT_FALSE(dlg.OverLink());
    EXPECT_TRUE(opener.urls.isEmpty());
}

TEST(AboutDlg, DonateStacksOverTheAboutBoxAndReturnsToIt)
{
    const LanguageStrings strings = MakeStrings(5);
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    bool donateOnTop = false;
    QWidget* seenParent = nullptr;
    {
        const NextModalDialog donate([&](QWidget* modal) {
            donateOnTop = qobject_cast<CDonateDlg*>(modal) != nullptr;
            seenParent = modal->parentWidget();
            modal->close();
        });
        static_cast<QPushButton*>(dlg.GetDlgItem(IDC_DONATE))->click(); // runs until closed
    }
    EXPECT_TRUE(donateOnTop);
    EXPECT_EQ(seenParent, &dlg);
    EXPECT_TRUE(dlg.isVisible());
}
