#pragma once
// Runs guide imports and removals on a worker thread, one at a time in the order asked,
// and reports to the thread that made it by queued signals: the window's thread never
// waits on an import.

#include "GuideImport.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <deque>
#include <thread>

Q_DECLARE_METATYPE(GuideImportResult)

class GuideImporter : public QObject
{
    Q_OBJECT
public:
    // The worker runs below the window's thread (and the player's), so that on a busy
    // machine they get the processor first; the inflating thread inherits it.
    static constexpr int kWorkerNice = 10;

    explicit GuideImporter(QString databasePath, QObject* parent = nullptr);
    // Cancels what runs and waits for it.
    ~GuideImporter() override;

    void Import(GuideImportJob job);
    void Remove(const QString& source);
    // The running or waiting work on that guide.
    void Cancel(const QString& source);
    bool Busy() const { return worker.joinable() || !waiting.empty(); }

signals:
    // Thousandths of the guide's source read.
    void Progress(const QString& source, int permille);
    void Imported(const QString& source, const GuideImportResult& result);
    void Removed(const QString& source, bool ok);

private:
    struct Work {
        GuideImportJob job;
        bool remove = false;
    };

    void StartNext();
    void Run(const Work& work);
    GuideImportResult RunOnDatabase(const Work& work);
    void Done(const Work& work, const GuideImportResult& result);

    QString databasePath;
    std::deque<Work> waiting;
    Work running;
    std::thread worker;
    std::atomic<bool> cancel{false};
};
