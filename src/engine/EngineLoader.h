#pragma once
// Loads the engine library on a worker thread, so that the windows come up meanwhile.
// While it loads, a dlopen on any other thread waits for it (the dynamic loader has one
// lock): start it once the toolkit has loaded its own plug-ins.

#include <QObject>

#include <memory>

class QThread;

class EngineLoader : public QObject
{
    Q_OBJECT
public:
    EngineLoader();
    // Waits for the worker: the library stays loaded, its thread may not outlive us.
    ~EngineLoader() override;

    // Starts loading (once).
    void Start();
    bool IsDone() const;

signals:
    // On the thread that made the loader, once loading has ended, loaded or not.
    void Done();

private:
    std::unique_ptr<QThread> worker;
};
