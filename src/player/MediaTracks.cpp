#include "MediaTracks.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace {

constexpr QLocale::LanguageCodeTypes kSpellings[] = {QLocale::ISO639Part2T, QLocale::ISO639Part2B,
                                                     QLocale::ISO639Part1};

QLocale::Language LanguageOf(const QString& code)
{
    return code.isEmpty() ? QLocale::AnyLanguage : QLocale::codeToLanguage(code.toLower());
}

QString NativeName(const QString& code)
{
    const QLocale::Language language = LanguageOf(code);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return code;
    // English's main locale names the language after its territory ("American English").
    QString name = language == QLocale::English ? QString() : QLocale(language).nativeLanguageName();
    if (name.isEmpty())
        name = QLocale::languageToString(language);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

} // namespace

QString TrackLabel(const MediaTrack& track, const std::vector<MediaTrack>& tracks, const QString& unnamed)
{
    if (track.language.isEmpty())
        return track.title.isEmpty() ? unnamed.arg(track.id) : track.title;
    const QString name = NativeName(track.language);
    const bool shared = std::any_of(tracks.begin(), tracks.end(), [&track](const MediaTrack& other) {
        return other.kind == track.kind && other.id != track.id
               && RememberedLanguage(other.language) == RememberedLanguage(track.language);
    });
    if (!shared)
        return name;
    const QString detail = !track.title.isEmpty() ? track.title : !track.codec.isEmpty() ? track.codec
                                                                                        : QString::number(track.id);
    return QStringLiteral("%1 (%2)").arg(name, detail);
}

QString RememberedLanguage(const QString& code)
{
    const QLocale::Language language = LanguageOf(code);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return code.toLower();
    const QString canonical = QLocale::languageToCode(language, QLocale::ISO639Part2T);
    return canonical.isEmpty() ? code.toLower() : canonical;
}

QString LanguageSpellings(const QString& code)
{
    const QLocale::Language language = LanguageOf(code);
    QStringList spellings{code.toLower()};
    if (language != QLocale::AnyLanguage && language != QLocale::C) {
        for (QLocale::LanguageCodeTypes type : kSpellings) {
            const QString spelling = QLocale::languageToCode(language, type);
            if (!spelling.isEmpty() && !spellings.contains(spelling))
                spellings.append(spelling);
        }
    }
    return spellings.join(QLatin1Char(','));
}
