#include "PrivacyActions.h"

#include "ChannelDirectory.h"
#include "FilesTexts.h"
#include "MessageBox.h"
#include "PrivacyTexts.h"
#include "ViewerPrivacy.h"

#include <QInputDialog>
#include <QLineEdit>

namespace {
constexpr int kPinBoxWidth = 360; // its caption whole in every pack

std::optional<QString> AskWithBox(QWidget* window, const QString& caption, const QString& prompt)
{
    QInputDialog dialog(window);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setInputMethodHints(Qt::ImhDigitsOnly);
    // The box's layout keeps it at its contents' size, so the field sets the width.
    if (auto* field = dialog.findChild<QLineEdit*>())
        field->setMinimumWidth(kPinBoxWidth);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().trimmed();
}
} // namespace

PrivacyActions::PrivacyActions(QWidget* window, const LanguageStrings& texts, ViewerPrivacy& privacy,
                               const ChannelDirectory& directory)
    : window(window), texts(texts), privacy(privacy), directory(directory)
{
}

std::optional<QString> PrivacyActions::Ask(const QString& prompt) const
{
    return askPin ? askPin(prompt) : AskWithBox(window, texts.Text(Privacy, PrivCaption), prompt);
}

void PrivacyActions::Tell(const QString& text) const
{
    MessageBox(window, text, texts.Text(Privacy, PrivCaption), MB_OK | MB_ICONWARNING);
}

void PrivacyActions::Saved(bool saved, const QString& reason) const
{
    if (!saved)
        Tell(texts.Text(Files, FilesNotSaved).arg(QStringLiteral("Privacy.xml"), reason));
}

bool PrivacyActions::OpenLocks()
{
    while (!privacy.Check().Unlocked()) {
        if (privacy.WaitLeft().count() > 0) {
            Tell(texts.Text(Privacy, PrivPinWait).arg(privacy.WaitLeft().count()));
            return false;
        }
        const std::optional<QString> typed = Ask(texts.Text(Privacy, PrivPinPrompt));
        if (!typed)
            return false;
        if (privacy.Open(*typed) == PinLock::Answer::Wrong && privacy.WaitLeft().count() == 0)
            Tell(texts.Text(Privacy, PrivPinWrong));
    }
    return true;
}

bool PrivacyActions::MayStart(const ChannelRequest& request)
{
    return !privacy.Check().Shut(directory.KeyOf(request)) || OpenLocks();
}

bool PrivacyActions::EnsurePin()
{
    while (!privacy.HasPin()) {
        const std::optional<QString> typed = Ask(texts.Text(Privacy, PrivNewPinPrompt));
        if (!typed)
            return false;
        if (!PinLock::IsWellFormed(*typed)) {
            Tell(texts.Text(Privacy, PrivPinMalformed));
            continue;
        }
        QString reason;
        Saved(privacy.SetPin(*typed, &reason), reason);
    }
    return true;
}

void PrivacyActions::Request(PrivacyChange change, const PrivacyPlace& place)
{
    QString reason;
    switch (change) {
    case PrivacyChange::Hide:
        Saved(privacy.Hide(place, &reason), reason);
        break;
    case PrivacyChange::Unhide:
        Saved(privacy.Unhide(place, &reason), reason);
        break;
    case PrivacyChange::Lock:
        if (EnsurePin())
            Saved(privacy.Lock(place, &reason), reason);
        break;
    case PrivacyChange::Unlock:
        if (OpenLocks())
            Saved(privacy.Unlock(place, &reason), reason);
        break;
    }
}

void PrivacyActions::OfferAdultLocks(const QString& playlistName)
{
    for (const Playlist& playlist : directory.Playlists()) {
        if (playlist.name != playlistName)
            continue;
        const QStringList groups = ViewerPrivacy::AdultGroups(playlist);
        if (groups.isEmpty())
            return;
        const QString question = texts.Text(Privacy, PrivAdultOffer).arg(playlistName, groups.join(QStringLiteral(", ")));
        if (MessageBox(window, question, texts.Text(Privacy, PrivCaption), MB_YESNO | MB_ICONQUESTION) != IDYES
            || !EnsurePin())
            return;
        QString reason;
        bool saved = true;
        for (const QString& group : groups)
            saved = privacy.Lock({playlistName, group, {}}, &reason) && saved;
        Saved(saved, reason);
        return;
    }
}
