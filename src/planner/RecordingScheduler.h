#pragma once
// The recordings' clock: the rules kept on disk, a plan made from them and the guide, and
// a copier for each recording under way, begun its padding before the programme and ended
// its padding after. A recording that should have begun while the program was not running
// begins at once and is partial; the disk must have room before one begins.

#include "RecordingBook.h"
#include "RecordingMarks.h"
#include "RecordingPlace.h"
#include "RecordingPlanner.h"
#include "StreamCopier.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

class RecordingScheduler : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<PlanTime()>;
    // The stream of a channel; none when it is no longer in the viewer's lists.
    using SourceOf = std::function<std::optional<CopySource>(const ChannelKey&)>;
    using ChannelsOf = std::function<std::vector<PlanChannel>()>;

    explicit RecordingScheduler(Clock clock = SystemNow);
    ~RecordingScheduler() override;

    static PlanTime SystemNow();

    void SetGuide(ProgrammesOf programmes, ChannelsOf anyChannels);
    void SetSources(SourceOf sources) { sourceOf = std::move(sources); }
    void SetPlace(const RecordingPlace& where) { place = where; }
    void SetSettings(const PlanSettings& values);
    // Reads the rules at path and begins what is due.
    void Load(const QString& path);

    // A programme not ended to record; a rule already recording it is not made twice.
    void Record(const ChannelKey& channel, const QString& channelName, const ProgrammeFacts& programme);
    void RecordSeries(const ChannelKey& channel, const QString& channelName, const ProgrammeFacts& programme,
                      bool anyChannel, bool newOnly);
    void RemoveRule(int id);
    // The viewer chose not to record a planned programme.
    void Skip(const PlannedRecording& planned);
    // A finished or failed recording leaves the list, its file and the XML beside it with it.
    bool DeleteRecorded(const QString& path);

    const std::vector<PlannedRecording>& Plan() const { return plan; }
    const std::vector<RecordedProgramme>& Recorded() const { return book.Recorded(); }
    const RecordingBook& Book() const { return book; }
    const RecordingMarks& Marks() const { return marks; }
    const PlanSettings& Settings() const { return settings; }
    // Bytes written so far of a recording under way.
    qint64 BytesOf(const QString& path) const;
    bool Busy() const { return !copiers.empty(); }
    // Whether one is under way or begins before then.
    bool BusyBefore(PlanTime then) const;

public slots:
    // The guide changed, or time went on: the plan is made again.
    void Replan();

signals:
    void Changed();
    // A new rule picks a programme that would be one too many at once.
    void Conflict(const PlannedRecording& planned, const std::vector<PlannedRecording>& overlapping);
    void Started(const RecordedProgramme& recording);
    void Refused(const RecordedProgramme& recording);

private:
    void AddRule(RecordingRule rule);
    void Begin(const PlannedRecording& planned, PlanTime now);
    void Fail(RecordedProgramme recording, RecordedProblem problem);
    void CopyEnded(const QString& path, CopyOutcome outcome);
    RecordedProgramme* RecordedAt(const QString& path);
    void DropOnceRulesOver(PlanTime now);
    // Wakes for what is due next; intoSecond: how far the system's clock was into the
    // second now stands for.
    void Arm(PlanTime now, std::chrono::milliseconds intoSecond);

    Clock clock;
    RecordingBook book{QString()};
    RecordingMarks marks;
    RecordingPlace place;
    PlanSettings settings;
    ProgrammesOf programmesOf = [](const ChannelKey&, PlanTime, PlanTime) { return std::vector<ProgrammeFacts>(); };
    ChannelsOf channelsOf = [] { return std::vector<PlanChannel>(); };
    SourceOf sourceOf = [](const ChannelKey&) { return std::optional<CopySource>(); };
    std::vector<PlannedRecording> plan;
    std::map<QString, std::unique_ptr<StreamCopier>> copiers; // by path
    std::map<QString, PlanTime> ends;                         // of those under way, by path
    std::set<QString> stopAsked;                              // those told to stop, not yet ended
    std::set<int> rulesBefore; // read at the start: their recordings may have been missed
    QTimer timer;
};
