// Many members starting at once against the PostgreSQL test server (SURIBALL_TEST_PG…): each start is the
// program's own login and synchronisation of one new draw, run by one of a pool of worker processes (each
// with an install of its own, made before the clock starts, as every member has its own computer), each
// with its own server connections. The members have started before (a first round, not measured, makes
// their files), so each start is a returning member's. 200 starts are spread evenly over 10 seconds; the
// time of a start runs from the moment it was due, so that a start kept waiting counts. The same is then
// done faster, until the 99th percentile passes one second: the burst rate the server takes.
//
//     bench_load [STARTS] [WORKERS]
#include "BenchSupport.h"
#include "Database.h"
#include "DrawProgress.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "LoginService.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "ServerTrust.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <deque>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kPassword = u"member"_s;
const QDate kToday(2025, 12, 8);

QString memberId(int k) { return u"m"_s + QString::number(k % 200 + 1).rightJustified(3, u'0'); }

// A worker: starts of the program on its own install, one after another as the parent asks, each
// answered with its own time; between two starts the install goes back to the day before.
int worker()
{
    bench::QuietMessages quiet;
    MessageService::install(&quiet);
    bench::NoLauncher launcher;
    Launcher::install(&launcher);
    SetEndProgramHandler([](int code) { throw std::runtime_error("end " + std::to_string(code)); });
    OpenSystemDb();
    // The stamps of the day before: each start then copies the new draw and rebuilds the ticker again.
    const QString drawsStamp = ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s);
    const QString tickerDraw = ReadInfo(u"업데이트"_s, u"전광판:변경회차"_s);
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QString id = QString::fromStdString(line).trimmed();
        QElapsedTimer t;
        t.start();
        const double cpu = bench::CpuMs();
        QString outcome = u"ok"_s;
        try {
            if (LoginService().login(id, kPassword, false).outcome != LoginService::Outcome::LoggedIn)
                outcome = u"refused"_s;
            else
                SyncDrawResults();
        } catch (const std::exception& error) {
            outcome = u"failed:"_s + QString::fromLocal8Bit(error.what()).simplified();
        }
        std::cout << outcome.toStdString() << ' ' << t.nsecsElapsed() / 1000 << ' '
                  << qint64((bench::CpuMs() - cpu) * 1000) << std::endl;
        // The program ends after its day; the next start is a new one.
        gServerConn.close();
        gUserConn.close();
        WriteInfo(u"업데이트"_s, u"복권:변경날짜"_s, drawsStamp);
        WriteInfo(u"업데이트"_s, u"전광판:변경회차"_s, tickerDraw);
    }
    return 0;
}

struct Worker
{
    std::unique_ptr<QProcess> process;
    QByteArray pending;
    int start = -1; // the start it runs, or -1 when idle
};

struct Round
{
    std::vector<double> latenciesMs; // from the moment each start was due
    double clientCpuMs = 0; // the program's own processor time, all starts together
    int failed = 0;
    QString firstFailure;
};

// The processor time of the server's processes so far, those that ended included (the postmaster counts
// its children's when they end), when the test server's folder is at hand; 0 otherwise.
double serverCpuMs()
{
    QFile pidFile(QDir(qEnvironmentVariable("SURIBALL_TEST_PG_DIR")).filePath(u"data/postmaster.pid"_s));
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray postmaster = pidFile.readLine().trimmed();
    const double tick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    auto times = [&](const QString& statFile, bool children) {
        QFile f(statFile);
        if (!f.open(QIODevice::ReadOnly))
            return 0.0;
        const QByteArray stat = f.readAll();
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        // utime, stime, cutime, cstime are fields 14 to 17 of the line, 12 to 15 after the name.
        double sum = fields.value(11).toDouble() + fields.value(12).toDouble();
        if (children)
            sum += fields.value(13).toDouble() + fields.value(14).toDouble();
        return sum * tick;
    };
    double total = times(u"/proc/"_s + QString::fromLatin1(postmaster) + u"/stat"_s, true);
    QDirIterator it(u"/proc"_s, QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString dir = it.next();
        QFile status(dir + u"/stat"_s);
        if (!status.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = status.readAll();
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.value(1) == postmaster) // its parent is the postmaster
            total += times(dir + u"/stat"_s, false);
    }
    return total;
}

