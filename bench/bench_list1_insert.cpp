// Inserting List1 rows: 100,000 rows in one transaction through the statement layer and bound straight to
// SQLite as a save of games does, against the same rows one autocommit statement at a time (capped, since
// every such statement waits for the disk).
#include "BenchSupport.h"
#include "Database.h"
#include "Installer.h"
#include "Paths.h"
#include "Query.h"
#include "RowReader.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>
#include <time.h>

using namespace Qt::StringLiterals;

namespace {

QString gameText(int i)
{
    QString text;
    for (int k = 0; k < 6; ++k)
        text += QString::number(1 + (i * 7 + k * 8) % 45).rightJustified(2, u'0');
    return text;
}

Connection freshUserDb(const QString& name)
{
    const QString path = InstallPaths::userDb(name);
    QFile::remove(path);
    QFile::copy(InstallPaths::userDbTemplate(), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return OpenUserDatabase(path);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const double autocommitSeconds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : 10.0;
    QTemporaryDir dir;
    Installer::Options options;
    options.root = dir.path();
    Installer::install(options);
    QTextStream out(stdout);

    QStringList games;
    games.reserve(rows);
    for (int i = 1; i <= rows; ++i)
        games.append(gameText(i));

    const QString insert = u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,'9',0,?)"_s;
    // One transaction of every row, timed on the clock and, since others' work on a shared machine stretches
    // the clock, by the process's own time too.
    const auto timed
        = [&](const QString& name, const QString& label, const std::function<void(const Connection&)>& write) {
              Connection db = freshUserDb(name);
              QElapsedTimer timer;
              timer.start();
              const double cpuStart = bench::CpuMs() / 1e3;
              Transaction transaction(db);
              write(db);
              transaction.commit();
              const double seconds = double(timer.nsecsElapsed()) / 1e9;
              const double cpu = bench::CpuMs() / 1e3 - cpuStart;
              out << label << rows << " rows in " << QString::number(seconds, 'f', 3)
                  << " s = " << qint64(rows / seconds) << " rows/s (cpu " << QString::number(cpu, 'f', 3)
                  << " s = " << qint64(rows / cpu) << " rows/s)" << Qt::endl;
          };
    timed(u"bulk"_s, u"one transaction: "_s, [&](const Connection& db) {
        Query q(db, insert);
        for (int i = 1; i <= rows; ++i)
            q.run({1201, 0, games[i - 1], i});
    });
    // As a save of games writes them.
    timed(u"bound"_s, u"bound straight:  "_s, [&](const Connection& db) {
        RowReader q(db, insert);
        q.bind(0, 1201).bind(1, 0);
        for (int i = 1; i <= rows; ++i)
            q.bind(2, games[i - 1]).bind(3, i).execute();
    });
    {
        Connection db = freshUserDb(u"single"_s);
        QElapsedTimer timer;
        timer.start();
        Query q(db, insert);
        int done = 0;
        while (done < rows && double(timer.elapsed()) / 1000.0 < autocommitSeconds) {
            ++done;
            q.run({1201, 0, games[done - 1], done});
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        out << "autocommit:      " << done << " rows in " << QString::number(seconds, 'f', 3)
            << " s = " << qint64(done / seconds) << " rows/s" << (done < rows ? " (stopped at the time cap)" : "")
            << Qt::endl;
    }
    return 0;
}
