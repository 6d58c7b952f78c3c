// The attacks on software updates, tried with what someone holding the server could do: put back a
// signed older release, leave out, add or swap rows, raise the stamp, serve endless bytes, sign with a key
// of their own. The install takes only the release the service signed, never an older one, and never
// more bytes than signed.

#include "Database.h"
#include "Globals.h"
#include "Paths.h"
#include "Publisher.h"
#include "Query.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"
#include "UpdaterFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString kFirst = u"2025121001"_s;
const QString kSecond = u"2025121501"_s;

struct SavedRow
{
    QVariantList values; // Name1, File1, Size1, Date1, Bin1, Sig1
};

SavedRow saveRow(const Connection& c, const QString& name)
{
    Query q(c, u"SELECT Name1, File1, Size1, Date1, Bin1, Sig1 FROM Update1 WHERE Name1 = ?"_s);
    q.run({name});
    SavedRow row;
    if (q.next()) {
        for (const char16_t* column : {u"Name1", u"File1", u"Size1", u"Date1", u"Bin1", u"Sig1"})
            row.values.append(q.value(QString::fromUtf16(column)));
    }
    return row;
}

void putRow(const Connection& c, const SavedRow& row)
{
    Execute(c, u"DELETE FROM Update1 WHERE Name1 = ?"_s, {row.values.value(0)});
    Execute(c, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,Bin1,Sig1) VALUES (?,?,?,?,?,?)"_s, row.values);
}

} // namespace

using TrustCase = UpdaterCase;

TEST_P(TrustCase, AnOlderSignedReleaseIsNeverPutBack)
{
    const QString target = kRoot + u"app.bin"_s;
    publish(kFirst, {{target, "version 1"}});
    UpdateRun first;
    ASSERT_EQ(runToEnd(first), UpdateRun::Outcome::Done) << first.failure().toStdString();
    const SavedRow version1 = saveRow(owner(), u"app.bin"_s);
    publish(kSecond, {{target, "version 2"}});
    UpdateRun second;
    ASSERT_EQ(runToEnd(second), UpdateRun::Outcome::Done) << second.failure().toStdString();
    ASSERT_EQ(ReadBytes(install.path(u"app.bin"_s)), "version 2");

    // The saved row of version 1, still validly signed, and its release's stamp offered again; twice,
    // as a first run that only wrote the older stamp would open the way for the second.
    putRow(owner(), version1);
    setServerFilesStamp(kFirst);
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);
        UpdateRun run;
        EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
        EXPECT_TRUE(run.failure().contains(kSecond) && run.failure().contains(kFirst)) << run.failure().toStdString();
        EXPECT_EQ(ReadBytes(install.path(u"app.bin"_s)), "version 2");
        EXPECT_EQ(installedStamp(), kSecond);
    }
    EXPECT_EQ(UpdateFiles::ReadNote().refused, kFirst);
}

