// The preferences: every value checked as it is typed, a refused one named under its field;
// what is set reaches the part it steers without a restart and is there after one, in
// Preferences.xml, while Settings.xml keeps its bytes.

#include "MainWindowFixture.h"

#include "CPreferencesDlg.h"
#include "NextModalDialog.h"
#include "PreferencesTexts.h"
#include "PrivacyTexts.h"
#include "TinyHttpServer.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>

#include <mpv/client.h>

#include <algorithm>
#include <functional>
#include <tuple>

namespace {
constexpr int kWaitMs = 15000;
constexpr qint64 kMiB = 1024 * 1024;
constexpr int kLogoBytes = 600 * 1024;
const QString kAgent = QStringLiteral("KorvantaTest/1.0");

qint64 FolderBytes(const QString& path)
{
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(path).entryInfoList(QDir::Files))
        bytes += file.size();
    return bytes;
}
} // namespace

class PreferencesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        UseOwnCacheFolder(); // the logos and the buffer among them
    }

    // Opens the preferences as the View menu does, lets change fill them in, presses OK.
    void SetInDialog(const std::function<void(CPreferencesDlg&)>& change)
    {
        const NextModalDialog set([&](QWidget* modal) {
            auto* dialog = qobject_cast<CPreferencesDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            change(*dialog);
            qobject_cast<QAbstractButton*>(dialog->GetDlgItem(IDOK))->click();
        });
        app->Actions().Run(ID_PREFERENCES);
    }

    double EngineNumber(const char* name) const
    {
        double value = -1;
        mpv_get_property(app->Player().EngineHandle(), name, MPV_FORMAT_DOUBLE, &value);
        return value;
    }
    QString EngineText(const char* name) const
    {
        char* value = mpv_get_property_string(app->Player().EngineHandle(), name);
        const QString text = QString::fromUtf8(value != nullptr ? value : "");
        mpv_free(value);
        return text;
    }

    QString MakePattern()
    {
        const QString pattern = config.FilePath(QStringLiteral("pattern.ts"));
        QProcess::execute(QStringLiteral("ffmpeg"), {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10",
                                                      "-t", "60", pattern});
        return pattern;
    }
};

TEST_F(PreferencesTest, EveryValueIsCheckedAsTypedAndARefusedOneIsNamedUnderItsField)
{
    ASSERT_TRUE(Start());
    struct Refusal
    {
        int field;
        const char* typed;
        const char* said;
    };
    const Refusal refusals[] = {
        {PrefNumberDelay, "0.1", "Enter a number from 0.5 to 10."},
        {PrefNumberDelay, "soon", "Enter a number from 0.5 to 10."},
        {PrefTimeshiftMinutes, "0", "Enter a number from 1 to 1,440."},
        {PrefTimeshiftCap, "2000", "Enter a number from 0.0156 to 1,024."},
        {PrefRecordingFolder, "/proc/korvanta", "This folder cannot be written."},
        {PrefRecordingFolder, "", "This folder cannot be written."},
        {PrefGuideRefresh, "200", "Enter a number from 1 to 168."},
        {PrefLogoCache, "-5", "Enter a number from 1 to 100,000."},
        {PrefUserAgent, "Agent\r\nX-Injected: 1", "A user agent may not hold a line break."},
        {PrefTimeout, "1", "Enter a number from 5 to 600."},
    };
    {
        const NextModalDialog check([&](QWidget* modal) {
            auto* dialog = qobject_cast<CPreferencesDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Preferences"));
            EXPECT_EQ(dialog->Pages()->count(), 6);
            QWidget* ok = dialog->GetDlgItem(IDOK);
            EXPECT_TRUE(ok->isEnabled()) << "the defaults pass";
            for (const Refusal& refusal : refusals) {
                SCOPED_TRACE(refusal.typed);
                QLineEdit* field = dialog->Field(refusal.field);
                const QString before = field->text();
                field->setText(QString::fromUtf8(refusal.typed));
                EXPECT_EQ(dialog->Note(refusal.field), QString::fromUtf8(refusal.said));
                EXPECT_FALSE(ok->isEnabled());
                field->setText(before);
                EXPECT_TRUE(dialog->Note(refusal.field).isEmpty());
                EXPECT_TRUE(ok->isEnabled());
            }
        });
        app->Actions().Run(ID_PREFERENCES);
    }
    // A cap the buffer's disk has no room for.
    CPreferencesDlg small(&Window(), app->Language().Strings(), app->Prefs().Values(), 2LL * 1024 * kMiB);
    small.show();
    small.Field(PrefTimeshiftCap)->setText(QStringLiteral("3"));
    EXPECT_EQ(small.Note(PrefTimeshiftCap), QStringLiteral("The disk has only 2.0 GiB free."));
    EXPECT_FALSE(QFile::exists(ConfigFile(QStringLiteral("Preferences.xml")))) << "nothing set, nothing written";
}

