#include "Clock.h"
#include "Database.h"
#include "Installer.h"
#include "Publisher.h"
#include "ServerCatalog.h"
#include "ServerTrust.h"
#include "SetupError.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const char16_t kUsage[]
    = u"사용법:\n"
      u"  suriball-setup install --root DIR [--server SERVER] [--standby SERVER] [--server-ca CA.pem]\n"
      u"                         [--web URL] [--update-key KEY.pub] [--force]\n"
      u"  suriball-setup server (--sqlite FILE | --postgres HOST[,PORT]) [--demo] [--force]\n"
      u"                        [--admin USER] [--admin-password PASSWORD] [--server-ca CA.pem]\n"
      u"                        [--publisher-password PASSWORD]\n"
      u"  suriball-setup demo --root DIR [--force]\n"
      u"  suriball-setup keygen --key FILE\n"
      u"  suriball-setup secure-members (--sqlite FILE | --postgres HOST[,PORT])\n"
      u"                        [--admin USER] [--admin-password PASSWORD] [--server-ca CA.pem]\n"
      u"                        [--publisher-password PASSWORD]\n"
      u"  suriball-setup publish (--sqlite FILE | --postgres HOST[,PORT]) --stamp STAMP [--key FILE]\n"
      u"                         [--publisher-password PASSWORD] [--server-ca CA.pem] 화일=대상...\n"
      u"  suriball-setup rotate-key --key OLD --new-key NEW\n"
      u"\n"
      u"SERVER는 PostgreSQL 서버의 호스트(포트 2707) 또는 sqlite:화일 입니다.\n"
      u"--admin의 기본값은 postgres, 암호의 기본값은 환경변수 PGPASSWORD 입니다.\n"
      u"PostgreSQL에는 TLS로만 연결하며, 서버의 인증서는 --server-ca의 인증기관(CA)이 발급하고\n"
      u"서버의 호스트 이름을 담아야 합니다. install --server-ca는 그 CA를 설치의 BIN에 넣습니다.\n"
      u"배포 계정(suriball_publisher)의 암호는 --publisher-password 또는 환경변수\n"
      u"SURIBALL_PUBLISHER_PASSWORD 입니다. 설치에는 들어가지 않습니다.\n"
      u"keygen은 업데이트 서명 열쇠(FILE, 공개 열쇠 FILE.pub)를 만듭니다.\n"
      u"publish의 대상은 C:\\VELTRA\\수리볼\\ 아래의 경로(또는 설치 폴더 안의 상대 경로),\n"
      u"STAMP는 YYYYMMDD로 시작하는 10자리 숫자입니다. 데모 서버 화일에는 --key가 필요 없습니다.\n"
      u"rotate-key는 서명 열쇠를 NEW(없으면 새로 만듭니다)로 바꿉니다. 그 뒤의 publish는 --key NEW로 합니다.\n";

struct Arguments
{
    QString command;
    QHash<QString, QString> values;
    QStringList flags;
    QStringList items; // FILE=TARGET of publish
};

Arguments parse(const QStringList& args)
{
    static const QStringList withValue = {u"--root"_s,
                                          u"--server"_s,
                                          u"--web"_s,
                                          u"--sqlite"_s,
                                          u"--postgres"_s,
                                          u"--admin"_s,
                                          u"--admin-password"_s,
                                          u"--update-key"_s,
                                          u"--key"_s,
                                          u"--new-key"_s,
                                          u"--stamp"_s,
                                          u"--server-ca"_s,
                                          u"--standby"_s,
                                          u"--publisher-password"_s};
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
        else if (parsed.command == u"publish"_s && !a.startsWith(u"--"_s) && a.contains(u'='))
            parsed.items.append(a);
        else
            throw SetupError(u"알 수 없는 인수입니다: "_s + a + u"\n\n"_s + QString::fromUtf16(kUsage));
    }
    return parsed;
}

ServerCatalog::PostgresAdmin postgresAdmin(const Arguments& a)
{
    const ServerLocation where = ServerLocation::parse(a.values.value(u"--postgres"_s));
    ServerCatalog::PostgresAdmin admin;
    admin.host = where.host;
    admin.port = where.port;
    admin.user = a.values.value(u"--admin"_s, admin.user);
    admin.password = a.values.value(u"--admin-password"_s, qEnvironmentVariable("PGPASSWORD"));
    admin.caFile = a.values.value(u"--server-ca"_s);
    return admin;
}

