#include "CLanguageDlg.h"
#include "DialogTestSupport.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "WorkingDirectory.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {
void writeFlag(const TempDir& dir, const QString& language, QColor color)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(color);
    QImageWriter writer(dir.FilePath(QStringLiteral("Languages/") + language + QStringLiteral("/Flag.ico")), "ico");
    ASSERT_TRUE(writer.write(image)) << qPrintable(writer.errorString());
}

QColor iconColor(const QTreeWidgetItem* item)
{
    return item->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8);
}

void clickItem(QTreeWidget* list, QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
}

class LanguageDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Created out of name order, so the list's sorting (letter case aside) orders them.
        for (const char* name : {"Zulu", "alpha", "mIxEd", "Bravo"})
            QDir(dir.Path()).mkpath(QStringLiteral("Languages/") + QLatin1String(name));
        writeFlag(dir, QStringLiteral("Zulu"), Qt::red);
        writeFlag(dir, QStringLiteral("alpha"), Qt::green);
        writeFlag(dir, QStringLiteral("Bravo"), Qt::blue);
        dir.WriteFile(QStringLiteral("Languages/aaa-plain-file.xml"), "<x/>");
        dir.WriteFile(QStringLiteral("Languages/mIxEd/Flag.ico"), "not an icon");
    }

    TempDir dir;
    WorkingDirectory cwd{dir.Path()};
    LanguageStrings strings = MakeStrings(4);
};
} // namespace

TEST_F(LanguageDlgTest, ListsOnlyFoldersSortedByNameEachWithItsOwnFlag)
{
    CLanguageDlg dlg(nullptr, strings, QStringLiteral("English"));
    dlg.show();
    QTreeWidget* list = dlg.List();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    QStringList names;
    for (int i = 0; i < 4; ++i)
        names << list->topLevelItem(i)->text(0);
    EXPECT_EQ(names, (QStringList{"alpha", "Bravo", "mIxEd", "Zulu"}));
    EXPECT_EQ(iconColor(list->topLevelItem(0)), QColor(Qt::green));
    EXPECT_EQ(iconColor(list->topLevelItem(1)), QColor(Qt::blue));
    EXPECT_EQ(iconColor(list->topLevelItem(3)), QColor(Qt::red));
    // An unreadable flag still gives the item a picture.
    EXPECT_FALSE(list->topLevelItem(2)->icon(0).isNull());
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(LanguageDlgTest, OkIsEnabledExactlyWhileSomethingIsSelected)
{
    CLanguageDlg dlg(nullptr, strings, QStringLiteral("English"));
    dlg.show();
    QWidget* ok = dlg.GetDlgItem(IDOK);
    QTreeWidget* list = dlg.List();
    EXPECT_FALSE(ok->isEnabled());
    clickItem(list, list->topLevelItem(1));
    EXPECT_TRUE(ok->isEnabled());
    clickItem(list, list->topLevelItem(1), Qt::ControlModifier); // deselects it
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_FALSE(ok->isEnabled());
    // Enter with nothing selected does not close the dialog.
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(LanguageDlgTest, OkReturnsTheItemAtTheSelectionMarkSpelledAsOnDisk)
{
    CLanguageDlg dlg(nullptr, strings, QStringLiteral("English"));
    dlg.show();
    QTreeWidget* list = dlg.List();
    clickItem(list, list->topLevelItem(3));
    clickItem(list, list->topLevelItem(2), Qt::ControlModifier);
    ASSERT_EQ(list->selectedItems().size(), 2);
    static_cast<QPushButton*>(dlg.GetDlgItem(IDOK))->click();
    EXPECT_EQ(dlg.result(), IDOK);
    EXPECT_EQ(dlg.Language(), "mIxEd");
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(LanguageDlgTest, CancelKeepsTheCallersLanguage)
{
    CLanguageDlg dlg(nullptr, strings, QStringLiteral("Klingon"));
    dlg.show();
    clickItem(dlg.List(), dlg.List()->topLevelItem(0));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(dlg.result(), IDCANCEL);
    EXPECT_EQ(dlg.Language(), "Klingon");
}

TEST_F(LanguageDlgTest, TooFewTextsReportTheErrorAndLeaveTheListEmpty)
{
    MessageBoxRecorder boxes;
    strings[LanguagesDialog].removeLast();
    CLanguageDlg dlg(nullptr, strings, QStringLiteral("English"));
    dlg.show();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "An invalid argument was encountered.");
    EXPECT_EQ(dlg.windowTitle(), "3:0");
    EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "Cancel");
    EXPECT_EQ(dlg.List()->topLevelItemCount(), 0);
    EXPECT_FALSE(dlg.GetDlgItem(IDOK)->isEnabled());
}

TEST_F(LanguageDlgTest, ShowsEachLanguageInItsOwnWordsWithTheCurrentOneSelected)
{
    dir.WriteFile(QStringLiteral("Languages/Zulu/Main.xml"), "<L><Locale><i>isiZulu</i><i>zu</i></Locale></L>");
    dir.WriteFile(QStringLiteral("Languages/Bravo/Main.xml"), "<L><Status><i>Ready</i></Status></L>");
    CLanguageDlg dlg(nullptr, strings, QStringLiteral("Zulu"));
    dlg.show();
    QTreeWidget* list = dlg.List();
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0);
    EXPECT_EQ(names, (QStringList{"alpha", "Bravo", "isiZulu", "mIxEd"}));
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems()[0]->text(0), "isiZulu");
    QTest::keyClick(list, Qt::Key_Up); // the keyboard moves on from the current language
    static_cast<QPushButton*>(dlg.GetDlgItem(IDOK))->click();
    EXPECT_EQ(dlg.Language(), "Bravo");
}
