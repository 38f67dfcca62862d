// Every shipped language: a complete pack, a flag the language list can show, and texts
// that fit the dialogs they appear in.

#include "AccessTexts.h"
#include "BuiltinTexts.h"
#include "GuidanceTexts.h"
#include "CAboutDlg.h"
#include "CDonateDlg.h"
#include "CLanguageDlg.h"
#include "DialogTestSupport.h"
#include "LanguagePack.h"
#include "MessageBoxRecorder.h"
#include "PlaylistTexts.h"
#include "ReaderTexts.h"
#include "WorkingDirectory.h"
#include "XmlFile.h"

#include <QAbstractButton>
#include <QDir>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QRegularExpression>
#include <QTreeWidget>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <set>

namespace {
// The %n markers a text fills in, each once.
std::set<QString> Placeholders(const QString& text)
{
    static const QRegularExpression kMarker(QStringLiteral("%[0-9]"));
    std::set<QString> found;
    for (const QRegularExpressionMatch& match : kMarker.globalMatch(text))
        found.insert(match.captured());
    return found;
}
const QString kResources = QStringLiteral(KORVANTA_SOURCE_DIR "/resources");

QStringList shippedLanguages()
{
    return QDir(kResources + QStringLiteral("/Languages")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// Entries of the pack's own element for group, without the built-in completion.
int OwnEntryCount(const QString& language, const char* element)
{
    TiXmlDocument document;
    if (ReadXmlFile(kResources + "/Languages/" + language + "/Main.xml", document) != XmlReadResult::Parsed)
        return -1;
    int count = 0;
    for (auto* group = document.RootElement()->FirstChildElement(element); group; group = group->NextSiblingElement(element)) {
        for (auto* entry = group->FirstChildElement(); entry; entry = entry->NextSiblingElement())
            ++count;
    }
    return count;
}

// Single-line labels and buttons must show their whole text; wrapped labels all lines.
void expectTextsFit(const QWidget& dlg, const QString& language)
{
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        if (label->wordWrap()) {
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000),
                                                      Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.height(), label->height()) << qPrintable(language + ": " + label->text());
        } else {
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
                << qPrintable(language + ": " + label->text());
        }
    }
    for (const QAbstractButton* button : dlg.findChildren<QAbstractButton*>()) {
        const int margin = 6; // room for the button's frame on each side
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()) + 2 * margin,
                  button->width())
            << qPrintable(language + ": " + button->text());
    }
}
} // namespace

TEST(LanguagePacks, EveryShippedLanguageIsCompleteAndHasAFlag)
{
    const QStringList languages = shippedLanguages();
    const std::set<QString> names(languages.begin(), languages.end());
    for (const char* expected : {"English", "German", "French", "Spanish", "Italian", "Dutch", "Russian"})
        EXPECT_TRUE(names.count(QLatin1String(expected))) << expected;

    const int needed[kCoreGroupCount] = {16, 10, 9, 4, 5, 4, 12, 12, 6};
    WorkingDirectory cwd(kResources);
    for (const QString& language : languages) {
        MessageBoxRecorder boxes;
        QString name = language;
        LanguageStrings strings;
        ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings)) << qPrintable(language);
        EXPECT_EQ(name, language);
        EXPECT_TRUE(boxes.Boxes().empty()) << qPrintable(language);
        for (int group = 0; group < kCoreGroupCount; ++group) {
            EXPECT_GE(strings.lists[group].size(), needed[group]) << qPrintable(language) << " group " << group;
            for (const QString& text : strings.lists[group])
                EXPECT_FALSE(text.isEmpty()) << qPrintable(language) << " group " << group;
        }
        // The later groups are translated in full, not left to the English completion.
        const std::pair<LanguageGroup, const char*> later[] = {{Playlists, "Playlists"}, {StatusReasons, "StatusReasons"},
                                                               {Timeshift, "Timeshift"}, {Access, "Access"}, {Locale, "Locale"},
                                                               {Guidance, "Guidance"}, {Guide, "Guide"},
                                                               {Catchup, "Catchup"}, {Readers, "Readers"},
                                                               {Schedule, "Schedule"}, {Accounts, "Accounts"}, {Recordings, "Recordings"},
                                                               {GuideOrder, "GuideOrder"}, {Privacy, "Privacy"}};
        for (const auto& [group, element] : later) {
            EXPECT_EQ(OwnEntryCount(language, element), BuiltinTexts(group).size()) << qPrintable(language) << element;
            // A translation fills in what the English text does: a marker of its own stays on screen.
            const QStringList& english = BuiltinTexts(group);
            for (qsizetype k = 0; k < english.size(); ++k)
                EXPECT_EQ(Placeholders(strings[group].value(k)), Placeholders(english[k]))
                    << qPrintable(language) << element << k;
        }
        // A count has a form for each of the language's plural forms, each naming what it counts.
        const int formCount = strings[Locale][LocaleCode] == QLatin1String("ru") ? 3 : 2;
        for (const QString& counted : {strings[Playlists][PlaylistLinesSkipped], strings[Readers][ReadersLinesRefused],
                                       strings[Readers][ReadersLinesSkipped]}) {
            const QStringList forms = counted.split(QLatin1Char('|'));
            EXPECT_EQ(forms.size(), formCount) << qPrintable(language);
            for (const QString& form : forms)
                EXPECT_TRUE(form.contains(QLatin1String("%1")) && form.contains(QLatin1String("%2"))) << qPrintable(form);
        }
        const QStringList kept = strings[Guidance][GuidanceFavoritesKept].split(QLatin1Char('|'));
        EXPECT_EQ(kept.size(), formCount) << qPrintable(language);
        for (const QString& form : kept)
            EXPECT_TRUE(form.contains(QLatin1String("%1"))) << qPrintable(form);

        QImageReader flag(QStringLiteral("Languages/") + language + QStringLiteral("/Flag.ico"));
        std::set<int> sizes;
        for (int i = 0; i < flag.imageCount(); ++i) {
            flag.jumpToImage(i);
            const QImage image = flag.read();
            EXPECT_FALSE(image.isNull()) << qPrintable(language);
            sizes.insert(image.width() * 1000 + image.height());
        }
        EXPECT_EQ(sizes, (std::set<int>{16016, 32032})) << qPrintable(language);
    }
}

TEST(LanguagePacks, EveryShippedLanguageFillsTheDialogsWithoutErrorOrClipping)
{
    WorkingDirectory cwd(kResources);
    for (const QString& language : shippedLanguages()) {
        MessageBoxRecorder boxes;
        QString name = language;
        LanguageStrings strings;
        ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
        CLanguageDlg languageDlg(nullptr, strings, language);
        CAboutDlg aboutDlg(nullptr, strings);
        CDonateDlg donateDlg(nullptr, strings);
        for (QWidget* dlg : {static_cast<QWidget*>(&languageDlg), static_cast<QWidget*>(&aboutDlg),
                             static_cast<QWidget*>(&donateDlg)}) {
            dlg->show();
            expectTextsFit(*dlg, language);
        }
        EXPECT_TRUE(boxes.Boxes().empty()) << qPrintable(language);
        EXPECT_EQ(languageDlg.List()->topLevelItemCount(), shippedLanguages().size());
    }
}
