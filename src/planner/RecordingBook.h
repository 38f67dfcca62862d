#pragma once
// The viewer's recording rules and what they recorded, kept in Recordings.xml and written
// again, atomically, at every change, so that a crash loses nothing already decided. A
// recording that was under way when the program ended is, read back, one that Korvanta was
// not running for to its end.

#include "PlannedTypes.h"

#include <vector>

class RecordingBook
{
public:
    explicit RecordingBook(QString path);

    // $XDG_DATA_HOME/Korvanta/Recordings.xml
    static QString DefaultPath();

    // Reads the file. One that cannot be read is put aside beside it, so that the next save
    // does not replace what the viewer may still want.
    void Load();
    void Save();

    // The rule given an id of its own; that id.
    int AddRule(RecordingRule rule);
    bool RemoveRule(int id);
    const RecordingRule* Rule(int id) const;
    const std::vector<RecordingRule>& Rules() const { return rules; }

    // Programmes the viewer chose not to record (by channel and start), for a conflict.
    void Skip(const ChannelKey& channel, PlanTime start);
    bool Skipped(const ChannelKey& channel, PlanTime start) const;

    std::vector<RecordedProgramme>& Recorded() { return recorded; }
    const std::vector<RecordedProgramme>& Recorded() const { return recorded; }

    // Why the last save failed; empty after one that went well.
    const QString& SaveProblem() const { return saveProblem; }

private:
    struct SkippedProgramme {
        ChannelKey channel;
        PlanTime start;
    };

    QString path;
    std::vector<RecordingRule> rules;
    std::vector<SkippedProgramme> skipped;
    std::vector<RecordedProgramme> recorded;
    int lastId = 0;
    QString saveProblem;
};
