#pragma once
// One recording as one file, also when the channel is reconnected while it records: the
// engine starts a new output file for each stretch it reads, so the first stretch goes
// into the recording itself and every later one into a part beside it, appended to the
// recording once complete, off the caller's thread and in order. What the engine had read
// but not yet shown when the recording stopped is cut off its last stretch.

#include <QString>
#include <QThreadPool>

class RecordingFile
{
public:
    explicit RecordingFile(const QString& path);
    ~RecordingFile(); // waits for the parts still being appended

    const QString& Path() const { return path; }
    // Where the engine is to write the next stretch.
    QString NextStretch();
    // The engine has closed the stretch it was writing, whose last unseenSeconds were not shown.
    void StretchEnded(double unseenSeconds = 0);
    // Waits until every part has been appended.
    void Finish();
    // Whether every part has been appended.
    bool Done() { return appender.waitForDone(0); }

private:
    QString PartPath(int stretch) const;

    QString path;
    int stretches = 0;
    bool writing = false;
    QThreadPool appender;
};
