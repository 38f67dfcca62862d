#include "EngineTracks.h"

#include "EngineCommands.h"
#include "EngineNodes.h"
#include "PlaybackFile.h"

#include <mpv/client.h>

#include <algorithm>
#include <cstring>

namespace {

enum Reply : std::uint64_t {
    kTrackList = 0x5452'0001,
    kTrackWrite,
};

std::vector<MediaTrack> TracksOf(const mpv_node& list)
{
    std::vector<MediaTrack> tracks;
    if (list.format != MPV_FORMAT_NODE_ARRAY)
        return tracks;
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& entry = list.u.list->values[i];
        const char* type = EngineNodes::String(entry, "type");
        const bool audio = std::strcmp(type, "audio") == 0;
        if (!audio && std::strcmp(type, "sub") != 0)
            continue;
        tracks.push_back({audio ? MediaTrack::Kind::Audio : MediaTrack::Kind::Subtitles,
                          EngineNodes::Int(entry, "id"), QString::fromUtf8(EngineNodes::String(entry, "lang")),
                          QString::fromUtf8(EngineNodes::String(entry, "title")),
                          QString::fromUtf8(EngineNodes::String(entry, "codec")),
                          EngineNodes::Flag(entry, "selected")});
    }
    return tracks;
}

// Every spelling of the preferred languages, then of the remembered one, each once.
QByteArray LanguageList(const QStringList& preferred, const QString& remembered)
{
    QStringList codes;
    for (const QString& code : preferred + QStringList{remembered}) {
        if (code.isEmpty())
            continue;
        for (const QString& spelling : LanguageSpellings(code).split(QLatin1Char(','))) {
            if (!codes.contains(spelling))
                codes.append(spelling);
        }
    }
    return codes.join(QLatin1Char(',')).toUtf8();
}

} // namespace

void EngineTracks::SetPreferred(const QStringList& audio, const QStringList& subtitles)
{
    preferredAudio = audio;
    preferredSubtitles = subtitles;
}

void EngineTracks::Attach(mpv_handle* handle)
{
    engine = handle;
    mpv_observe_property(engine, kTrackList, "track-list", MPV_FORMAT_NODE);
}

EngineCommands::FileOptions EngineTracks::ChannelOptions() const
{
    // A track picked by number stays the engine's choice for later channels unless each
    // asks for its own.
    const bool subtitlesOff = remembered.subtitles == QLatin1String(PlaybackSettings::kSubtitlesOff);
    EngineCommands::FileOptions options{{"aid", "auto"}, {"sid", subtitlesOff ? "no" : "auto"}};
    if (const QByteArray audio = LanguageList(preferredAudio, remembered.audio); !audio.isEmpty())
        options.emplace_back("alang", audio);
    if (const QByteArray subtitles = LanguageList(preferredSubtitles, remembered.subtitles); !subtitlesOff && !subtitles.isEmpty())
        options.emplace_back("slang", subtitles);
    return options;
}

bool EngineTracks::Handle(const mpv_event& event)
{
    if (event.reply_userdata != kTrackList && event.reply_userdata != kTrackWrite)
        return false;
    if (event.event_id == MPV_EVENT_PROPERTY_CHANGE) {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        tracks = property->format == MPV_FORMAT_NODE ? TracksOf(*static_cast<const mpv_node*>(property->data))
                                                     : std::vector<MediaTrack>();
        if (changed)
            changed();
    }
    return true;
}

void EngineTracks::Choose(MediaTrack::Kind kind, long long id)
{
    const bool audio = kind == MediaTrack::Kind::Audio;
    const auto track = std::find_if(tracks.begin(), tracks.end(), [kind, id](const MediaTrack& t) {
        return t.kind == kind && t.id == id;
    });
    if (id != 0 && track == tracks.end())
        return;
    QString& language = audio ? remembered.audio : remembered.subtitles;
    if (id == 0)
        language = QString::fromLatin1(PlaybackSettings::kSubtitlesOff);
    else if (!track->language.isEmpty())
        language = RememberedLanguage(track->language);
    const QByteArray value = id == 0 ? QByteArray("no") : QByteArray::number(id);
    if (engine != nullptr)
        EngineCommands::SetString(engine, kTrackWrite, audio ? "aid" : "sid", value.constData());
}
