// The end of a run in the right order, and what the next run does with a run that did not end: the
// release is recorded before the backups go, a record that cannot be written is said as it is, backups
// that could not be put back stay until they are, and a copy stopped half-way is finished from the new
// files when they are whole, or undone.

#include "Database.h"
#include "Globals.h"
#include "Paths.h"
#include "Query.h"
#include "ReleaseInstall.h"
#include "UpdateFiles.h"
#include "UpdaterFixture.h"
#include "frmUpdate1.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct CopiedFile
{
    QString relative; // under the install root, with "/"
    QByteArray before; // empty: the target did not exist
    QByteArray after;
    bool placed;
};

class RecoveryCase : public UpdaterCase
{
protected:
    // The files and the record a run leaves when it is stopped in its copying with `placed` in place.
    ReleaseInstall::Job stoppedCopy(const QList<CopiedFile>& files)
    {
        ReleaseInstall::Job job;
        job.stamp = kStamp;
        int number = 0;
        for (const CopiedFile& s : files) {
            const QString target = kRoot + QString(s.relative).replace(u'/', u'\\');
            ReleaseInstall::File file {s.relative.section(u'/', -1),
                                       target,
                                       install.path(s.relative),
                                       kStamp,
                                       s.after.size(),
                                       described(target, kStamp, s.after).sha256,
                                       ++number,
                                       !s.before.isEmpty()};
            WriteBytes(ReleaseInstall::TempPath(number, u".TP"_s), s.after);
            if (!s.before.isEmpty())
                WriteBytes(file.path, s.before);
            if (s.placed) {
                if (file.existed)
                    WriteBytes(ReleaseInstall::TempPath(number, u".BK"_s), s.before);
                WriteBytes(file.path, s.after);
            }
            job.files.append(file);
        }
        QString error;
        EXPECT_TRUE(ReleaseInstall::WriteJournal(job, &error)) << error.toStdString();
        return job;
    }

    ReleaseInstall::Outcome resume()
    {
        QString damaged;
        const std::optional<ReleaseInstall::Job> job = ReleaseInstall::ReadJournal(&damaged);
        EXPECT_TRUE(damaged.isEmpty()) << damaged.toStdString();
        if (!job)
            return {ReleaseInstall::Result::NotRecorded, u"no record"_s};
        return ReleaseInstall::Resume(*job, {});
    }
};

const QList<CopiedFile> kHalfCopied = {
    {u"DOC/a.txt"_s, "old a", "new a", true},
    {u"DOC/b.txt"_s, "old b", "new b", false},
    {u"DOC/NEW/c.txt"_s, QByteArray(), "new c", false},
};

} // namespace

TEST_P(RecoveryCase, ACopyStoppedHalfWayIsFinishedWhenEveryNewFileIsWhole)
{
    stoppedCopy(kHalfCopied);
    const ReleaseInstall::Outcome outcome = resume();
    EXPECT_EQ(outcome.result, ReleaseInstall::Result::Installed) << outcome.text.toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "new a");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/b.txt"_s)), "new b");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/NEW/c.txt"_s)), "new c");
    EXPECT_EQ(installedStamp(), kStamp);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT COUNT(*) FROM Update1 WHERE Date1 = ?"_s, {kStamp}), u"3"_s);
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
    EXPECT_FALSE(UpdateFiles::CopyInterrupted());
}

TEST_P(RecoveryCase, ACopyStoppedHalfWayIsUndoneWhenANewFileIsDamaged)
{
    stoppedCopy(kHalfCopied);
    WriteBytes(ReleaseInstall::TempPath(2, u".TP"_s), "new"); // cut short
    const ReleaseInstall::Outcome outcome = resume();
    EXPECT_EQ(outcome.result, ReleaseInstall::Result::NotInstalled) << outcome.text.toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "old a");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/b.txt"_s)), "old b");
    EXPECT_FALSE(QFile::exists(install.path(u"DOC/NEW/c.txt"_s)));
    EXPECT_EQ(installedStamp(), kDemoStamp);
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
    EXPECT_FALSE(UpdateFiles::CopyInterrupted());

    // The updater's run then fetches the release again and installs it whole.
    stoppedCopy(kHalfCopied);
    WriteBytes(ReleaseInstall::TempPath(2, u".TP"_s), "new");
    publish(kStamp,
            {{kRoot + u"DOC\\a.txt"_s, "new a"},
             {kRoot + u"DOC\\b.txt"_s, "new b"},
             {kRoot + u"DOC\\NEW\\c.txt"_s, "new c"}});
    UpdateRun run;
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Done) << run.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/b.txt"_s)), "new b");
    EXPECT_EQ(installedStamp(), kStamp);
}

