// Repeats one writing action of the data layer until it is killed, against the install that
// SURIBALL_ROOT names. It prints "ready" once its databases are open and "done" after every action that
// came back, so that the test kills it while it works and knows how far it got.
//
//   robust_kill_worker save|deletegroup|rank|issue|sync <user ID> <seed>
//
// It also runs the updater once, printing every step and item its window would show as an "event" line,
// and with a number other than 0 stops itself with SIGKILL at that event (or, given a text, at the first
// event that starts with it):
//
//   robust_kill_worker update - <event to die at: its number or the start of its text>
//
// It also runs one action under a fault the test cannot make inside its own process (a file size limit
// standing for a full disk, another user's file rights) and prints how it ended:
//
//   robust_kill_worker fullsave|fullexport <user ID> <file size limit in bytes>
//   robust_kill_worker saveonce <user ID> 0

#include "CouponStore.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Launcher.h"
#include "MessageService.h"
#include "Paths.h"
#include "Query.h"
#include "RankCalc.h"
#include "SafeExport.h"
#include "SafeStore.h"
#include "Settings.h"
#include "TextExport.h"
#include "Transaction.h"
#include "UpdateRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRandomGenerator>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// Nothing is started from here: an updater offered by the synchronisation would outlive the kill.
class NoLauncher final : public Launcher
{
public:
    bool openUrl(const QString&) override { return false; }
    bool openTextFile(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    int runProgram(const QString&, const QStringList&) override { return -1; }
};

void say(const char* line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QStringList randomGames(QRandomGenerator& random, int count)
{
    QStringList games;
    games.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::vector<int> numbers;
        while (numbers.size() < 6) {
            const int n = int(random.bounded(1, 46));
            if (std::find(numbers.begin(), numbers.end(), n) == numbers.end())
                numbers.push_back(n);
        }
        std::sort(numbers.begin(), numbers.end());
        QString text;
        for (int n : numbers)
            text += QString::number(n).rightJustified(2, u'0');
        games.append(text);
    }
    return games;
}

void openDatabases(const QString& userId)
{
    gUserID = userId;
    gUserDbPath = InstallPaths::userDb(userId);
    OpenSystemDb();
    OpenUserDb();
}

[[noreturn]] void saveLoop(QRandomGenerator& random)
{
    for (qint64 k = 0;; ++k) {
        const QStringList games = randomGames(random, 999);
        SafeStore::SaveGames(1 + k % 50, games, u"메모 "_s + QString::number(k), u"저장"_s + QString::number(k % 7));
        say("done");
    }
}

[[noreturn]] void deleteGroupLoop(QRandomGenerator& random)
{
    for (qint64 k = 0;; ++k) {
        const qint64 drawNo = 1 + k % 20;
        const QString group = u"삭제"_s + QString::number(k % 5);
        SafeStore::SaveGames(drawNo, randomGames(random, 999), QString(), group);
        say("saved");
        SafeStore::DeleteGroupGames(drawNo, group);
        say("done");
    }
}

[[noreturn]] void rankLoop(qint64 drawNo)
{
    const RankCalc::DrawResult result = RankCalc::ReadDrawResult(drawNo);
    for (;;) {
        {
            Transaction transaction(gUserConn);
            Execute(gUserConn, u"UPDATE List1 SET Top1 = '9', Kum1 = 0 WHERE BokNo = ?"_s, {drawNo});
            Execute(gUserConn, u"UPDATE Bok1 SET Tag1 = '0' WHERE BokNo = ?"_s, {drawNo});
            transaction.commit();
        }
        say("pending");
        RankCalc::EvaluatePending(drawNo, result);
        say("done");
    }
}

[[noreturn]] void issueLoop(QRandomGenerator& random, qint64 drawNo)
{
    for (;;) {
        if (CouponStore::CountGames(drawNo).unissued < 250) {
            CouponStore::AddGames(drawNo, randomGames(random, 1000));
            say("stocked");
        }
        const CouponStore::IssueRun run = CouponStore::IssueCoupons(drawNo, 50, 5);
        if (run.refusal) {
            std::fputs(run.refusal->toUtf8().constData(), stderr);
            std::exit(3);
        }
        say("issued");
        CouponStore::FinishIssue();
        say("done");
    }
}

// The synchronisation starts from a state that has everything to copy again: the local draws and the
// ticker gone with their stamps, and the draw rows above 600 gone.
[[noreturn]] void syncLoop()
{
    for (;;) {
        {
            Transaction transaction(gSystemConn);
            Execute(gSystemConn, u"DELETE FROM BokList"_s);
            Execute(gSystemConn, u"DELETE FROM Hot1"_s);
            WriteInfo(u"업데이트"_s, u"복권:변경날짜"_s, QString());
            WriteInfo(u"업데이트"_s, u"전광판:변경회차"_s, QString());
            transaction.commit();
        }
        Execute(gUserConn, u"DELETE FROM Bok1 WHERE BokNo > 600"_s);
        say("reset");
        SyncDrawResults();
        say("done");
    }
}

// Files may grow to `bytes` and no further: a write beyond fails with EFBIG, as on a full disk, instead
// of the signal that would end the process.
void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit {bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// What the member would be told goes to the output for the test to read.
class PrintedMessages final : public MessageService
{
public:
    MsgAnswer show(const QString& text, MsgIcon, MsgButtons, const QString&) override
    {
        std::printf("message %s\n", text.toUtf8().replace('\n', ' ').constData());
        std::fflush(stdout);
        return MsgAnswer::Ok;
    }
};

int runOnce(const QString& action, qint64 limit)
{
    QRandomGenerator random(7);
    try {
        if (action == u"fullsave"_s) {
            const QStringList games = randomGames(random, 20000);
            limitFileSize(rlim_t(limit));
            const auto refusal = SafeStore::SaveGames(1200, games, u"디스크"_s, u"디스크"_s);
            say(refusal ? "refused" : "saved");
        } else if (action == u"saveonce"_s) {
            const auto refusal = SafeStore::SaveGames(1200, randomGames(random, 10), u"읽기"_s, u"읽기"_s);
            say(refusal ? "refused" : "saved");
        } else if (action == u"fullexport"_s) {
            limitFileSize(rlim_t(limit));
            TextExport file(TextExport::PathFor(u"복권금고_"_s));
            SafeExport lines(file, 1200);
            SafeStore::ForEachTicket({1200}, [&lines](const SafeStore::Ticket& t) { lines.add(t); });
            lines.finish();
            say(file.publish() ? "saved" : "failed");
        } else {
            return 2;
        }
    } catch (const SqlError& error) {
        std::printf("error %s\n", LocalDbErrorText(error).toUtf8().constData());
    }
    return 0;
}

// One run of the updater on the install, as the updater program makes it once its window is up.
int updateOnce(const QString& dieAt)
{
    UpdateRun run;
    int events = 0;
    auto event = [&](const QString& text) {
        std::printf("event %d %s\n", ++events, text.toUtf8().constData());
        std::fflush(stdout);
        if (QString::number(events) == dieAt
            || (!dieAt.isEmpty() && !dieAt.front().isDigit() && text.startsWith(dieAt)))
            std::raise(SIGKILL);
    };
    QObject::connect(&run, &UpdateRun::step, event);
    QObject::connect(&run, &UpdateRun::item, [&](const QString& item, const QString&) { event(item); });
    QEventLoop loop;
    QObject::connect(&run, &UpdateRun::ended, &loop, &QEventLoop::quit);
    run.start();
    if (!run.finished())
        loop.exec();
    if (!run.failure().isEmpty())
        std::fprintf(stderr, "%s\n", run.failure().toUtf8().constData());
    std::printf("done %d\n", int(run.outcome()));
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fputs("usage: robust_kill_worker save|deletegroup|rank|issue|sync <user ID> <seed>\n", stderr);
        return 2;
    }
    NoLauncher launcher;
    Launcher::install(&launcher);
    const QString action = QString::fromUtf8(argv[1]);
    QRandomGenerator random(quint32(QByteArray(argv[3]).toUInt()));
    PrintedMessages messages;
    MessageService::install(&messages);
    try {
        if (action == u"update"_s) {
            OpenSystemDb();
            say("ready");
            return updateOnce(QString::fromUtf8(argv[3]));
        }
        openDatabases(QString::fromUtf8(argv[2]));
        say("ready");
        if (action == u"fullsave"_s || action == u"fullexport"_s || action == u"saveonce"_s)
            return runOnce(action, QByteArray(argv[3]).toLongLong());
        if (action == u"save"_s)
            saveLoop(random);
        if (action == u"deletegroup"_s)
            deleteGroupLoop(random);
        if (action == u"rank"_s)
            rankLoop(1200);
        if (action == u"issue"_s)
            issueLoop(random, 1201);
        if (action == u"sync"_s)
            syncLoop();
    } catch (const SqlError& error) {
        std::fputs(LocalDbErrorText(error).toUtf8().constData(), stderr);
        return 1;
    }
    std::fputs("unknown action\n", stderr);
    return 2;
}
