#pragma once
// A channel's sound and subtitle tracks as the viewer picks them: named by their
// language, and remembered by language so the next channel that offers it starts with it.

#include <QString>

#include <vector>

struct MediaTrack {
    enum class Kind { Audio, Subtitles };

    Kind kind = Kind::Audio;
    long long id = 0;
    QString language; // as the stream tags it: "deu", "ger", "de", or nothing
    QString title;
    QString codec;
    bool selected = false;
};

// The track's name in a menu: its language in that language's own words, told apart from
// other tracks of the same language by title or codec; untagged tracks by title, else by
// unnamed ("Track %1") with their number.
QString TrackLabel(const MediaTrack& track, const std::vector<MediaTrack>& tracks, const QString& unnamed);

// The code a choice is remembered by: one spelling for each language ("ger" -> "deu").
QString RememberedLanguage(const QString& code);

// Every spelling a stream may tag the language of code with, for the engine's language
// preference: "deu" -> "deu,ger,de".
QString LanguageSpellings(const QString& code);
