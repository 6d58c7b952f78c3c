// The updater's run: a signed release of 20 files of 10 MB checked, fetched and installed, from the
// SQLite stand-in and, when SURIBALL_TEST_PG names a server (as scripts/test-postgres.sh sets it), from
// PostgreSQL on loopback; and a run with nothing to fetch (the release checked, every file already
// there). Each run is measured in a process of its own, so that its peak memory is the run's and not the
// publishing's.
#include "BenchSupport.h"
#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "Installer.h"
#include "Paths.h"
#include "Publisher.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "UpdateFiles.h"
#include "UpdateRun.h"
#include "UpdateSignature.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFiles = 20;
constexpr qint64 kFileBytes = 10 * 1024 * 1024;

qint64 peakKilobytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// In the child: one run on the install of SURIBALL_ROOT.
int runOnce()
{
    const qint64 before = peakKilobytes();
    gSystemConn = OpenSystemDatabase(InstallPaths::systemDb());
    UpdateRun run;
    QEventLoop loop;
    QObject::connect(&run, &UpdateRun::ended, &loop, &QEventLoop::quit);
    QElapsedTimer t;
    t.start();
    const double cpuBefore = bench::CpuMs();
    run.start();
    if (!run.finished())
        loop.exec();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    const double cpu = bench::CpuMs() - cpuBefore;
    QTextStream(stdout) << int(run.outcome()) << ' ' << QString::number(ms, 'f', 1) << ' ' << before << ' '
                        << peakKilobytes() << ' ' << run.fileCount() << ' ' << QString::number(cpu, 'f', 1) << Qt::endl;
    if (!run.failure().isEmpty())
        QTextStream(stderr) << run.failure() << Qt::endl;
    gSystemConn.close();
    return 0;
}

QStringList child(const QString& root)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"SURIBALL_ROOT"_s, root);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), {u"--run"_s});
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed().split(u' ');
}

void measure(const QString& engine, QTextStream& out)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    Installer::demo(root, false, QDate(2025, 12, 8));
    if (engine == u"PostgreSQL"_s)
        bench::UseTestServer(QDate(2025, 12, 8));
    QTemporaryDir sources;
    QList<Publisher::Item> items;
    for (int i = 1; i <= kFiles; ++i) {
        QByteArray bytes(kFileBytes, Qt::Uninitialized);
        QRandomGenerator(quint32(i)).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        const QString file = QDir(sources.path()).filePath(QString::number(i));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        items.append(
            {file,
             u"C:\\VELTRA\\수리볼\\DATA\\BENCH\\파일"_s + QString::number(i).rightJustified(2, u'0') + u".BIN"_s});
    }
    const QByteArray key
        = UpdateFiles::ReadKeyFile(QDir(root).filePath(u"SERVER/VELTRA1.key"_s), UpdateSignature::kSecretKeyBytes);
    Publisher::Publish(bench::PublisherConnection(), u"2026120901"_s, key, items);

    const QStringList full = child(root);
    out << engine << ": " << kFiles << " files of 10 MB checked, fetched and installed in " << full.value(1)
        << " ms (cpu " << full.value(5) << " ms; outcome " << full.value(0) << ", " << full.value(4)
        << " files), peak memory " << full.value(3).toLongLong() / 1024 << " MB (" << full.value(2).toLongLong() / 1024
        << " MB before the run)" << Qt::endl;

    // The install forgets which release it holds, but not its files: the release is checked again and
    // nothing is fetched. Seven runs, each a process of its own: one run's time is mostly the server's
    // making of a new connection, which varies from one to the next.
    std::vector<double> times;
    std::vector<double> cpus;
    QString outcome;
    for (int i = 0; i < 7; ++i) {
        {
            const Connection system = Connection::openSqlite(QDir(root).filePath(u"BIN/SYSTEM.mdb"_s));
            Execute(system,
                    u"UPDATE Info1 SET Value1 = '2025120601' WHERE Section1 = '업데이트' AND Name1 = "
                    "'화일복사:변경날짜'"_s);
        }
        const QStringList nothing = child(root);
        times.push_back(nothing.value(1).toDouble());
        cpus.push_back(nothing.value(5).toDouble());
        outcome = nothing.value(0);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpus.begin(), cpus.end());
    out << engine << ": nothing to fetch, the release checked and its stamp written in " << times[3]
        << " ms (median of 7; fastest " << times.front() << ", slowest " << times.back() << " ms; cpu " << cpus[3]
        << " ms; outcome " << outcome << ")" << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (QCoreApplication::arguments().contains(u"--run"_s))
        return runOnce();
    QTextStream out(stdout);
    measure(u"SQLite"_s, out);
    if (!qEnvironmentVariableIsEmpty("SURIBALL_TEST_PG"))
        measure(u"PostgreSQL"_s, out);
    return 0;
}
