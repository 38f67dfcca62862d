#pragma once
// The player on the session bus as org.mpris.MediaPlayer2.korvanta, so that media keys
// and the desktop's media panels reach it. It follows the player's state and the window's
// volume; every change is announced with PropertiesChanged so that panels stay in step.

#include "MediaPlayerTarget.h"
#include "PlayState.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

class MprisPlayerAdaptor;

class MprisService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxVolume = 100;

    explicit MprisService(MediaPlayerTarget& target);
    ~MprisService() override;

    // Registers the name and the object on the session bus; false without a session bus
    // or when another instance holds the name.
    bool Register();

    // Playing while the viewer watches; the track is the channel the state belongs to.
    void ShowPlayState(const PlayState& state);
    void SetVolume(int volume);
    // The title of the programme on the channel being played, from the guide; empty for none.
    void SetProgramme(const QString& title);
    // The file URL of the playing channel's logo; empty for none.
    void SetArt(const QString& url);

    // The live channel's timeshift buffer, in microseconds from its oldest point: paused,
    // where it plays and how long it is (its end is live).
    struct Timeshift
    {
        bool seekable = false;
        bool paused = false;
        qint64 position = 0;
        qint64 length = 0;
        bool film = false; // a film's length is its own, a buffer's grows
    };
    void ShowTimeshift(const Timeshift& timeshift);
    void AnnounceSeeked(qint64 position);

    MediaPlayerTarget& Target() const { return target; }
    bool Playing() const { return playing; }
    QString PlaybackStatus() const;
    bool CanSeek() const { return shift.seekable; }
    qint64 Position() const { return shift.seekable ? shift.position : 0; }
    QVariantMap Metadata() const;
    double Volume() const { return static_cast<double>(volume) / kMaxVolume; }
    bool CanPlay() const { return canPlay; }
    bool CanZap() const { return canZap; }

private:
    struct Track
    {
        quint32 id = 0;
        QString channel;
        QString programme;
        QString album;
        QString art;
        bool operator==(const Track&) const = default;
    };

    void SetPlaying(bool playing);
    void SetTrack(const Track& track);
    void SetCanPlay(bool canPlay);
    void SetCanZap(bool canZap);
    void AnnounceChanged(const QString& property, const QVariant& value);

    MediaPlayerTarget& target;
    MprisPlayerAdaptor* playerAdaptor; // owned by this object
    bool registered = false;
    bool playing = false;
    bool canPlay = false;
    bool canZap = false;
    int volume = kMaxVolume;
    Track track;
    Timeshift shift;
};