TEST_P(TrustCase, ARowRemovedAddedSwappedOrMovedRefusesTheRelease)
{
    publish(kFirst, {{kRoot + u"DOC\\a.txt"_s, "new a"}, {kRoot + u"DOC\\b.txt"_s, "new b"}});
    const SavedRow a = saveRow(owner(), u"a.txt"_s);
    const SavedRow b = saveRow(owner(), u"b.txt"_s);
    // Each change keeps the row's own signature valid, as the service's key would have made it: the rows
    // alone cannot tell; only the signed release can.
    struct Change
    {
        const char* what;
        std::function<void()> apply;
        QString named;
    };
    const std::vector<Change> changes = {
        {"removed", [&] { Execute(owner(), u"DELETE FROM Update1 WHERE Name1 = 'b.txt'"_s); }, u"b.txt"_s},
        {"added",
         [&] {
             insertRow(u"c.txt"_s,
                       kRoot + u"DOC\\c.txt"_s,
                       5,
                       kFirst,
                       QByteArray("new c"),
                       sign(u"c.txt"_s, kRoot + u"DOC\\c.txt"_s, kFirst, "new c"));
         },
         u"c.txt"_s},
        {"swapped bytes",
         [&] {
             Execute(owner(),
                     u"UPDATE Update1 SET Bin1 = ?, Sig1 = ? WHERE Name1 = 'a.txt'"_s,
                     {QByteArray("evil!"), sign(u"a.txt"_s, kRoot + u"DOC\\a.txt"_s, kFirst, "evil!")});
         },
         u"a.txt"_s},
        {"moved",
         [&] {
             Execute(owner(),
                     u"UPDATE Update1 SET File1 = ?, Sig1 = ? WHERE Name1 = 'a.txt'"_s,
                     {QString(kRoot + u"BIN\\a.txt"_s), sign(u"a.txt"_s, kRoot + u"BIN\\a.txt"_s, kFirst, "new a")});
         },
         u"a.txt"_s},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        putRow(owner(), a);
        putRow(owner(), b);
        Execute(owner(), u"DELETE FROM Update1 WHERE Name1 = 'c.txt'"_s);
        change.apply();
        UpdateRun run;
        EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
        EXPECT_TRUE(run.failure().contains(change.named)) << run.failure().toStdString();
        for (const char16_t* file : {u"DOC/a.txt", u"DOC/b.txt", u"DOC/c.txt", u"BIN/a.txt"})
            EXPECT_FALSE(QFile::exists(install.path(QString::fromUtf16(file))))
                << QString::fromUtf16(file).toStdString();
        EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
        EXPECT_EQ(installedStamp(), kDemoStamp);
    }
}

