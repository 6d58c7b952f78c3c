#pragma once

#include "Connection.h"
#include "TestEnvironment.h"
#include "UpdateRun.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

// A demo install whose server (SQLite stand-in or PostgreSQL) offers files signed with the demo's key.
class UpdaterCase : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override;

    // The publisher's login to the server (the stand-in's file on SQLite).
    Connection server() const;
    QByteArray secretKey() const;
    // Publishes content under the target (the server's form) with the stamp, as the setup tool does.
    void publish(const QString& stamp, const QList<QPair<QString, QByteArray>>& targetsAndContent);
    // A row as the server may come to hold it: signatures, not the server, are what the updater trusts.
    void insertRow(const QString& name,
                   const QString& target,
                   const QVariant& size,
                   const QString& date,
                   const QVariant& bytes,
                   const QVariant& signature);
    QByteArray sign(const QString& name, const QString& target, const QString& date, const QByteArray& bytes) const;
    // Only the files stamp of the draw-progress text changes.
    void setServerFilesStamp(const QString& stamp);

    // A run to its end, waiting for the fetching thread without a fixed wait.
    UpdateRun::Outcome runToEnd(UpdateRun& run);
    QString installedStamp() const;
    QStringList tempFiles() const;

    TestInstall install {TestInstall::Kind::Demo};
};
