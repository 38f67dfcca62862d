#include "EngineLoader.h"

#include "EngineLibrary.h"

#include <QThread>

EngineLoader::EngineLoader() : worker(QThread::create([] { EngineLibrary::Load(); }))
{
    connect(worker.get(), &QThread::finished, this, &EngineLoader::Done);
}

void EngineLoader::Start()
{
    if (!worker->isRunning() && !worker->isFinished())
        worker->start();
}

EngineLoader::~EngineLoader()
{
    worker->wait();
}

bool EngineLoader::IsDone() const
{
    return worker->isFinished();
}
