#pragma once
// Whatever holds the viewer's files may never hold the password.

#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

inline void ExpectNoFileHolds(const QString& secret)
{
    for (const auto location : {QStandardPaths::GenericConfigLocation, QStandardPaths::GenericDataLocation,
                                QStandardPaths::GenericCacheLocation}) {
        QDirIterator files(QStandardPaths::writableLocation(location) + QStringLiteral("/Korvanta"), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_FALSE(file.readAll().contains(secret.toUtf8())) << qPrintable(file.fileName());
        }
    }
}