// Runs starts at the given rate through the workers and waits for every one.
Round run(std::vector<Worker>& workers, int starts, double perSecond, int offset)
{
    Round round;
    std::vector<qint64> due(size_t(starts), 0);
    std::deque<int> waiting;
    int next = 0;
    int finished = 0;
    QElapsedTimer clock;
    QEventLoop loop;

    auto dispatch = [&] {
        for (Worker& w : workers) {
            if (waiting.empty())
                return;
            if (w.start >= 0)
                continue;
            w.start = waiting.front();
            waiting.pop_front();
            w.process->write(memberId(offset + w.start).toUtf8() + '\n');
        }
    };
    for (Worker& w : workers) {
        QObject::connect(w.process.get(), &QProcess::readyReadStandardOutput, &loop, [&, wp = &w] {
            wp->pending += wp->process->readAllStandardOutput();
            qsizetype end;
            while ((end = wp->pending.indexOf('\n')) >= 0) {
                const QString reply = QString::fromUtf8(wp->pending.left(end));
                wp->pending.remove(0, end + 1);
                const double latency = double(clock.nsecsElapsed() - due[size_t(wp->start)]) / 1e6;
                if (reply.startsWith(u"ok "_s)) {
                    round.latenciesMs.push_back(latency);
                    round.clientCpuMs += reply.section(u' ', 2, 2).toDouble() / 1000.0;
                } else {
                    ++round.failed;
                    if (round.firstFailure.isEmpty())
                        round.firstFailure = reply;
                }
                wp->start = -1;
                if (++finished == starts)
                    loop.quit();
            }
            dispatch();
        });
    }
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        // Every start whose moment has come is due now, at the moment it was meant for.
        while (next < starts && clock.nsecsElapsed() >= qint64(double(next) * 1e9 / perSecond)) {
            due[size_t(next)] = qint64(double(next) * 1e9 / perSecond);
            waiting.push_back(next++);
        }
        dispatch();
        if (next == starts)
            timer.stop();
    });
    clock.start();
    timer.start(1);
    loop.exec();
    for (Worker& w : workers)
        QObject::disconnect(w.process.get(), nullptr, &loop, nullptr);
    return round;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(std::ceil(p * double(values.size())) - 1));
    return values[index];
}