TEST_P(TrustCase, ARaisedStampWithoutASignedReleaseIsRefusedAndTheNextReleaseStillComes)
{
    publish(kFirst, {{kRoot + u"DOC\\a.txt"_s, "a1"}});
    UpdateRun first;
    ASSERT_EQ(runToEnd(first), UpdateRun::Outcome::Done) << first.failure().toStdString();

    setServerFilesStamp(u"2099123199"_s);
    UpdateRun raised;
    EXPECT_EQ(runToEnd(raised), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(raised.failure().contains(u"2099123199"_s)) << raised.failure().toStdString();
    EXPECT_EQ(installedStamp(), kFirst);
    EXPECT_EQ(UpdateFiles::ReadNote().refused, u"2099123199"_s);
    // A server from before releases were signed has no table of them.
    Execute(owner(), u"ALTER TABLE Release1 RENAME TO Release1Old"_s);
    UpdateRun older;
    EXPECT_EQ(runToEnd(older), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(older.failure().contains(u"서명이 없습니다"_s)) << older.failure().toStdString();
    Execute(owner(), u"ALTER TABLE Release1Old RENAME TO Release1"_s);

    // The publisher goes on from the last signed release, whatever the text says.
    publish(kSecond, {{kRoot + u"DOC\\a.txt"_s, "a2"}});
    UpdateRun next;
    EXPECT_EQ(runToEnd(next), UpdateRun::Outcome::Done) << next.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "a2");
    EXPECT_EQ(installedStamp(), kSecond);
    EXPECT_TRUE(UpdateFiles::ReadNote().refused.isEmpty());
}

TEST_P(TrustCase, AReleaseSignedWithAnotherKeyIsRefused)
{
    ReleaseManifest release;
    release.stamp = kFirst;
    release.files = {described(kRoot + u"DOC\\a.txt"_s, kFirst, "evil")};
    insertRow(u"a.txt"_s, kRoot + u"DOC\\a.txt"_s, 4, kFirst, QByteArray("evil"), QVariant());
    const UpdateSignature::KeyPair other = UpdateSignature::Generate();
    // The other key even claims to be handed over to by a key of its own.
    const UpdateSignature::KeyPair third = UpdateSignature::Generate();
    release.keys
        = {{third.publicKey, other.publicKey, UpdateSignature::SignKeyHandOver(other.publicKey, third.secretKey)}};
    offerRelease(release, other.secretKey);
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(run.failure().contains(u"서명이 맞지 않습니다"_s)) << run.failure().toStdString();
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    EXPECT_EQ(installedStamp(), kDemoStamp);
}

TEST_P(TrustCase, ARowLongerThanItsSignedSizeNeverBringsMoreThanThatSize)
{
    publish(kFirst, {{kRoot + u"DOC\\a.txt"_s, "0123456789"}});
    // Made by the server itself: sent from here, 60 MB cost the PostgreSQL driver seconds of text each way.
    constexpr qint64 kSixtyMegabytes = 60 * 1024 * 1024;
    const QString sixtyMegabytes
        = GetParam() == Backend::PostgreSQL ? u"convert_to(repeat('x', ?), 'UTF8')"_s : u"zeroblob(?)"_s;
    qint64 most = 0;
    auto watch = [&](UpdateRun& run) {
        QObject::connect(&run, &UpdateRun::progress, [&](qint64 value, qint64) { most = qMax(most, value); });
    };

    // The row says 60 MB and carries a zeroed signature; the release says 10 bytes.
    Execute(owner(),
            u"UPDATE Update1 SET Size1 = ?, Bin1 = "_s + sixtyMegabytes + u", Sig1 = ? WHERE Name1 = 'a.txt'"_s,
            {kSixtyMegabytes, kSixtyMegabytes, QByteArray(64, '\0')});
    {
        UpdateRun run;
        watch(run);
        EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
        EXPECT_LE(most, 10);
        EXPECT_TRUE(tempFiles().isEmpty());
    }

    // The row is whole when the run looks at it and grows to 60 MB while the file comes.
    Execute(owner(), u"UPDATE Update1 SET Size1 = 10, Bin1 = ? WHERE Name1 = 'a.txt'"_s, {QByteArray("0123456789")});
    const Backend backend = GetParam();
    bool grown = false;
    UpdateRun run;
    run.setBeforePiece([&] {
        if (grown)
            return;
        grown = true;
        // On the fetching thread: a connection of its own.
        const Connection late = ServerOwnerConnection(backend);
        Execute(late,
                u"UPDATE Update1 SET Bin1 = "_s + sixtyMegabytes + u" WHERE Name1 = 'a.txt'"_s,
                {kSixtyMegabytes});
    });
    watch(run);
    most = 0;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(grown);
    EXPECT_LE(run.bytesFetched(), 10);
    EXPECT_LE(most, 10);
    EXPECT_TRUE(run.failure().contains(u"a.txt"_s)) << run.failure().toStdString();
    EXPECT_TRUE(tempFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/a.txt"_s)));
    EXPECT_EQ(installedStamp(), kDemoStamp);
}

TEST_P(TrustCase, AReleaseLargerThanTheLimitIsRefusedBeforeAnyByte)
{
    ReleaseManifest release;
    release.stamp = kFirst;
    for (const char16_t* name : {u"big1.bin", u"big2.bin"}) {
        ReleaseManifest::File file = described(kRoot + QString::fromUtf16(name), kFirst, "x");
        file.size = UpdateRun::kMaxReleaseBytes / 2 + 1;
        release.files.append(file);
    }
    offerRelease(release);
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
    EXPECT_TRUE(run.failure().contains(u"너무 큽니다"_s)) << run.failure().toStdString();
    EXPECT_EQ(run.bytesFetched(), 0);
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_P(TrustCase, AnInstallFollowsTheServiceToItsNextKey)
{
    QTemporaryDir keys;
    const QString oldKey = install.path(u"SERVER/VELTRA1.key"_s);
    const QString newKey = QDir(keys.path()).filePath(u"next.key"_s);
    Publisher::RotateKey(oldKey, newKey);
    const QByteArray newSecret = UpdateFiles::ReadKeyFile(newKey, UpdateSignature::kSecretKeyBytes);
    const QByteArray newPublic = UpdateFiles::ReadKeyFile(newKey + u".pub"_s, UpdateSignature::kPublicKeyBytes);
    ASSERT_FALSE(newSecret.isEmpty());
    ASSERT_EQ(Publisher::ReadChain(newKey).size(), 1);

    auto publishWith = [&](const QByteArray& secret, const QString& stamp, const QByteArray& bytes) {
        QTemporaryDir sources;
        const QString file = QDir(sources.path()).filePath(u"a"_s);
        WriteBytes(file, bytes);
        Publisher::Publish(owner(), stamp, secret, {{file, kRoot + u"DOC\\a.txt"_s}}, Publisher::ReadChain(newKey));
    };
    // Signed with the new key alone, without the old key's word for it, a release is refused.
    {
        ReleaseManifest release;
        release.stamp = kFirst;
        release.files = {described(kRoot + u"DOC\\a.txt"_s, kFirst, "a1")};
        insertRow(u"a.txt"_s, kRoot + u"DOC\\a.txt"_s, 2, kFirst, QByteArray("a1"), QVariant());
        offerRelease(release, newSecret);
        UpdateRun run;
        EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Refused);
        Execute(owner(), u"DELETE FROM Release1"_s);
        Execute(owner(), u"DELETE FROM Update1"_s);
        setServerFilesStamp(kDemoStamp);
    }
    publishWith(newSecret, kFirst, "a1");
    UpdateRun first;
    ASSERT_EQ(runToEnd(first), UpdateRun::Outcome::Done) << first.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "a1");
    EXPECT_EQ(UpdateFiles::ReadKeyFile(InstallPaths::updateKey(), UpdateSignature::kPublicKeyBytes), newPublic);

    // From now on the old key no longer speaks for the service to this install.
    ReleaseManifest stale;
    stale.stamp = kSecond;
    stale.files = {described(kRoot + u"DOC\\a.txt"_s, kSecond, "old key")};
    Execute(owner(), u"DELETE FROM Update1"_s);
    insertRow(u"a.txt"_s, kRoot + u"DOC\\a.txt"_s, 7, kSecond, QByteArray("old key"), QVariant());
    offerRelease(stale, UpdateFiles::ReadKeyFile(oldKey, UpdateSignature::kSecretKeyBytes));
    UpdateRun second;
    EXPECT_EQ(runToEnd(second), UpdateRun::Outcome::Refused);
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "a1");

    // A second hand-over: the chain now starts at a key this install no longer holds, and is followed
    // from the one it does.
    const QString newerKey = QDir(keys.path()).filePath(u"newer.key"_s);
    Publisher::RotateKey(newKey, newerKey);
    ASSERT_EQ(Publisher::ReadChain(newerKey).size(), 2);
    QTemporaryDir sources;
    WriteBytes(QDir(sources.path()).filePath(u"a"_s), "a3");
    Publisher::Publish(owner(),
                       u"2025122001"_s,
                       UpdateFiles::ReadKeyFile(newerKey, UpdateSignature::kSecretKeyBytes),
                       {{QDir(sources.path()).filePath(u"a"_s), kRoot + u"DOC\\a.txt"_s}},
                       Publisher::ReadChain(newerKey));
    UpdateRun third;
    EXPECT_EQ(runToEnd(third), UpdateRun::Outcome::Done) << third.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "a3");
    EXPECT_EQ(UpdateFiles::ReadKeyFile(InstallPaths::updateKey(), UpdateSignature::kPublicKeyBytes),
              UpdateFiles::ReadKeyFile(newerKey + u".pub"_s, UpdateSignature::kPublicKeyBytes));
}

INSTANTIATE_TEST_SUITE_P(Backends, TrustCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
