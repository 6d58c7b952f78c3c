#include "ReleaseInstall.h"

#include "Database.h"
#include "FilePlacement.h"
#include "Globals.h"
#include "Paths.h"
#include "Query.h"
#include "Settings.h"
#include "Transaction.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace ReleaseInstall {

namespace {

QString grouped(qint64 n) { return QLocale(QLocale::English).toString(n); }

QString phaseName(Job::Phase phase)
{
    switch (phase) {
    case Job::Phase::Copying:
        return u"copying"_s;
    case Job::Phase::Recording:
        return u"recording"_s;
    case Job::Phase::Undoing:
        return u"undoing"_s;
    }
    return QString();
}

void say(const Report& report, const QString& step)
{
    if (report.step)
        report.step(step);
}

void show(const Report& report, const QString& item, const QString& target)
{
    if (report.item)
        report.item(item, target);
}

QString tp(const File& file) { return TempPath(file.number, u".TP"_s); }
QString bk(const File& file) { return TempPath(file.number, u".BK"_s); }

// The backups, the temporary files and last the record: what is left of a run that has ended.
void cleanUp(const Job& job, const Report& report)
{
    say(report, u"다운받은 임시화일 삭제..."_s);
    for (const File& file : job.files) {
        show(report, u"갱신화일: "_s + tp(file), u"원본화일: "_s + bk(file));
        QFile::remove(tp(file));
        QFile::remove(bk(file));
        QFile::remove(FilePlacement::StagingPath(file.path));
    }
    QFile::remove(InstallPaths::updateJournal());
}

// Every target that holds its new bytes gets its old ones back; one that does not was never replaced.
Outcome undo(Job job, const QString& failure, const Report& report)
{
    job.phase = Job::Phase::Undoing;
    QString ignored;
    WriteJournal(job, &ignored);
    say(report, u"원래 화일로 되돌리기..."_s);
    QStringList unrestored;
    for (auto it = job.files.crbegin(); it != job.files.crend(); ++it) {
        const File& file = *it;
        QFile::remove(FilePlacement::StagingPath(file.path));
        if (FilePlacement::Sha256Of(file.path) != file.sha256)
            continue;
        QString error;
        if (!file.existed) {
            if (!QFile::remove(file.path) && QFileInfo::exists(file.path))
                unrestored.append(file.path + u" (지울 수 없습니다)"_s);
            continue;
        }
        // Without a backup the target had these very bytes before the run.
        if (QFileInfo::exists(bk(file)) && !FilePlacement::Restore(file.path, bk(file), true, &error))
            unrestored.append(file.path + u" ← "_s + bk(file) + u" ("_s + error + u')');
    }
    if (unrestored.isEmpty()) {
        cleanUp(job, report);
        return {Result::NotInstalled, failure + u"\n\n이번에 바꾼 화일은 모두 원래대로 되돌렸습니다."_s};
    }
    return {
        Result::Unrestored,
        failure
            + u"\n\n다음 화일을 원래대로 되돌리지 못하였습니다. 원본은 임시 폴더에 남겨 두었으며, 다음에 업데이트가 시작될 때 다시 되돌립니다:\n"_s
            + unrestored.join(u'\n')};
}

Outcome place(Job& job, const File& file, const Report& report)
{
    show(report, u"갱신항목: "_s + file.name + u"  ("_s + grouped(file.size) + u')', u"대상폴더: "_s + file.target);
    QString error;
    if (FilePlacement::Place(tp(file), file.path, bk(file), &error))
        return {Result::Installed, QString()};
    return undo(job,
                u"업데이트 화일 ["_s + file.name + u"]: 설치하지 못하였습니다: "_s + file.path + u" ("_s + error + u')',
                report);
}

// Every file is in place: the release is recorded, and only then does what was kept for an undo go.
Outcome finish(Job job, const Report& report)
{
    job.phase = Job::Phase::Recording;
    QString ignored;
    // Without it a stop now finds "copying" with every target new, and goes forward just the same.
    WriteJournal(job, &ignored);
    say(report, u"최종 재설정 작업..."_s);
    try {
        Record(job);
    } catch (const SqlError& error) {
        return {Result::NotRecorded,
                u"새 화일은 모두 설치하였으나 설치한 것을 기록하지 못하였습니다: "_s + error.message()
                    + u"\n\n다음에 업데이트가 시작될 때 기록을 마칩니다."_s};
    }
    cleanUp(job, report);
    return {Result::Installed, QString()};
}

} // namespace

QString TempPath(int number, const QString& suffix)
{
    return QDir(InstallPaths::tempDir()).filePath(u"TEMP"_s + QString::number(number).rightJustified(4, u'0') + suffix);
}