// What no start can do without, in processor time of the server: a new connection (TLS, the password
// exchange and a fresh server process, which ends after it) and one check of a password at the cost the
// server keeps them. With the starts' rate it says how much of the machine's processors they take before
// the program's own work; above all of them, no percentile holds.
void floorOfAStart(const ServerCatalog::PostgresAdmin& admin, QTextStream& out)
{
    constexpr int kConnections = 40;
    constexpr int kChecks = 10;
    Connection::PostgresTarget target = admin.target(QString::fromUtf16(kServerCatalog));
    target.user = QString::fromUtf16(kServerUser);
    target.password = QString::fromUtf16(kServerPassword);
    double before = serverCpuMs();
    for (int i = 0; i < kConnections; ++i) {
        Connection c = Connection::openPostgres(target);
        Query(c, u"SELECT 1"_s).run();
    }
    // The last server process may still be ending: its time is counted once it has.
    QThread::msleep(200);
    const double connection = (serverCpuMs() - before) / kConnections;
    const Connection owner = admin.connect(QString::fromUtf16(kServerCatalog));
    Query check(owner, u"SELECT crypt(?, gen_salt('bf', 10)) AS h"_s);
    before = serverCpuMs();
    for (int i = 0; i < kChecks; ++i)
        check.run({kPassword});
    const double bcrypt = (serverCpuMs() - before) / kChecks;
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    out << "the least a start costs the server: a new connection " << QString::number(connection, 'f', 1)
        << " ms and one password check at bcrypt cost 10 " << QString::number(bcrypt, 'f', 1)
        << " ms of processor time; at 20 starts a second that is "
        << QString::number((connection + bcrypt) * 20.0 / 10.0 / double(cores), 'f', 0) << " % of the " << cores
        << " processors" << Qt::endl;
    const QStringList notPreloaded = ServerTrust::LibrariesNotPreloaded(owner);
    if (!notPreloaded.isEmpty())
        out << "the server loads " << notPreloaded.join(u", "_s)
            << " in every new server process (not in shared_preload_libraries): each start pays for it" << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == u"--worker"_s)
        return worker();
    QTextStream out(stdout);
    const auto admin = ServerCatalog::TestServerFromEnvironment();
    if (!admin) {
        out << "bench_load needs the PostgreSQL test server (source scripts/test-postgres.sh start)" << Qt::endl;
        return 0;
    }
    const int starts = args.value(1, u"200"_s).toInt();
    const int workerCount = args.value(2, u"40"_s).toInt();
    bench::QuietMessages quiet;
    MessageService::install(&quiet);

    // The service: the demo catalog and 200 members more, one password hashed once for all of them.
    QTemporaryDir base;
    ServerCatalog::createPostgres(*admin, true, true, kToday, QString::fromUtf16(bench::kPublisherPassword));
    {
        const Connection owner = admin->connect(QString::fromUtf16(kServerCatalog));
        Execute(owner,
                u"INSERT INTO Member (ID1, Pwd, Name1, JuminNo1, Email1, Level1, State1, Login2) "
                "SELECT 'm' || lpad(g::text, 3, '0'), (SELECT crypt(?, gen_salt('bf', 10))), '회원', '', '', '1', "
                "'1', '' FROM generate_series(1, 200) g"_s,
                {kPassword});
    }
    // An install as each member has it, up to date until the draw about to come.
    const QString model = QDir(base.path()).filePath(u"model"_s);
    Installer::Options options;
    options.root = model;
    options.server = admin->serverSetting();
    options.serverCa = admin->caFile;
    Installer::install(options);
    OpenSystemDb();
    LoginService().login(memberId(0), kPassword, false);
    SyncDrawResults();
    gServerConn.close();
    gUserConn.close();
    gSystemConn.close();
    // Draw 1201 drawn, 1202 on sale: what every start now copies.
    bench::DrawOneMore(admin->connect(QString::fromUtf16(kServerCatalog)));

    std::vector<Worker> workers(static_cast<size_t>(workerCount));
    for (int i = 0; i < workerCount; ++i) {
        const QString root = QDir(base.path()).filePath(u"w"_s + QString::number(i));
        for (const char16_t* folder : {u"BIN", u"PR", u"DOC"}) {
            const QString name = QString::fromUtf16(folder);
            Installer::CopyFiles(QDir(model).filePath(name), QDir(root).filePath(name));
        }
        QDir(root).mkpath(u"TEMP"_s);
        // The members' own files are one set, whichever worker starts a member: a member starts once at a
        // time, as on its own computer.
        QFile::link(QDir(model).filePath(u"DATA"_s), QDir(root).filePath(u"DATA"_s));
        Worker& w = workers[size_t(i)];
        w.process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"SURIBALL_ROOT"_s, root);
        w.process->setProcessEnvironment(env);
        w.process->setProcessChannelMode(QProcess::SeparateChannels);
        w.process->setStandardErrorFile(QProcess::nullDevice());
        w.process->start(QCoreApplication::applicationFilePath(), {u"--worker"_s});
    }
    for (Worker& w : workers) {
        while (!w.pending.contains("ready\n") && w.process->waitForReadyRead(30000))
            w.pending += w.process->readAllStandardOutput();
        w.pending.clear();
    }

    out << starts << " starts (login and synchronisation of one new draw), " << workerCount
        << " worker processes, PostgreSQL " << admin->serverSetting() << " over TLS" << Qt::endl;
    floorOfAStart(*admin, out);
    // Every member's first start, which makes the member's file: not measured.
    run(workers, 200, 20.0, 0);
    int offset = 0;
    auto measure = [&](double rate) {
        const double serverBefore = serverCpuMs();
        const Round round = run(workers, starts, rate, offset);
        const double serverCpu = serverCpuMs() - serverBefore;
        offset += starts;
        const double p99 = percentile(round.latenciesMs, 0.99);
        out << QString::number(rate, 'f', 0) << " starts a second: p50 "
            << QString::number(percentile(round.latenciesMs, 0.5), 'f', 0) << " ms, p99 "
            << QString::number(p99, 'f', 0) << " ms, max "
            << QString::number(percentile(round.latenciesMs, 1.0), 'f', 0) << " ms, " << round.failed << " failed"
            << (round.firstFailure.isEmpty() ? QString() : u" ("_s + round.firstFailure + u')')
            << "; processor time per start: program " << QString::number(round.clientCpuMs / starts, 'f', 1)
            << " ms, server " << QString::number(serverCpu / starts, 'f', 1) << " ms" << Qt::endl;
        return p99 <= 1000.0 && round.failed == 0;
    };
    // The starts spread over ten seconds; then from slow to fast, to where the 99th percentile passes a second.
    measure(double(starts) / 10.0);
    double held = 0;
    for (double rate : {5.0, 10.0, 15.0, 20.0, 25.0, 30.0, 40.0, 60.0, 80.0, 120.0}) {
        if (!measure(rate)) {
            out << "the 99th percentile passes one second between " << QString::number(held, 'f', 0) << " and "
                << QString::number(rate, 'f', 0) << " starts a second" << Qt::endl;
            break;
        }
        held = rate;
    }
    for (Worker& w : workers) {
        w.process->closeWriteChannel();
        w.process->waitForFinished(10000);
    }
    return 0;
}