QString publisherPassword(const Arguments& a)
{
    return a.values.value(u"--publisher-password"_s, qEnvironmentVariable("SURIBALL_PUBLISHER_PASSWORD"));
}

void copyPrograms(QTextStream& out)
{
    for (const QString& missing : Installer::installPrograms(QCoreApplication::applicationDirPath()))
        out << "프로그램을 찾지 못하여 설치하지 않았습니다: " << missing << Qt::endl;
}

// The stand-in's file, or the PostgreSQL catalog as the publisher: the shared account of the installs may
// read the files and the signed releases but not write them.
Connection publishServer(const Arguments& a)
{
    ServerLocation where;
    if (a.values.contains(u"--sqlite"_s)) {
        where.standIn = true;
        where.file = QDir(a.values.value(u"--sqlite"_s)).absolutePath();
    } else if (a.values.contains(u"--postgres"_s)) {
        // The publisher logs in as itself: the shared account of the installs may not write files.
        where = ServerLocation::parse(a.values.value(u"--postgres"_s));
        const QString password = publisherPassword(a);
        if (password.isEmpty())
            throw SetupError(u"배포 계정의 암호(--publisher-password 또는 SURIBALL_PUBLISHER_PASSWORD)를 "
                             "지정하여 주십시오."_s);
        where.caFile = a.values.value(u"--server-ca"_s);
        try {
            return ServerTrust::ConnectAsPublisher(where, password);
        } catch (const SqlError& error) {
            throw SetupError(u"서버에 연결할 수 없습니다: "_s + error.message());
        }
    } else {
        throw SetupError(u"--sqlite 또는 --postgres 중 하나를 지정하여 주십시오."_s);
    }
    try {
        return ConnectServer(where);
    } catch (const SqlError& error) {
        throw SetupError(u"서버에 연결할 수 없습니다: "_s + error.message());
    }
}

// The catalog works either way; the server only spends more on every member's start.
void adviseOnPreload(const QStringList& notPreloaded, QTextStream& out)
{
    if (notPreloaded.isEmpty())
        return;
    out << "참고: 서버가 시작할 때 " << notPreloaded.join(u", "_s)
        << " 라이브러리를 미리 읽지 않아 회원이 시작할 때마다 다시 읽습니다. postgresql.conf에 "
           "shared_preload_libraries = '"
        << ServerTrust::LoginLibraries().join(u", "_s) << "'를 넣고 서버를 다시 시작하여 주십시오." << Qt::endl;
}

int publish(const Arguments& a, QTextStream& out)
{
    QString keyFile = a.values.value(u"--key"_s);
    if (keyFile.isEmpty() && a.values.contains(u"--sqlite"_s))
        keyFile = Publisher::KeyBesideServer(a.values.value(u"--sqlite"_s));
    if (keyFile.isEmpty())
        throw SetupError(u"서명할 열쇠 화일(--key)을 지정하여 주십시오."_s);
    const QByteArray key = UpdateFiles::ReadKeyFile(keyFile, UpdateSignature::kSecretKeyBytes);
    if (key.isEmpty())
        throw SetupError(u"서명할 열쇠를 읽을 수 없습니다: "_s + keyFile);
    QList<Publisher::Item> items;
    for (const QString& argument : a.items)
        items.append(Publisher::ParseItem(argument));
    const QString stamp = a.values.value(u"--stamp"_s);
    const Publisher::Published published
        = Publisher::Publish(publishServer(a), stamp, key, items, Publisher::ReadChain(keyFile));
    for (const QString& row : published.dropped)
        out << "서명되지 않은 행을 지웠습니다: " << row << Qt::endl;
    for (const Publisher::Item& item : items)
        out << "올렸습니다: " << item.file << " → " << item.target << Qt::endl;
    if (!published.previous.isEmpty())
        out << "이전 릴리스: " << published.previous << Qt::endl;
    out << "화일 변경날짜: " << stamp << Qt::endl;
    return 0;
}

