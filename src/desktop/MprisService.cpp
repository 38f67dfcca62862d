#include "MprisService.h"

#include "LogCategories.h"
#include "MprisPlayerAdaptor.h"
#include "MprisRootAdaptor.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>

#include <utility>

namespace {
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.korvanta");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
const QString kTrackPrefix = QStringLiteral("/org/korvanta/Korvanta/channel/");
} // namespace

MprisService::MprisService(MediaPlayerTarget& target) : target(target)
{
    new MprisRootAdaptor(this);
    playerAdaptor = new MprisPlayerAdaptor(this);
}

MprisService::~MprisService()
{
    if (!registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kObjectPath);
    bus.unregisterService(kServiceName);
}

bool MprisService::Register()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (registered)
        return true;
    if (!bus.isConnected()) {
        qCInfo(lcDesktop) << "no session bus: the desktop's media controls cannot reach the player";
        return false;
    }
    if (!bus.registerObject(kObjectPath, this)) {
        qCWarning(lcDesktop) << "the media player object cannot be registered:" << bus.lastError().message();
        return false;
    }
    if (!bus.registerService(kServiceName)) {
        qCWarning(lcDesktop) << "the name" << kServiceName << "is taken:" << bus.lastError().message();
        bus.unregisterObject(kObjectPath);
        return false;
    }
    registered = true;
    return true;
}

void MprisService::ShowPlayState(const PlayState& state)
{
    SetPlaying(state.Watched());
    const ChannelRequest& channel = state.request;
    if (channel.IsEmpty())
        return;
    SetCanPlay(true);
    SetCanZap(channel.origin.list != ChannelOrigin::List::None);
    // The album is the playlist of an own channel, else the group it was picked from.
    // The programme stays while the channel does; the main window tells the new one's.
    const bool same = channel.id == track.id && channel.name == track.channel;
    SetTrack({channel.id, channel.name, same ? track.programme : QString(),
              channel.IsOwn() ? channel.playlist : channel.origin.name, same ? track.art : QString()});
}

void MprisService::SetProgramme(const QString& title)
{
    Track changed = track;
    changed.programme = title;
    SetTrack(changed);
}

void MprisService::SetArt(const QString& url)
{
    Track changed = track;
    changed.art = url;
    SetTrack(changed);
}

void MprisService::SetPlaying(bool value)
{
    if (value == playing)
        return;
    playing = value;
    AnnounceChanged(QStringLiteral("PlaybackStatus"), PlaybackStatus());
}

QString MprisService::PlaybackStatus() const
{
    if (!playing)
        return QStringLiteral("Stopped");
    return shift.paused ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

// Position and the growing length are read when asked; only what a panel shows as a
// control is announced.
void MprisService::ShowTimeshift(const Timeshift& value)
{
    const Timeshift old = std::exchange(shift, value);
    if (old.paused != value.paused)
        AnnounceChanged(QStringLiteral("PlaybackStatus"), PlaybackStatus());
    if (old.seekable != value.seekable || old.film != value.film || (value.film && old.length != value.length)) {
        AnnounceChanged(QStringLiteral("CanSeek"), value.seekable);
        AnnounceChanged(QStringLiteral("Metadata"), Metadata());
    }
}

void MprisService::AnnounceSeeked(qint64 position)
{
    if (shift.seekable)
        emit playerAdaptor->Seeked(position);
}

void MprisService::SetTrack(const Track& value)
{
    if (value == track)
        return;
    track = value;
    AnnounceChanged(QStringLiteral("Metadata"), Metadata());
}

void MprisService::SetVolume(int value)
{
    if (value == volume)
        return;
    volume = value;
    AnnounceChanged(QStringLiteral("Volume"), Volume());
}

void MprisService::SetCanPlay(bool value)
{
    if (value == canPlay)
        return;
    canPlay = value;
    AnnounceChanged(QStringLiteral("CanPlay"), canPlay);
    AnnounceChanged(QStringLiteral("CanPause"), canPlay);
}

void MprisService::SetCanZap(bool value)
{
    if (value == canZap)
        return;
    canZap = value;
    AnnounceChanged(QStringLiteral("CanGoNext"), canZap);
    AnnounceChanged(QStringLiteral("CanGoPrevious"), canZap);
}

QVariantMap MprisService::Metadata() const
{
    if (track.channel.isEmpty())
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kNoTrack))}};
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(kTrackPrefix + QString::number(track.id)))},
        {QStringLiteral("xesam:title"), track.programme.isEmpty() ? track.channel : track.programme},
        {QStringLiteral("xesam:artist"), QStringList{track.channel}},
        {QStringLiteral("xesam:album"), track.album},
    };
    if (shift.seekable)
        metadata.insert(QStringLiteral("mpris:length"), shift.length);
    if (!track.art.isEmpty())
        metadata.insert(QStringLiteral("mpris:artUrl"), track.art);
    return metadata;
}

void MprisService::AnnounceChanged(const QString& property, const QVariant& value)
{
    if (!registered)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << QVariantMap{{property, value}} << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
