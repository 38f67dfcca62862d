#include "EpisodeName.h"

#include <QRegularExpression>

namespace {
// Season and episode in the forms lists use, each ending the series' title. A bare "1x2" needs
// two digits of episode, so that "Channel 1x2 HD" stays a channel.
const QRegularExpression& Pattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:^|[\s._\-\[(])(?:)"
                       R"(S(?<s1>\d{1,3})\s?[.]?\s?E(?<e1>\d{1,4}))"
                       R"(|(?<s2>\d{1,2})x(?<e2>\d{2,4}))"
                       R"(|(?:Season|Staffel|Saison|Temporada|Stagione|Seizoen)\s*(?<s3>\d{1,3})[\s,.\-]*)"
                       R"((?:Episode|Folge|[ÉE]pisode|Episodio|Aflevering|Cap[íi]tulo)\s*(?<e3>\d{1,4}))"
                       R"()(?=$|[\s._\-\])])"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

int Captured(const QRegularExpressionMatch& match, const char* const (&names)[3])
{
    for (const char* name : names) {
        const QString text = match.captured(QString::fromLatin1(name));
        if (!text.isEmpty())
            return text.toInt();
    }
    return 0;
}

// What separates the title from the episode: spaces, dashes, dots and brackets.
QString TrimmedTitle(const QString& title)
{
    static const QRegularExpression trailing(QStringLiteral(R"([\s._\-\[(:|]+$)"));
    return QString(title).remove(trailing).trimmed();
}
} // namespace

std::optional<EpisodeName> ParseEpisodeName(const QString& name)
{
    const QRegularExpressionMatch match = Pattern().match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QString series = TrimmedTitle(name.left(match.capturedStart()));
    if (series.isEmpty())
        return std::nullopt; // an episode of nothing named
    const int season = Captured(match, {"s1", "s2", "s3"});
    const int episode = Captured(match, {"e1", "e2", "e3"});
    return EpisodeName{series, season, episode};
}
