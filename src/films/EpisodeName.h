#pragma once
// A series' episode as a playlist names it: "Show S01E02", "Show 1x02", "Show - Season 1
// Episode 2" and the words other languages use. Names that merely hold numbers ("Channel
// 1x2 HD") are no episodes.

#include <QString>

#include <optional>

struct EpisodeName
{
    QString series; // the title before the season and episode, as written
    int season = 0;
    int episode = 0;

    bool operator==(const EpisodeName&) const = default;
};

std::optional<EpisodeName> ParseEpisodeName(const QString& name);
