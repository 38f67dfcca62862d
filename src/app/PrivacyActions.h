#pragma once
// What the viewer does with hidden and locked places: the tree's Hide, Unhide, Lock... and
// Unlock, the PIN asked before a locked channel plays or a locked node opens, and the offer
// to lock a new playlist's groups for adults.

#include "PrivacyMarks.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class ChannelDirectory;
class ViewerPrivacy;
class QWidget;
struct ChannelRequest;
struct LanguageStrings;

class PrivacyActions : public QObject
{
    Q_OBJECT
public:
    // Asks for a PIN with a prompt; nothing when the viewer cancels.
    using AskPin = std::function<std::optional<QString>(const QString& prompt)>;

    PrivacyActions(QWidget* window, const LanguageStrings& texts, ViewerPrivacy& privacy, const ChannelDirectory& directory);

    void SetAskPin(AskPin ask) { askPin = std::move(ask); }

    // True once the locks are open: asks for the PIN until it is given, the viewer gives up
    // or too many wrong ones make the viewer wait.
    bool OpenLocks();
    // A channel plays when it is not locked, or once the locks are open.
    bool MayStart(const ChannelRequest& request);
    void Request(PrivacyChange change, const PrivacyPlace& place);
    // A playlist just added whose groups say they are for adults: the viewer may lock them.
    void OfferAdultLocks(const QString& playlistName);

private:
    // A PIN is chosen the first time something is locked; false when the viewer gives up.
    bool EnsurePin();
    void Tell(const QString& text) const;
    void Saved(bool saved, const QString& reason) const;
    std::optional<QString> Ask(const QString& prompt) const;

    QWidget* window;
    const LanguageStrings& texts;
    ViewerPrivacy& privacy;
    const ChannelDirectory& directory;
    AskPin askPin;
};
