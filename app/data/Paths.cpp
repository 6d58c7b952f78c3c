#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace InstallPaths {

QString root()
{
#ifdef Q_OS_WIN
    const QString fallback = u"C:/VELTRA/수리볼"_s;
#else
    const QString fallback = QDir::home().filePath(u"VELTRA/수리볼"_s);
#endif
    const QString fromEnv = qEnvironmentVariable("SURIBALL_ROOT");
    return QDir::cleanPath(fromEnv.isEmpty() ? fallback : QDir(fromEnv).absolutePath());
}

static QString under(const QString& relative) { return QDir(root()).filePath(relative); }

QString binDir() { return under(u"BIN"_s); }
QString dataDir() { return under(u"DATA"_s); }
QString prDir() { return under(u"PR"_s); }
QString docDir() { return under(u"DOC"_s); }
QString tempDir() { return under(u"TEMP"_s); }

QString systemDb() { return under(u"BIN/SYSTEM.mdb"_s); }
QString userDbTemplate() { return under(u"BIN/id_veltra.mdb"_s); }
QString userDb(const QString& userId) { return QDir(dataDir()).filePath((u"id_"_s + userId + u".mdb"_s).toLower()); }
QString systemIfo() { return under(u"BIN/SYSTEM.IFO"_s); }
QString prIfo() { return under(u"PR/PR.IFO"_s); }
QString dateFormatHelp() { return under(u"DOC/날짜형식오류.TXT"_s); }
QString updateKey() { return under(u"BIN/UPDATE.KEY"_s); }
QString updateNote() { return under(u"BIN/UPDATE.NOTE"_s); }
QString updateJournal() { return under(u"TEMP/UPDATE.RUN"_s); }

#ifdef Q_OS_WIN
QString mainProgram() { return under(u"수리볼.exe"_s); }
QString updaterProgram() { return under(u"업데이트.exe"_s); }
#else
QString mainProgram() { return under(u"수리볼"_s); }
QString updaterProgram() { return under(u"업데이트"_s); }
#endif

QString resolve(const QString& path)
{
    if (path.isEmpty())
        return root();
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : under(path));
}

} // namespace InstallPaths

namespace ProgramFiles {

namespace {

QString firstExisting(const QStringList& candidates)
{
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    }
    return QString();
}

QString beside(const QString& dir, const QString& folder, const QString& name)
{
    return firstExisting({QDir(dir).filePath(name), QDir(dir).filePath(u"../"_s + folder + u'/' + name)});
}

} // namespace

QString setupTool()
{
    const QString found = beside(QCoreApplication::applicationDirPath(), u"setup"_s, u"suriball-setup"_s);
    return found.isEmpty() ? u"suriball-setup"_s : found;
}

QString mainProgramBeside(const QString& setupToolDir)
{
    return beside(setupToolDir, u"app"_s, QFileInfo(InstallPaths::mainProgram()).fileName());
}

QString updaterProgramBeside(const QString& setupToolDir)
{
    return beside(setupToolDir, u"updater"_s, QFileInfo(InstallPaths::updaterProgram()).fileName());
}

} // namespace ProgramFiles
