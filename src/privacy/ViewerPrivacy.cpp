#include "ViewerPrivacy.h"

#include "LogCategories.h"
#include "PrivacyFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {
// Words in a group's name that say its channels are for adults.
const QStringList kAdultWords = {QStringLiteral("xxx"), QStringLiteral("adult"), QStringLiteral("18+")};
} // namespace

ViewerPrivacy::ViewerPrivacy(const std::vector<Playlist>& playlists, PinLock::Clock clock)
    : check(playlists), pin(std::move(clock))
{
}

void ViewerPrivacy::Load(const QString& file)
{
    path = file;
    marks = LoadPrivacyMarks(path);
    check.SetMarks(marks);
    pin.SetDigest(marks.pin);
    check.SetUnlocked(false); // as at every start
    emit Changed();
}

bool ViewerPrivacy::Hide(const PrivacyPlace& place, QString* reason)
{
    return Change(marks.hidden, place, true, reason);
}

bool ViewerPrivacy::Unhide(const PrivacyPlace& place, QString* reason)
{
    return Change(marks.hidden, place, false, reason);
}

bool ViewerPrivacy::Lock(const PrivacyPlace& place, QString* reason)
{
    return Change(marks.locked, place, true, reason);
}

bool ViewerPrivacy::Unlock(const PrivacyPlace& place, QString* reason)
{
    if (!check.Unlocked())
        return true; // refused: the menu asks for the PIN first
    return Change(marks.locked, place, false, reason);
}

bool ViewerPrivacy::Change(std::vector<PrivacyPlace>& places, const PrivacyPlace& place, bool add, QString* reason)
{
    const auto found = std::find(places.begin(), places.end(), place);
    if (add == (found != places.end()) || place.IsNone())
        return true;
    if (add)
        places.push_back(place);
    else
        places.erase(found);
    check.SetMarks(marks);
    const bool saved = Save(reason);
    emit Changed();
    return saved;
}

bool ViewerPrivacy::SetPin(const QString& typed, QString* reason)
{
    if (!PinLock::IsWellFormed(typed))
        return false;
    marks.pin = PinLock::DigestOf(typed);
    pin.SetDigest(marks.pin);
    check.SetUnlocked(true); // who just set it knows it
    const bool saved = Save(reason);
    emit Changed();
    return saved;
}

bool ViewerPrivacy::Save(QString* reason)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString why;
    const bool saved = SavePrivacyMarks(path, marks, &why);
    if (!saved)
        qCWarning(lcPrivacy).noquote() << "cannot save" << path << ":" << why;
    if (reason != nullptr)
        *reason = why;
    return saved;
}

void ViewerPrivacy::SetShowHidden(bool show)
{
    if (show == check.ShowHidden())
        return;
    check.SetShowHidden(show);
    emit Changed();
}

PinLock::Answer ViewerPrivacy::Open(const QString& typed)
{
    const PinLock::Answer answer = pin.Try(typed);
    if (answer == PinLock::Answer::Right && !check.Unlocked()) {
        check.SetUnlocked(true);
        emit Changed();
    }
    if (answer != PinLock::Answer::Right)
        qCInfo(lcPrivacy) << "a wrong PIN; wait" << pin.WaitLeft().count() << "s";
    return answer;
}

QStringList ViewerPrivacy::AdultGroups(const Playlist& playlist)
{
    QStringList groups;
    QSet<QString> seen;
    for (const PlaylistChannel& channel : playlist.channels) {
        if (channel.group.isEmpty() || seen.contains(channel.group))
            continue;
        seen.insert(channel.group);
        const bool adult = std::any_of(kAdultWords.begin(), kAdultWords.end(), [&](const QString& word) {
            return channel.group.contains(word, Qt::CaseInsensitive);
        });
        if (adult)
            groups.append(channel.group);
    }
    return groups;
}
