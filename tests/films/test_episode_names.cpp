// Which names are a series' episodes, and which episode follows another.

#include "EpisodeName.h"
#include "NextEpisode.h"

#include <gtest/gtest.h>

namespace {

TEST(EpisodeNames, TheFormsListsUseAreEpisodesAndNumbersAloneAreNot)
{
    struct Case
    {
        const char* name;
        const char* series; // nullptr: no episode
        int season = 0;
        int episode = 0;
    };
    const Case cases[] = {
        {"Dark Waters S01E02", "Dark Waters", 1, 2},
        {"Dark Waters S01 E02", "Dark Waters", 1, 2},
        {"Dark Waters s1.e2", "Dark Waters", 1, 2},
        {"Dark Waters - 1x02", "Dark Waters", 1, 2},
        {"Dark Waters Season 1 Episode 2", "Dark Waters", 1, 2},
        {"Dunkle Wasser Staffel 3 Folge 12", "Dunkle Wasser", 3, 12},
        {"Eaux sombres Saison 2 Épisode 7", "Eaux sombres", 2, 7},
        {"Dark.Waters.S10E105.1080p", "Dark.Waters", 10, 105},
        {"Channel 1x2 HD", nullptr},
        {"Sport 24", nullptr},
        {"S01E02", nullptr}, // an episode of nothing named
        {"Prime S1E2X", nullptr},
        {"BBC One HD", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<EpisodeName> parsed = ParseEpisodeName(QString::fromUtf8(c.name));
        if (c.series == nullptr) {
            EXPECT_FALSE(parsed) << c.name;
            continue;
        }
        ASSERT_TRUE(parsed) << c.name;
        EXPECT_EQ(*parsed, (EpisodeName{QString::fromUtf8(c.series), c.season, c.episode})) << c.name;
    }
}

TEST(EpisodeNames, TheNextEpisodeIsTheSameSeriesInTheSameGroupWhereverTheListPutIt)
{
    const auto channel = [](const char* name, const char* group) {
        PlaylistChannel made;
        made.name = QString::fromUtf8(name);
        made.group = QString::fromUtf8(group);
        return made;
    };
    const std::vector<PlaylistChannel> list{
        channel("Show S01E02", "Series"),  // 0
        channel("Show S02E01", "Series"),  // 1
        channel("Show S01E01", "Series"),  // 2
        channel("Other S01E03", "Series"), // 3
        channel("show s01e03", "Films"),   // 4: another group
        channel("Live One", "Series"),     // 5
    };
    EXPECT_EQ(NextEpisodeOf(list, 2), 0);
    EXPECT_EQ(NextEpisodeOf(list, 0), 1); // the next season when the season ends
    EXPECT_EQ(NextEpisodeOf(list, 1), -1);
    EXPECT_EQ(NextEpisodeOf(list, 5), -1);
    EXPECT_EQ(NextEpisodeOf(list, 99), -1);
}

} // namespace