int rotateKey(const Arguments& a, QTextStream& out)
{
    const QString oldKey = a.values.value(u"--key"_s);
    const QString newKey = a.values.value(u"--new-key"_s);
    if (oldKey.isEmpty() || newKey.isEmpty())
        throw SetupError(u"지금의 열쇠(--key)와 새 열쇠(--new-key)를 지정하여 주십시오."_s);
    Publisher::RotateKey(oldKey, newKey);
    out << "새 서명 열쇠: " << newKey << " (공개 열쇠: " << newKey << ".pub, 열쇠 바꿈: " << newKey << ".chain)"
        << Qt::endl;
    out << "이제부터 publish --key " << newKey << " 로 올리면 설치마다 새 열쇠를 함께 받습니다." << Qt::endl;
    out << "새로 만드는 설치에는 install --update-key " << newKey << ".pub 를 주십시오." << Qt::endl;
    return 0;
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
        options.updateKey = a.values.value(u"--update-key"_s);
        options.serverCa = a.values.value(u"--server-ca"_s);
        options.standby = a.values.value(u"--standby"_s);
        Installer::install(options);
        copyPrograms(out);
        out << "설치하였습니다: " << options.root << Qt::endl;
        if (options.updateKey.isEmpty())
            out << "업데이트 공개 열쇠(--update-key)가 없어 이 설치는 업데이트를 받지 않습니다." << Qt::endl;
        if (options.serverCa.isEmpty() && !ServerLocation::parse(options.server).standIn)
            out << "서버 인증서(--server-ca)가 없어 이 설치는 PostgreSQL 서버를 확인할 수 없고 연결하지 않습니다."
                << Qt::endl;
        return 0;
    }
    if (a.command == u"demo"_s) {
        const QString root = a.values.value(u"--root"_s);
        if (root.isEmpty())
            throw SetupError(u"설치 폴더(--root)를 지정하여 주십시오."_s);
        Installer::demo(root, force, today);
        copyPrograms(out);
        Installer::demoShop();
        out << "데모 설치를 만들었습니다: " << root << Qt::endl;
        return 0;
    }
    if (a.command == u"keygen"_s) {
        const QString file = a.values.value(u"--key"_s);
        if (file.isEmpty())
            throw SetupError(u"열쇠 화일(--key)을 지정하여 주십시오."_s);
        if (QFileInfo::exists(file) && !force)
            throw SetupError(u"열쇠 화일이 이미 있습니다: "_s + file + u" (다시 만들려면 --force)"_s);
        const UpdateSignature::KeyPair keys = UpdateSignature::Generate();
        QString error;
        if (!UpdateFiles::WriteKeyFile(file, keys.secretKey, true, &error)
            || !UpdateFiles::WriteKeyFile(file + u".pub"_s, keys.publicKey, false, &error))
            throw SetupError(u"열쇠 화일을 쓸 수 없습니다: "_s + error);
        out << "서명 열쇠: " << file << " (비밀), 공개 열쇠: " << file << ".pub" << Qt::endl;
        return 0;
    }
    if (a.command == u"publish"_s)
        return publish(a, out);
    if (a.command == u"rotate-key"_s)
        return rotateKey(a, out);
    if (a.command == u"server"_s) {
        const bool demo = a.flags.contains(u"--demo"_s);
        QStringList notPreloaded;
        if (a.values.contains(u"--sqlite"_s)) {
            ServerCatalog::createSqlite(a.values.value(u"--sqlite"_s), demo, force, today);
        } else if (a.values.contains(u"--postgres"_s)) {
            notPreloaded = ServerCatalog::createPostgres(postgresAdmin(a), demo, force, today, publisherPassword(a));
        } else {
            throw SetupError(u"--sqlite 또는 --postgres 중 하나를 지정하여 주십시오."_s);
        }
        out << "서버 카탈로그를 만들었습니다." << Qt::endl;
        adviseOnPreload(notPreloaded, out);
        return 0;
    }
    if (a.command == u"secure-members"_s) {
        QStringList notPreloaded;
        if (a.values.contains(u"--sqlite"_s)) {
            ServerCatalog::secureMembersSqlite(a.values.value(u"--sqlite"_s));
        } else if (a.values.contains(u"--postgres"_s)) {
            notPreloaded = ServerCatalog::secureMembersPostgres(postgresAdmin(a), publisherPassword(a));
        } else {
            throw SetupError(u"--sqlite 또는 --postgres 중 하나를 지정하여 주십시오."_s);
        }
        out << "회원의 암호를 해시로 바꾸고, PostgreSQL에서는 공용 계정이 로그인 세션의 회원에게 허락된 행만 "
               "다루게 하였습니다."
            << Qt::endl;
        adviseOnPreload(notPreloaded, out);
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
