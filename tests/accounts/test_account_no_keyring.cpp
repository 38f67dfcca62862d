// Provider accounts where no secret service answers: the password is asked for once per
// start, the viewer is told why it cannot be kept, and no file holds it instead.

#include "AccountLibrary.h"
#include "AccountsTexts.h"
#include "BuiltinTexts.h"
#include "NoFileHolds.h"
#include "PanelServer.h"
#include "TempDir.h"
#include "ZooServer.h"

#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 60000;
const QString kPassword = QStringLiteral("secret");

TEST(AccountsWithoutSecretService, ThePasswordIsAskedForOncePerStartAndTheViewerToldWhy)
{
    TempDir folders;
    folders.UseAsConfigHome();
    const QByteArray previousCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", folders.FilePath(QStringLiteral("cache")).toUtf8());
    LanguageStrings texts;
    texts[Accounts] = BuiltinTexts(Accounts);
    texts[Guidance] = BuiltinTexts(Guidance);
    const QString why = texts.Text(Accounts, AccountsNoSecretService).section(u'%', 0, 0);
    PanelServer panel;
    ASSERT_TRUE(panel.Start());
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    {
        AccountLibrary library(texts);
        library.Load(config);
        QSignalSpy built(&library, &AccountLibrary::Built);
        QSignalSpy notices(&library, &AccountLibrary::Notice);
        library.Add({panel.Server(), QStringLiteral("viewer"), kPassword});
        ASSERT_TRUE(WaitFor([&] { return built.count() == 1 && notices.count() == 1; }, kWaitMs));
        EXPECT_TRUE(notices.at(0).at(0).toString().startsWith(why)) << qPrintable(notices.at(0).at(0).toString());
    }

    // The next start: asked once, with the service's reason, and the account works again.
    AccountLibrary library(texts);
    QSignalSpy asked(&library, &AccountLibrary::PasswordNeeded);
    QSignalSpy built(&library, &AccountLibrary::Built);
    library.Load(config);
    ASSERT_TRUE(WaitFor([&] { return asked.count() == 1; }, kWaitMs));
    EXPECT_EQ(asked.at(0).at(1).toString(), texts.Text(Accounts, AccountsAskPassword).arg(u"viewer", panel.Server()));
    const QString reason = asked.at(0).at(2).toString();
    // In the service's own words.
    EXPECT_TRUE(reason.startsWith(why)) << qPrintable(reason);
    EXPECT_NE(reason, texts.Text(Accounts, AccountsNoSecretService).arg(QString()));
    library.GivePassword(asked.at(0).at(0).toString(), kPassword);
    ASSERT_TRUE(WaitFor([&] { return built.count() == 1; }, kWaitMs));
    const QString live = panel.Server() + QStringLiteral("/live/viewer/***/100.ts");
    EXPECT_EQ(library.Revealed(live), panel.Server() + QStringLiteral("/live/viewer/secret/100.ts"));
    EXPECT_EQ(asked.count(), 1);

    ExpectNoFileHolds(kPassword);
    qputenv("XDG_CACHE_HOME", previousCache);
}

} // namespace
