#pragma once

#include "Connection.h"
#include "ReleaseManifest.h"
#include "TestEnvironment.h"
#include "UpdateRun.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

// A demo install whose server (SQLite stand-in or PostgreSQL) offers releases signed with the demo's key.
class UpdaterCase : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override;

    // The shared account, as installs log in.
    Connection server() const;
    // The catalog's owner: what the publisher, or someone who took the server over, may do.
    Connection owner() const;
    QByteArray secretKey() const;
    // Publishes content under the target (the server's form) with the stamp, as the setup tool does.
    void publish(const QString& stamp, const QList<QPair<QString, QByteArray>>& targetsAndContent);
    // A row put straight into Update1, with its own signature made by the service's key.
    void insertRow(const QString& name,
                   const QString& target,
                   const QVariant& size,
                   const QString& date,
                   const QVariant& bytes,
                   const QVariant& signature);
    QByteArray sign(const QString& name, const QString& target, const QString& date, const QByteArray& bytes) const;
    // A release description signed with a key (the service's when none is given), put straight into
    // Release1 and offered by the draw-progress text: releases the setup tool would never make.
    void offerRelease(const ReleaseManifest& release, const QByteArray& key = QByteArray());
    // The description of one file as a release names it.
    static ReleaseManifest::File described(const QString& target, const QString& date, const QByteArray& bytes);
    // Only the files stamp of the draw-progress text changes.
    void setServerFilesStamp(const QString& stamp);

    // A run to its end, waiting for the fetching thread without a fixed wait.
    UpdateRun::Outcome runToEnd(UpdateRun& run);
    QString installedStamp() const;
    QStringList tempFiles() const;

    TestInstall install {TestInstall::Kind::Demo};
};

inline const QString kRoot = QStringLiteral("C:\\VELTRA\\수리볼\\");
// The demo's files stamp, and the release the tests publish after it.
inline const QString kDemoStamp = QStringLiteral("2025120601");
inline const QString kStamp = QStringLiteral("2025121001");

// A label's text by its objectName.
QString LabelText(const QWidget& window, const char16_t* name);