TEST_F(PreferencesTest, WhatIsSetTakesEffectWithoutARestartAndIsThereAfterOne)
{
    const QString pattern = MakePattern();
    const QString logos = config.FilePath(QStringLiteral("cache/Korvanta/logos"));
    QDir().mkpath(logos);
    for (const char* name : {"a.png", "b.png", "c.png"})
        config.WriteFile(QStringLiteral("cache/Korvanta/logos/") + name, QByteArray(kLogoBytes, 'x'));
    ASSERT_TRUE(Start());
    // Automatic decoding plays without a graphics card: the engine falls back to software.
    StartChannel(pattern);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Player().PlayState() == PLAYSTATE_PLAYING; }, kWaitMs));
    EXPECT_NE(EngineText("hwdec"), QStringLiteral("no"));

    const QString recordings = config.FilePath(QStringLiteral("recordings"));
    SetInDialog([&](CPreferencesDlg& dialog) {
        dialog.findChild<QComboBox*>()->setCurrentIndex(0); // off
        dialog.Field(PrefNumberDelay)->setText(QStringLiteral("10"));
        dialog.Field(PrefTimeshiftMinutes)->setText(QStringLiteral("5"));
        dialog.Field(PrefTimeshiftCap)->setText(QStringLiteral("0.5"));
        dialog.Field(PrefRecordingFolder)->setText(recordings);
        dialog.Field(PrefGuideRefresh)->setText(QStringLiteral("3"));
        dialog.Field(PrefLogoCache)->setText(QStringLiteral("1"));
        dialog.Field(PrefUserAgent)->setText(kAgent);
        dialog.Field(PrefTimeout)->setText(QStringLiteral("5"));
    });
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(EngineText("hwdec"), QStringLiteral("no"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return FolderBytes(logos) <= 1000 * 1000; }, kWaitMs)) << "the cache kept its size";
    // The digits wait ten seconds now, not one and a half.
    QTest::keyClick(&Window(), Qt::Key_9);
    EXPECT_FALSE(QTest::qWaitFor([&] { return app->Player().Caption().Number() != QStringLiteral("9"); }, 3000));
    QTest::keyClick(&Window(), Qt::Key_Escape);

    StartChannel(pattern); // the buffer's new bounds, from the next channel
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Player().PlayState() == PLAYSTATE_PLAYING; }, kWaitMs));
    EXPECT_EQ(EngineNumber("cache-secs"), 300);
    const double budget = EngineNumber("demuxer-max-bytes");
    EXPECT_GT(budget, 0);
    EXPECT_LE(budget, 512 * kMiB);
    EXPECT_EQ(app->Player().Engine().Recorder().Place().Folder(), recordings);
    EXPECT_EQ(EngineText("user-agent"), kAgent);
    // A playlist's download names the viewer's agent, and gives up after the viewer's wait.
    TinyHttpServer server;
    server.responses["/list.m3u"] = HttpResponse("200 OK", "#EXTM3U\n#EXTINF:-1,One\nhttp://127.0.0.1:9/one\n");
    app->AddPlaylists({server.Url("/list.m3u"), server.Url("/silent.m3u")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.lastHeaders["/list.m3u"].contains("User-Agent: " + kAgent.toUtf8()); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return std::any_of(boxes.Boxes().begin(), boxes.Boxes().end(), [](const RecordedMessageBox& box) {
            return box.text.contains(QStringLiteral("The server did not answer within 5 seconds."));
        });
    }, kWaitMs));

    Close();
    const QByteArray written = config.ReadFile(QStringLiteral("Korvanta/Preferences.xml"));
    EXPECT_TRUE(written.contains("    <Timeshift on=\"yes\" minutes=\"5\" diskCapMiB=\"512\" />\r\n")) << written.toStdString();
    EXPECT_FALSE(config.ReadFile(QStringLiteral("Korvanta/Settings.xml")).contains("Timeshift"));
    app.reset();
    ASSERT_TRUE(Start());
    PreferenceValues expected;
    expected.hardwareDecoding = false;
    expected.numberDelayMs = 10000;
    expected.timeshiftMinutes = 5;
    expected.timeshiftDiskCapMiB = 512;
    expected.recordingFolder = recordings;
    expected.guideRefreshHours = 3;
    expected.logoCacheMB = 1;
    expected.userAgent = kAgent;
    expected.downloadTimeoutSeconds = 5;
    EXPECT_TRUE(app->Prefs().Values() == expected);
    EXPECT_EQ(EngineText("hwdec"), QStringLiteral("no"));
}

