#pragma once
// A fixture whose tests share one stream zoo serving the generated guides.

#include "ZooServer.h"

#include <gtest/gtest.h>

constexpr qint64 kMinute = 60;
constexpr qint64 kHour = 3600;

class GuideZooTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    // The hour the guides start at: always inside the window of programmes kept.
    static qint64 Start();
    // The address of a guide case, starting at Start().
    static QString GuidePath(const QString& name);

    static ZooServer* zoo;
};
