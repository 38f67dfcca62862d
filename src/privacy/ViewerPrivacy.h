#pragma once
// The viewer's hidden and locked groups and channels: read from Privacy.xml, written there
// at every change, and the PIN that opens the locks for the rest of the run. Whoever shows
// channels follows Changed and asks Check().

#include "PinLock.h"
#include "PrivacyCheck.h"

#include <QObject>
#include <QStringList>

class ViewerPrivacy : public QObject
{
    Q_OBJECT
public:
    explicit ViewerPrivacy(const std::vector<Playlist>& playlists, PinLock::Clock clock = std::chrono::steady_clock::now);

    // A missing or unreadable file: nothing hidden or locked, no PIN.
    void Load(const QString& path);
    const PrivacyCheck& Check() const { return check; }

    // Each writes the file; false with reason when it could not be (the change still holds
    // for this run).
    bool Hide(const PrivacyPlace& place, QString* reason = nullptr);
    bool Unhide(const PrivacyPlace& place, QString* reason = nullptr);
    bool Lock(const PrivacyPlace& place, QString* reason = nullptr);
    // Only once the locks are open.
    bool Unlock(const PrivacyPlace& place, QString* reason = nullptr);
    bool SetPin(const QString& pin, QString* reason = nullptr);
    bool HasPin() const { return pin.HasPin(); }

    void SetShowHidden(bool show);
    // The right PIN opens every lock until the program ends.
    PinLock::Answer Open(const QString& typed);
    std::chrono::seconds WaitLeft() const { return pin.WaitLeft(); }

    // The groups of playlist whose names say they are for adults, in the playlist's order.
    static QStringList AdultGroups(const Playlist& playlist);

signals:
    void Changed();

private:
    bool Change(std::vector<PrivacyPlace>& places, const PrivacyPlace& place, bool add, QString* reason);
    bool Save(QString* reason);

    QString path;
    PrivacyMarks marks;
    PrivacyCheck check;
    PinLock pin;
};
