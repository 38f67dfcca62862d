#pragma once
// What is on the channel played, from the guide: its programme's title for the status
// line and the desktop's media controls, and its logo as their art. One tick keeps both
// (and every view of now and next) in step as time goes on.

#include "ChannelRequest.h"
#include "LanguageStrings.h"
#include "PlayState.h"

#include <QObject>
#include <QString>
#include <QTimer>

class ChannelDirectory;
class GuideLibrary;
class LiveControls;
class LogoCache;

class OnAir : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 30 * 1000; // a programme change shows within this

    OnAir(const LanguageStrings& texts, const ChannelDirectory& directory, const GuideLibrary& guides,
          const LiveControls& live, LogoCache& logos);

    void Start() { tick.start(kTickMs); }
    // A new channel is played: its programme and logo are looked up at once.
    void ShowPlayState(const PlayState& state);
    // The guide changed, or time went on.
    void Refresh();
    // A logo arrived: the art follows when it is the played channel's.
    void LogoArrived(const QString& address);

    const QString& Title() const { return title; }

signals:
    // The title changed while the channel played on.
    void TitleChanged();
    void DesktopProgrammeChanged(const QString& text);
    void ArtChanged(const QString& url);
    // Time went on: now and next are to be shown again wherever they are.
    void Ticked();

private:
    void Look(bool sameChannel);
    void LookUpArt();

    const LanguageStrings& texts;
    const ChannelDirectory& directory;
    const GuideLibrary& guides;
    const LiveControls& live;
    LogoCache& logos;
    ChannelRequest played;
    QString title;
    QString logo; // the address of the played channel's logo
    QTimer tick;
};
