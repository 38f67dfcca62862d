#pragma once
// The description box's reminder of the next programme of the channel it describes: in the
// box's context menu and on the key R, while that programme has not started. The menu also
// records it, or its series.

#include "ChannelKey.h"
#include "GuideRow.h"
#include "GuideTypes.h"
#include "LanguageStrings.h"

#include <QObject>

#include <functional>
#include <optional>

class ChannelDirectory;
class QPlainTextEdit;

class NextReminder : public QObject
{
    Q_OBJECT
public:
    using Reminded = std::function<bool(const ChannelKey&, qint64 start)>;

    NextReminder(QPlainTextEdit* box, const LanguageStrings& texts, const ChannelDirectory& directory);

    // The channel the box describes now; an empty key while it describes none.
    void Describe(const ChannelKey& key) { described = key; }
    void SetReminded(Reminded isReminded) { reminded = std::move(isReminded); }
    void SetRecording(GuideRecordingOf recordingOf) { recording = std::move(recordingOf); }
    // The next programme of the channel described, when it is still to come.
    std::optional<GuideProgramme> Next() const;

signals:
    void RemindProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme);
    void RecordProgramme(const ChannelKey& channel, const QString& channelName, const GuideProgramme& programme, bool series);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowMenu(const QPoint& globalPos);
    void Toggle(const GuideProgramme& programme);

    QPlainTextEdit* box;
    const QObject* viewport;
    const LanguageStrings& texts;
    const ChannelDirectory& directory;
    ChannelKey described;
    Reminded reminded = [](const ChannelKey&, qint64) { return false; };
    GuideRecordingOf recording = [](const ChannelKey&, const GuideProgramme&) { return GuideRecording::None; };
};
