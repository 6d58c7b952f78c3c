#include "Clock.h"
#include "Database.h"
#include "Installer.h"
#include "ServerCatalog.h"
#include "SetupError.h"

#include <QCoreApplication>
#include <QHash>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const char16_t kUsage[] = u"사용법:\n"
                          u"  suriball-setup install --root DIR [--server SERVER] [--web URL] [--force]\n"
                          u"  suriball-setup server (--sqlite FILE | --postgres HOST[,PORT]) [--demo] [--force]\n"
                          u"                        [--admin USER] [--admin-password PASSWORD]\n"
                          u"  suriball-setup demo --root DIR [--force]\n"
                          u"\n"
                          u"SERVER는 PostgreSQL 서버의 호스트(포트 2707) 또는 sqlite:화일 입니다.\n"
                          u"--admin의 기본값은 postgres, 암호의 기본값은 환경변수 PGPASSWORD 입니다.\n";

struct Arguments
{
    QString command;
    QHash<QString, QString> values;
    QStringList flags;
};

Arguments parse(const QStringList& args)
{
    static const QStringList withValue
        = {u"--root"_s, u"--server"_s, u"--web"_s, u"--sqlite"_s, u"--postgres"_s, u"--admin"_s, u"--admin-password"_s};
    static const QStringList flags = {u"--demo"_s, u"--force"_s};
    Arguments parsed;
    if (args.size() < 2)
        throw SetupError(QString::fromUtf16(kUsage));
    parsed.command = args[1];
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        if (withValue.contains(a) && i + 1 < args.size())
            parsed.values.insert(a, args[++i]);
        else if (flags.contains(a))
            parsed.flags.append(a);
        else
            throw SetupError(u"알 수 없는 인수입니다: "_s + a + u"\n\n"_s + QString::fromUtf16(kUsage));
    }
    return parsed;
}

int run(const QStringList& args)
{
    const Arguments a = parse(args);
    const bool force = a.flags.contains(u"--force"_s);
    const QDate today = Clock::today();
    QTextStream out(stdout);
    if (a.command == u"install"_s) {
        Installer::Options options;
        options.root = a.values.value(u"--root"_s);
        options.server = a.values.value(u"--server"_s, options.server);
        options.web = a.values.value(u"--web"_s, options.web);
        options.force = force;
        Installer::install(options);
        out << "설치하였습니다: " << options.root << Qt::endl;
        return 0;
    }
    if (a.command == u"demo"_s) {
        const QString root = a.values.value(u"--root"_s);
        if (root.isEmpty())
            throw SetupError(u"설치 폴더(--root)를 지정하여 주십시오."_s);
        Installer::demo(root, force, today);
        Installer::demoShop();
        out << "데모 설치를 만들었습니다: " << root << Qt::endl;
        return 0;
    }
    if (a.command == u"server"_s) {
        const bool demo = a.flags.contains(u"--demo"_s);
        if (a.values.contains(u"--sqlite"_s)) {
            ServerCatalog::createSqlite(a.values.value(u"--sqlite"_s), demo, force, today);
        } else if (a.values.contains(u"--postgres"_s)) {
            const ServerLocation where = ServerLocation::parse(a.values.value(u"--postgres"_s));
            ServerCatalog::PostgresAdmin admin;
            admin.host = where.host;
            admin.port = where.port;
            admin.user = a.values.value(u"--admin"_s, admin.user);
            admin.password = a.values.value(u"--admin-password"_s, qEnvironmentVariable("PGPASSWORD"));
            ServerCatalog::createPostgres(admin, demo, force, today);
        } else {
            throw SetupError(u"--sqlite 또는 --postgres 중 하나를 지정하여 주십시오."_s);
        }
        out << "서버 카탈로그를 만들었습니다." << Qt::endl;
        return 0;
    }
    throw SetupError(QString::fromUtf16(kUsage));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    try {
        return run(QCoreApplication::arguments());
    } catch (const SetupError& error) {
        QTextStream(stderr) << error.message() << Qt::endl;
        return 2;
    }
}
