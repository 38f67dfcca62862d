// Tracks by language: menu names in each language's own words, and the choice remembered
// under one spelling and offered to the engine under every spelling streams use.

#include "MediaTracks.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

MediaTrack Track(long long id, const char* language, const char* title = "", const char* codec = "",
                 MediaTrack::Kind kind = MediaTrack::Kind::Audio)
{
    return {kind, id, QString::fromUtf8(language), QString::fromUtf8(title), QString::fromUtf8(codec), false};
}

} // namespace

TEST(MediaTracks, NamedByLanguageAndToldApart)
{
    const std::vector<MediaTrack> tracks = {
        Track(1, "ger", "", "mp2"),       Track(2, "deu", "", "ac3"),   Track(3, "eng"),
        Track(4, "fre", "Commentaire"),   Track(5, ""),                  Track(6, "", "Director"),
        Track(7, "xyz"),                  Track(8, "eng", "", "", MediaTrack::Kind::Subtitles),
    };
    const QStringList expected = {
        QStringLiteral("Deutsch (mp2)"), QStringLiteral("Deutsch (ac3)"), QStringLiteral("English"),
        QStringLiteral("Français"),      QStringLiteral("Track 5"),       QStringLiteral("Director"),
        QStringLiteral("xyz"),           QStringLiteral("English"),
    };
    for (size_t i = 0; i < tracks.size(); ++i)
        EXPECT_EQ(TrackLabel(tracks[i], tracks, QStringLiteral("Track %1")), expected[int(i)]) << i;
}

TEST(MediaTracks, RememberedUnderOneSpellingOfferedUnderAll)
{
    EXPECT_EQ(RememberedLanguage(QStringLiteral("GER")), QStringLiteral("deu"));
    EXPECT_EQ(RememberedLanguage(QStringLiteral("de")), QStringLiteral("deu"));
    EXPECT_EQ(RememberedLanguage(QStringLiteral("xyz")), QStringLiteral("xyz"));
    EXPECT_EQ(LanguageSpellings(QStringLiteral("deu")), QStringLiteral("deu,ger,de"));
    EXPECT_EQ(LanguageSpellings(QStringLiteral("rus")), QStringLiteral("rus,ru"));
    EXPECT_EQ(LanguageSpellings(QStringLiteral("xyz")), QStringLiteral("xyz"));
}