TEST_P(RecoveryCase, ARecordThatCannotBeWrittenIsSaidAsItIsAndTheNextRunWritesIt)
{
    WriteBytes(install.path(u"DOC/a.txt"_s), "old a");
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "new a"}});
    Execute(gSystemConn,
            u"CREATE TRIGGER NoStamp BEFORE UPDATE ON Info1 WHEN NEW.Name1 = '화일복사:변경날짜' "
            "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"_s);
    {
        frmUpdate1 window;
        window.delayElapsed();
        window.jobTick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.run().finished(); }, 60000));
        EXPECT_EQ(window.run().outcome(), UpdateRun::Outcome::Failed);
        EXPECT_TRUE(window.run().unfinished());
        EXPECT_EQ(LabelText(window, u"lblMsg51"), u"중단: 업데이트를 마치지 못하였습니다."_s);
        EXPECT_TRUE(install.messages.last().contains(u"모두 설치하였으나"_s)) << install.messages.last().toStdString();
    }
    // The new file is in place; what an undo would need is still there, and the record says what is left.
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "new a");
    EXPECT_EQ(ReadBytes(ReleaseInstall::TempPath(1, u".BK"_s)), "old a");
    EXPECT_TRUE(UpdateFiles::CopyInterrupted());
    EXPECT_EQ(installedStamp(), kDemoStamp);

    Execute(gSystemConn, u"DROP TRIGGER NoStamp"_s);
    UpdateRun next;
    EXPECT_EQ(runToEnd(next), UpdateRun::Outcome::NothingNew) << next.failure().toStdString();
    EXPECT_EQ(installedStamp(), kStamp);
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
}

TEST_P(RecoveryCase, BackupsThatCouldNotBePutBackStayUntilTheyAre)
{
    WriteBytes(install.path(u"DOC/a.txt"_s), "old a");
    WriteBytes(install.path(u"DOC/c.txt"_s), "old c");
    ASSERT_TRUE(QFile::setPermissions(install.path(u"DOC/c.txt"_s), QFile::ReadOwner | QFile::ReadGroup));
    publish(kStamp, {{kRoot + u"DOC\\a.txt"_s, "new a"}, {kRoot + u"DOC\\c.txt"_s, "new c"}});
    const QString blocker = install.path(u"DOC/a.txt.업데이트"_s);

    // c.txt cannot be replaced, and by then a.txt cannot be put back either: where its old bytes would be
    // written first, a folder stands.
    UpdateRun run;
    QObject::connect(&run, &UpdateRun::item, [&](const QString& item, const QString&) {
        if (item.startsWith(u"갱신항목: c.txt  ("_s))
            QDir().mkpath(blocker);
    });
    EXPECT_EQ(runToEnd(run), UpdateRun::Outcome::Failed);
    EXPECT_TRUE(run.unfinished());
    const QString backup = ReleaseInstall::TempPath(1, u".BK"_s);
    EXPECT_TRUE(run.failure().contains(backup)) << run.failure().toStdString();
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "new a");
    EXPECT_EQ(ReadBytes(backup), "old a");

    // The next run tries again before it touches TEMP, and says so while it still cannot.
    UpdateRun again;
    EXPECT_EQ(runToEnd(again), UpdateRun::Outcome::Failed);
    EXPECT_TRUE(again.failure().contains(backup)) << again.failure().toStdString();
    EXPECT_EQ(ReadBytes(backup), "old a");

    // Once it can, the old file is back, and the run goes on with the release.
    ASSERT_TRUE(QDir(blocker).removeRecursively());
    ASSERT_TRUE(QFile::setPermissions(install.path(u"DOC/c.txt"_s), QFile::ReadOwner | QFile::WriteOwner));
    UpdateRun third;
    QByteArray aWhenFetching;
    QObject::connect(&third, &UpdateRun::step, [&](const QString& step) {
        if (step == u"업데이트 화일 받기..."_s)
            aWhenFetching = ReadBytes(install.path(u"DOC/a.txt"_s));
    });
    EXPECT_EQ(runToEnd(third), UpdateRun::Outcome::Done) << third.failure().toStdString();
    EXPECT_EQ(aWhenFetching, "old a");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/a.txt"_s)), "new a");
    EXPECT_EQ(ReadBytes(install.path(u"DOC/c.txt"_s)), "new c");
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, RecoveryCase, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