// The later fields: sound and subtitle languages, the last channel, the buffer on disk and
// the guides' clock; refused values named, effects seen at once, kept after a restart.
TEST_F(PreferencesTest, LanguagesTheLastChannelTheBufferAndTheGuidesClockTakeEffectAndAreKept)
{
    const QString pattern = MakePattern();
    ASSERT_TRUE(Start());
    SetInDialog([&](CPreferencesDlg& dialog) {
        const std::tuple<int, const char*, const char*> refusals[] = {
            {PrefAudioLanguages, "deu, english", "Not a language code: english (two or three letters, e.g. eng)."},
            {PrefSubtitleLanguages, "f1", "Not a language code: f1 (two or three letters, e.g. eng)."},
            {PrefTimeCorrection, "13", "Enter a number from -12 to 12."},
            {PrefGuideDaysBack, "8", "Enter a number from 0 to 7."},
        };
        for (const auto& [field, typed, said] : refusals) {
            dialog.Field(field, Privacy)->setText(QString::fromUtf8(typed));
            EXPECT_EQ(dialog.Note(field, Privacy), QString::fromUtf8(said));
        }
        EXPECT_FALSE(dialog.GetDlgItem(IDOK)->isEnabled());
        dialog.Field(PrefAudioLanguages, Privacy)->setText(QStringLiteral("ger, ENG"));
        dialog.Field(PrefSubtitleLanguages, Privacy)->setText(QStringLiteral("fr"));
        dialog.Field(PrefTimeCorrection, Privacy)->setText(QStringLiteral("-1.5"));
        dialog.Field(PrefGuideDaysBack, Privacy)->setText(QStringLiteral("2"));
        dialog.StartWithLastChannel()->setChecked(true);
        dialog.TimeshiftOn()->setChecked(false);
    });
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(app->Guides().Matcher().GlobalOffset(), -90 * 60);
    EXPECT_EQ(app->Guides().DaysBack(), 2);
    StartChannel(pattern);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Player().PlayState() == PLAYSTATE_PLAYING; }, kWaitMs));
    const QStringList audio = EngineText("alang").split(QLatin1Char(','));
    EXPECT_LT(audio.indexOf(QStringLiteral("deu")), audio.indexOf(QStringLiteral("eng"))) << audio.join(',').toStdString();
    EXPECT_GE(audio.indexOf(QStringLiteral("deu")), 0);
    EXPECT_TRUE(EngineText("slang").split(QLatin1Char(',')).contains(QStringLiteral("fra")));
    EXPECT_EQ(EngineText("cache-on-disk"), QStringLiteral("no"));

    Close();
    const QByteArray written = config.ReadFile(QStringLiteral("Korvanta/Preferences.xml"));
    EXPECT_TRUE(written.contains("audioLanguages=\"ger,eng\"")) << written.toStdString();
    EXPECT_TRUE(written.contains("correctionMinutes=\"-90\" daysBack=\"2\"")) << written.toStdString();
    app.reset();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Playback().Current().address == pattern; }, kWaitMs)) << "the last channel again";
    const PreferenceValues& kept = app->Prefs().Values();
    EXPECT_EQ(kept.audioLanguages, QStringList({"ger", "eng"}));
    EXPECT_EQ(kept.subtitleLanguages, QStringList({"fr"}));
    EXPECT_TRUE(kept.startWithLastChannel);
    EXPECT_FALSE(kept.timeshiftOn);
    EXPECT_EQ(kept.guideCorrectionMinutes, -90);
    EXPECT_EQ(kept.guideDaysBack, 2);
}

// A damaged or hand-made file keeps what it holds within bounds, and the defaults for the rest.
TEST_F(PreferencesTest, AFileOutOfBoundsOrDamagedKeepsTheDefaults)
{
    for (const QByteArray& bytes : {QByteArray("<Preferences><Playback numberDelayMs=\"5\" /><Guide refreshHours=\"6\" /></Preferences>"),
                                    QByteArray("<Preferences><Playback"), QByteArray("\0\1\2", 3)}) {
        WriteConfigFile("Preferences.xml", bytes);
        ASSERT_TRUE(Start());
        EXPECT_EQ(app->Prefs().Values().numberDelayMs, PreferenceValues::kDefaultNumberDelayMs);
        EXPECT_EQ(app->Prefs().Values().guideRefreshHours, bytes.contains("6") ? 6 : PreferenceValues::kDefaultGuideRefreshHours);
        EXPECT_EQ(config.ReadFile(QStringLiteral("Korvanta/Preferences.xml")), bytes) << "read, never rewritten";
        app.reset();
    }
}