bool WriteJournal(const Job& job, QString* error)
{
    QJsonArray files;
    for (const File& f : job.files) {
        files.append(QJsonObject {{u"name"_s, f.name},
                                  {u"target"_s, f.target},
                                  {u"path"_s, f.path},
                                  {u"date"_s, f.date},
                                  {u"size"_s, double(f.size)},
                                  {u"sha256"_s, QString::fromLatin1(f.sha256.toHex())},
                                  {u"number"_s, f.number},
                                  {u"existed"_s, f.existed}});
    }
    const QJsonObject root {{u"phase"_s, phaseName(job.phase)},
                            {u"stamp"_s, job.stamp},
                            {u"key"_s, QString::fromLatin1(job.newKey.toBase64())},
                            {u"files"_s, files}};
    const QByteArray bytes = QJsonDocument(root).toJson();
    QDir().mkpath(InstallPaths::tempDir());
    // QSaveFile puts the whole record in place in one step, after it is on the disk.
    QSaveFile file(InstallPaths::updateJournal());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

std::optional<Job> ReadJournal(QString* damaged)
{
    QFile file(InstallPaths::updateJournal());
    if (!file.exists())
        return std::nullopt;
    const QString unreadable = u"지난번 업데이트의 복사 기록을 읽을 수 없습니다: "_s + file.fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        *damaged = unreadable;
        return std::nullopt;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    Job job;
    const QString phase = root.value(u"phase"_s).toString();
    if (phase == u"copying"_s)
        job.phase = Job::Phase::Copying;
    else if (phase == u"recording"_s)
        job.phase = Job::Phase::Recording;
    else if (phase == u"undoing"_s)
        job.phase = Job::Phase::Undoing;
    else {
        *damaged = unreadable;
        return std::nullopt;
    }
    job.stamp = root.value(u"stamp"_s).toString();
    job.newKey = QByteArray::fromBase64(root.value(u"key"_s).toString().toLatin1());
    for (const QJsonValue& value : root.value(u"files"_s).toArray()) {
        const QJsonObject f = value.toObject();
        File file;
        file.name = f.value(u"name"_s).toString();
        file.target = f.value(u"target"_s).toString();
        file.path = f.value(u"path"_s).toString();
        file.date = f.value(u"date"_s).toString();
        file.size = qint64(f.value(u"size"_s).toDouble());
        file.sha256 = QByteArray::fromHex(f.value(u"sha256"_s).toString().toLatin1());
        file.number = f.value(u"number"_s).toInt();
        file.existed = f.value(u"existed"_s).toBool();
        if (file.path.isEmpty() || file.number <= 0 || file.sha256.size() != 32) {
            *damaged = unreadable;
            return std::nullopt;
        }
        job.files.append(file);
    }
    return job;
}

void Record(const Job& job)
{
    // The run may have replaced the system database itself: what follows goes into the file now in place.
    if (!job.files.isEmpty()) {
        gSystemConn.close();
        gSystemConn = OpenSystemDatabase(InstallPaths::systemDb());
    }
    if (!job.newKey.isEmpty()) {
        // Before the stamp: a stop between the two finds the release unrecorded and writes both again.
        QString error;
        if (!UpdateFiles::WriteKeyFile(InstallPaths::updateKey(), job.newKey, false, &error))
            throw SqlError(u"새 업데이트 열쇠를 쓸 수 없습니다: "_s + InstallPaths::updateKey() + u" ("_s + error
                               + u')',
                           QString(),
                           QString());
    }
    Transaction transaction(gSystemConn);
    Execute(gSystemConn, u"UPDATE Update1 SET FileNo1 = 0 WHERE FileNo1 <> 0"_s);
    Query remove(gSystemConn, u"DELETE FROM Update1 WHERE Name1 = ?"_s);
    Query insert(gSystemConn, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,FileNo1) VALUES (?,?,?,?,?)"_s);
    for (const File& file : job.files) {
        remove.run({file.name});
        insert.run({file.name, file.target, file.size, file.date, file.number});
    }
    WriteInfo(u"업데이트"_s, u"화일복사:변경날짜"_s, job.stamp);
    transaction.commit();
}

Outcome Complete(Job job, const Report& report)
{
    job.phase = Job::Phase::Copying;
    QString error;
    if (!WriteJournal(job, &error))
        return {Result::NotInstalled,
                u"복사 기록을 쓸 수 없어 아무 화일도 바꾸지 않았습니다: "_s + InstallPaths::updateJournal() + u" ("_s
                    + error + u')'};
    say(report, u"다운받은 화일 복사..."_s);
    for (const File& file : std::as_const(job.files)) {
        const Outcome placed = place(job, file, report);
        if (placed.result != Result::Installed)
            return placed;
    }
    return finish(job, report);
}

Outcome Resume(Job job, const Report& report)
{
    say(report, u"지난번에 마치지 못한 업데이트 정리..."_s);
    switch (job.phase) {
    case Job::Phase::Recording:
        return finish(job, report);
    case Job::Phase::Undoing:
        return undo(job, u"지난번 업데이트는 설치하지 못하였습니다."_s, report);
    case Job::Phase::Copying:
        break;
    }
    // Forward only when every file not yet in place is still whole in TEMP, as it was checked on arrival.
    QList<const File*> missing;
    for (const File& file : std::as_const(job.files)) {
        if (FilePlacement::Sha256Of(file.path) == file.sha256)
            continue;
        if (FilePlacement::Sha256Of(tp(file)) != file.sha256)
            return undo(job, u"지난번 업데이트의 받은 화일이 온전하지 않아 설치하지 못하였습니다."_s, report);
        missing.append(&file);
    }
    say(report, u"다운받은 화일 복사..."_s);
    for (const File* file : std::as_const(missing)) {
        const Outcome placed = place(job, *file, report);
        if (placed.result != Result::Installed)
            return placed;
    }
    return finish(job, report);
}

} // namespace ReleaseInstall
