#include "CAboutDlg.h"
#include "CDonateDlg.h"
#include "DialogTestSupport.h"
#include "MessageBoxRecorder.h"
#include "SupportAddresses.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
QUrl mailUrl()
{
    return QUrl(QStringLiteral("mailto:") + SupportEmailAddress());
}

// Right and bottom in the platform's sense: one past the last pixel, still inside.
QPoint farCorner(const QRect& r)
{
    return QPoint(r.left() + r.width(), r.top() + r.height());
}
} // namespace

TEST(AboutDlg, TextsComeFromThePackAndTheLinkShowsTheAddress)
{
    const LanguageStrings strings = MakeStrings(5);
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "4:0");
    EXPECT_EQ(dlg.GetDlgItemText(IDOK), "4:1");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DONATE), "4:2");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ABOUT_LINE1), "4:3");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ABOUT_LINE2), "4:4");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_MAIL_LINK), SupportEmailAddress());
    QList<QSize> icons;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            icons << label->pixmap().size() << label->size();
    }
    EXPECT_EQ(icons, (QList<QSize>{{64, 64}, {64, 64}, {128, 64}, {128, 64}})) << "shown at their real size";

    QWidget* link = dlg.GetDlgItem(IDC_MAIL_LINK);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QWidget* label = dlg.GetDlgItem(IDC_ABOUT_LINE2);
    EXPECT_FALSE(label->font().underline());
    EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

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
        EXPECT_EQ(link->x(), label->x() + label->width());
        EXPECT_EQ(link->y(), label->y());
        EXPECT_EQ(link->height(), label->height());
        EXPECT_EQ(link->width(), QFontMetrics(link->font()).horizontalAdvance(SupportEmailAddress()));
        EXPECT_EQ(dlg->LinkRect(), link->geometry());
    }
    EXPECT_GT(longDlg.LinkRect().left(), shortDlg.LinkRect().left());
    EXPECT_EQ(longDlg.LinkRect().width(), shortDlg.LinkRect().width());
}

TEST(AboutDlg, MailOpensOnReleaseOverTheLinkAfterAPressElsewhere)
{
    const LanguageStrings strings = MakeStrings(5);
    UrlRecorder opener;
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    const QRect link = dlg.LinkRect();

    QTest::mousePress(&dlg, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(opener.urls.isEmpty());
    QTest::mouseMove(&dlg, link.center());
    EXPECT_TRUE(opener.urls.isEmpty()) << "nothing opens before the release";
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, link.center());
    EXPECT_EQ(opener.urls, QList<QUrl>{mailUrl()});
    EXPECT_TRUE(dlg.isVisible());
}

TEST(AboutDlg, ReleaseOpensOnlyWhenTheLastMoveWasOverTheLink)
{
    const LanguageStrings strings = MakeStrings(5);
    UrlRecorder opener;
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    QTest::mouseMove(&dlg, dlg.LinkRect().center());
    QTest::mousePress(&dlg, Qt::LeftButton, {}, dlg.LinkRect().center());
    QTest::mouseMove(&dlg, QPoint(5, 5));
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(opener.urls.isEmpty());
}

TEST(AboutDlg, AllFourEdgesOfTheLinkCountAsInside)
{
    const LanguageStrings strings = MakeStrings(5);
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    const QRect link = dlg.LinkRect();
    const QPoint far = farCorner(link);
    const struct
    {
        QPoint at;
        bool over;
    } cases[] = {
        {link.topLeft(), true},
        {far, true},
        {QPoint(link.left() - 1, link.top()), false},
        {QPoint(far.x() + 1, far.y()), false},
        {QPoint(far.x(), far.y() + 1), false},
        {QPoint(link.left(), link.top() - 1), false},
    };
    for (const auto& c : cases) {
        QTest::mouseMove(&dlg, c.at);
        EXPECT_EQ(dlg.OverLink(), c.over) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(dlg.cursor().shape(), c.over ? Qt::PointingHandCursor : Qt::ArrowCursor);
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
    EXPECT_FALSE(dlg.OverLink());
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, templateLink);
    EXPECT_TRUE(opener.urls.isEmpty());
}

TEST(AboutDlg, DonateStacksOverTheAboutBoxAndReturnsToIt)
{
    const LanguageStrings strings = MakeStrings(5);
    CAboutDlg dlg(nullptr, strings);
    dlg.show();
    bool donateOnTop = false;
    QWidget* seenParent = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        donateOnTop = qobject_cast<CDonateDlg*>(modal) != nullptr;
        seenParent = modal->parentWidget();
        modal->close();
    });
    static_cast<QPushButton*>(dlg.GetDlgItem(IDC_DONATE))->click(); // runs until closed
    EXPECT_TRUE(donateOnTop);
    EXPECT_EQ(seenParent, &dlg);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0) << "the About box itself was not closed";
}
