#include "GuideZooTest.h"

#include <QDateTime>

ZooServer* GuideZooTest::zoo = nullptr;

void GuideZooTest::SetUpTestSuite()
{
    zoo = new ZooServer;
    ASSERT_TRUE(zoo->Start()) << zoo->Error().toStdString();
}

void GuideZooTest::TearDownTestSuite()
{
    delete zoo;
    zoo = nullptr;
}

qint64 GuideZooTest::Start()
{
    static const qint64 start = QDateTime::currentSecsSinceEpoch() / kHour * kHour;
    return start;
}

QString GuideZooTest::GuidePath(const QString& name)
{
    return QStringLiteral("/guide/%1?start=%2").arg(name).arg(Start());
}
