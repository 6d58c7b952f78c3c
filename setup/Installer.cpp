#include "Installer.h"

#include "Connection.h"
#include "Database.h"
#include "DemoData.h"
#include "DrawProgress.h"
#include "IfoFiles.h"
#include "IniFile.h"
#include "Paths.h"
#include "Publisher.h"
#include "Query.h"
#include "Schema.h"
#include "ServerCatalog.h"
#include "SetupError.h"
#include "SqlError.h"
#include "SqliteFile.h"
#include "Tools.h"
#include "Transaction.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>

#include <functional>

using namespace Qt::StringLiterals;

namespace Installer {

namespace {

struct Setting
{
    QString section, name, value;
};

// Every setting row the programs read or write; values lie inside what the settings window offers.
std::vector<Setting> shippedSettings()
{
    const QString screen = u"화면구성"_s;
    const QString update = u"업데이트"_s;
    return {
        {screen, u"메인:높이"_s, u"11520"_s},
        {screen, u"로또게임:게임 횟수"_s, u"5"_s},
        {screen, u"복권금고:표시할 복권수"_s, u"100"_s},
        {screen, u"복권금고:추첨결과 목록 수"_s, u"20"_s},
        {screen, u"복권쿠폰:표시할 복권수"_s, u"100"_s},
        {screen, u"복권쿠폰:발행할 복권수"_s, u"6"_s},
        {screen, u"복권쿠폰:복권당 게임수"_s, u"5"_s},
        {screen, u"도움말:길이"_s, u"9000"_s},
        {screen, u"도움말:높이"_s, u"7500"_s},
        {screen, u"도움말:왼쪽"_s, u"600"_s},
        {screen, u"도움말:윗쪽"_s, u"600"_s},
        {screen, u"복권쿠폰:활용팁"_s, u"1"_s},
        {screen, u"복권금고:당첨 알림"_s, u"1"_s},
        {update, u"화일복사:변경날짜"_s, QString()},
        {update, u"복권:변경날짜"_s, QString()},
        {update, u"복권:추첨회차"_s, u"0"_s},
        {update, u"복권:진행회차"_s, u"0"_s},
        {update, u"전광판:변경회차"_s, QString()},
        {update, u"업소구분:목록"_s, u"복권판매점#편의점#슈퍼마켓#음식점#카페#미용실#약국#문구점#기타"_s},
    };
}

const QStringList& couponTips()
{
    static const QStringList tips = {
        u"쿠폰을 발행하기 전에 [쿠폰등록]에서 업소명과 전화번호를 먼저 등록하세요."_s,
        u"한 장의 쿠폰에는 다섯 게임까지 들어갑니다. 복권당 게임수는 [설정]에서 바꿀 수 있습니다."_s,
        u"인쇄는 한 쪽에 여섯 장씩 나갑니다. 발행할 복권수를 6의 배수로 맞추면 용지가 남지 않습니다."_s,
        u"추첨이 끝난 회차를 고르면 발행한 쿠폰 게임의 등수가 자동으로 계산됩니다."_s,
        u"로또게임 창에서 만든 게임을 [쿠폰에 저장]하면 발행할 게임으로 쌓입니다."_s,
    };
    return tips;
}

void createTables(const Connection& connection, const std::vector<TableDef>& tables)
{
    for (const TableDef& table : tables) {
        for (const QString& statement : Schema::createStatements(table, connection.engine()))
            Execute(connection, statement);
    }
}

void writeCp949File(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    const QByteArray bytes = ToCp949(lines.join(u"\r\n"_s) + u"\r\n"_s);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw SetupError(u"화일을 쓸 수 없습니다: "_s + path);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw SetupError(u"화일을 쓸 수 없습니다: "_s + path);
}

// The service's certificate authority, kept in BIN where the install's setting names it.
void copyServerCa(const QString& caFile)
{
    QFile ca(caFile);
    if (!ca.open(QIODevice::ReadOnly))
        throw SetupError(u"서버 인증서 화일을 읽을 수 없습니다: "_s + caFile);
    const QByteArray pem = ca.readAll();
    if (!pem.contains("-----BEGIN CERTIFICATE-----"))
        throw SetupError(u"PEM 형식의 인증서 화일이 아닙니다: "_s + caFile);
    writeBytes(InstallPaths::resolve(QString::fromUtf16(kServerCaFile)), pem);
}

void setIfo(IniFile& ini, const QString& section, const QString& key, const QString& value)
{
    // The programs read at most 79 bytes of a value.
    if (ByteLen(value) > 79)
        throw SetupError(u"설정값이 79바이트를 넘습니다: "_s + key + u'=' + value);
    if (!ini.setValue(section, key, value.isEmpty() ? u"."_s : value))
        throw SetupError(u"설정 화일을 쓸 수 없습니다: "_s + ini.path());
}

void copyFiles(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::copy(source, target))
            throw SetupError(u"화일을 복사할 수 없습니다: "_s + target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

} // namespace

void UseServer(const QString& serverSetting, const QString& caFile)
{
    IniFile ifo(InstallPaths::systemIfo());
    if (!ifo.load())
        throw SetupError(u"설정 화일을 읽을 수 없습니다: "_s + ifo.path());
    setIfo(ifo, u"SERVER"_s, QString::fromUtf16(kServerKey), serverSetting);
    copyServerCa(caFile);
    setIfo(ifo, u"SERVER"_s, QString::fromUtf16(kServerCaKey), QString::fromUtf16(kServerCaFile));
}

void CopyFiles(const QString& from, const QString& to) { copyFiles(from, to); }

bool adoptServerFilesStamp()
{
    QString stamp;
    try {
        const Connection server = ConnectServer(ServerLocation::ofInstall());
        Query text(server, u"SELECT Text1 FROM Info1 WHERE IFPart1 = ? AND Name1 = ?"_s);
        text.run({u"업데이트"_s, u"추첨진행"_s});
        if (!text.next())
            return false;
        const QString progress = text.text(u"Text1"_s).trimmed();
        if (ByteLen(progress) < 51)
            return false;
        stamp = DrawProgress::parse(progress).filesStamp.trimmed();
        const Connection system = Connection::openSqlite(InstallPaths::systemDb());
        Execute(system,
                u"UPDATE Info1 SET Value1 = ? WHERE Section1 = ? AND Name1 = ?"_s,
                {stamp, u"업데이트"_s, u"화일복사:변경날짜"_s});
    } catch (const SqlError&) {
        return false;
    }
    return true;
}

void install(const Options& options)
{
    if (options.root.isEmpty())
        throw SetupError(u"설치 폴더(--root)를 지정하여 주십시오."_s);
    const QDir root(QDir(options.root).absolutePath());
    qputenv("SURIBALL_ROOT", root.absolutePath().toUtf8());
    if (QFile::exists(InstallPaths::systemDb()) && !options.force)
        throw SetupError(u"이미 설치되어 있습니다: "_s + root.absolutePath() + u" (다시 설치하려면 --force)"_s);
    for (const QString& dir : {InstallPaths::binDir(),
                               InstallPaths::dataDir(),
                               InstallPaths::prDir(),
                               InstallPaths::docDir(),
                               InstallPaths::tempDir()}) {
        if (!QDir().mkpath(dir))
            throw SetupError(u"폴더를 만들 수 없습니다: "_s + dir);
    }

    BuildSqliteFile(InstallPaths::systemDb(), [](const Connection& c) {
        Transaction transaction(c);
        createTables(c, Schema::systemTables());
        Query setting(c, u"INSERT INTO Info1 (Section1,Name1,Value1) VALUES (?,?,?)"_s);
        for (const Setting& s : shippedSettings())
            setting.run({s.section, s.name, s.value.isNull() ? u""_s : s.value});
        Query tip(c, u"INSERT INTO Tip1 (Part1,No1,Text1) VALUES (?,?,?)"_s);
        int number = 0;
        for (const QString& text : couponTips())
            tip.run({u"복권쿠폰"_s, ++number, text});
        transaction.commit();
    });

    BuildSqliteFile(InstallPaths::userDbTemplate(), [](const Connection& c) {
        Transaction transaction(c);
        createTables(c, Schema::userTables());
        Query owner(c, u"INSERT INTO MyInfo1 (Name1,Value1) VALUES (?,'')"_s);
        owner.run({u"아이디"_s});
        owner.run({u"주민등록번호"_s});
        transaction.commit();
    });

    QFile::remove(InstallPaths::systemIfo());
    IniFile ifo(InstallPaths::systemIfo());
    setIfo(ifo, u"SYSTEM"_s, u"LASTLOGINID"_s, u"NO"_s);
    setIfo(ifo, u"SYSTEM"_s, u"HOTVIEWDATE"_s, QString());
    setIfo(ifo, u"SERVER"_s, QString::fromUtf16(kServerKey), options.server);
    if (!options.standby.isEmpty())
        setIfo(ifo, u"SERVER"_s, QString::fromUtf16(kStandbyKey), options.standby);
    setIfo(ifo, u"SERVER"_s, u"WEB"_s, options.web);
    if (!options.serverCa.isEmpty()) {
        copyServerCa(options.serverCa);
        setIfo(ifo, u"SERVER"_s, QString::fromUtf16(kServerCaKey), QString::fromUtf16(kServerCaFile));
    }

    if (!QFile::exists(InstallPaths::prIfo())) {
        IniFile pr(InstallPaths::prIfo());
        setIfo(pr, u"PR"_s, u"VERSION"_s, u"1"_s);
    }

    if (!options.updateKey.isEmpty()) {
        const QByteArray key = UpdateFiles::ReadKeyFile(options.updateKey, UpdateSignature::kPublicKeyBytes);
        if (key.isEmpty())
            throw SetupError(u"업데이트 공개 열쇠 화일이 아닙니다: "_s + options.updateKey);
        QString error;
        if (!UpdateFiles::WriteKeyFile(InstallPaths::updateKey(), key, false, &error))
            throw SetupError(u"화일을 쓸 수 없습니다: "_s + InstallPaths::updateKey() + u" ("_s + error + u')');
    }

    // A new install is as new as the server's files, so its first start does not fetch them again. Without
    // the server at hand the stamp stays empty and the first start brings the files.
    adoptServerFilesStamp();

    writeCp949File(InstallPaths::dateFormatHelp(),
                   {u"[수리볼] 날짜형식 오류 안내"_s,
                    QString(),
                    u"수리볼은 날짜를 YYYY-MM-DD 형식(예: 2002-12-07)으로 읽고 씁니다."_s,
                    u"컴퓨터의 '간단한 날짜' 형식이 다르면 수리볼을 시작할 수 없습니다."_s,
                    QString(),
                    u"윈도우즈에서 바꾸는 방법"_s,
                    u"  1. [제어판] - [국가 및 언어](또는 [국가별 옵션])를 엽니다."_s,
                    u"  2. [형식] 탭에서 [추가 설정] 단추를 누르고 [날짜] 탭으로 갑니다."_s,
                    u"  3. '간단한 날짜'를 yyyy-MM-dd 로 고치고 [확인]을 누릅니다."_s,
                    QString(),
                    u"리눅스에서 바꾸는 방법"_s,
                    u"  날짜 형식은 LC_TIME 로캘을 따릅니다. 터미널에서 date +%x 로 확인할 수 있습니다."_s,
                    u"  한국어 로캘(2002년 12월 07일)로 시작하십시오:  LC_TIME=ko_KR.UTF-8 수리볼"_s,
                    u"  로캘이 없으면 관리자 권한으로 ko_KR.UTF-8 로캘을 만드십시오(locale-gen)."_s,
                    QString(),
                    u"날짜 형식을 바꾼 뒤 수리볼을 다시 시작하여 주십시오."_s});
}

void demo(const QString& root, bool force, const QDate& today)
{
    Options options;
    options.root = root;
    options.force = force;
    options.server = QString::fromUtf16(kDemoServer);
    options.web = QString::fromUtf16(kDemoWeb);
    install(options);

    const QString serverDir = InstallPaths::resolve(u"SERVER"_s);
    QDir().mkpath(serverDir);
    const QString serverFile = QDir(serverDir).filePath(u"VELTRA1.db"_s);
    ServerCatalog::createSqlite(serverFile, true, true, today);

    // The demo plays the service too: its own key pair, the private half beside its server file for
    // publishing, the public half in BIN for the updater. Nothing secret comes with the program.
    const UpdateSignature::KeyPair keys = UpdateSignature::Generate();
    QString error;
    if (!UpdateFiles::WriteKeyFile(Publisher::KeyBesideServer(serverFile), keys.secretKey, true, &error)
        || !UpdateFiles::WriteKeyFile(InstallPaths::updateKey(), keys.publicKey, false, &error))
        throw SetupError(u"업데이트 서명 열쇠를 쓸 수 없습니다: "_s + error);
    DemoData::loadResources();
    CopyFiles(u":/setup/web"_s, InstallPaths::resolve(QString::fromUtf16(kDemoWeb)));

    if (!adoptServerFilesStamp())
        throw SetupError(u"데모 서버의 추첨진행 정보를 읽을 수 없습니다."_s);
}

QStringList installPrograms(const QString& setupToolDir)
{
    QStringList missing;
    const QList<QPair<QString, QString>> programs = {
        {ProgramFiles::mainProgramBeside(setupToolDir), InstallPaths::mainProgram()},
        {ProgramFiles::updaterProgramBeside(setupToolDir), InstallPaths::updaterProgram()},
    };
    for (const auto& [from, to] : programs) {
        if (from.isEmpty()) {
            missing.append(QFileInfo(to).fileName());
            continue;
        }
        // Beside the old one and then over it, as the updater replaces it too.
        const QString staging = to + u".setup"_s;
        QFile::remove(staging);
        if (!QFile::copy(from, staging))
            throw SetupError(u"프로그램을 복사할 수 없습니다: "_s + to);
        QFile::setPermissions(staging, QFileInfo(from).permissions());
        QFile::remove(to);
        if (!QFile::rename(staging, to))
            throw SetupError(u"프로그램을 복사할 수 없습니다: "_s + to);
    }
    return missing;
}

void demoShop()
{
    const QString id = QString::fromUtf16(DemoData::kDemoShop);
    const QString path = InstallPaths::userDb(id);
    if (QFile::exists(path))
        return;
    QString juminNo;
    for (const DemoData::Member& m : DemoData::members()) {
        if (m.id == id)
            juminNo = m.juminNo;
    }
    BuildSqliteFile(path, [&](const Connection& c) {
        Transaction transaction(c);
        createTables(c, Schema::userTables());
        Query owner(c, u"INSERT INTO MyInfo1 (Name1,Value1) VALUES (?,?)"_s);
        owner.run({u"아이디"_s, id});
        owner.run({u"주민등록번호"_s, juminNo});
        Query coupon(c,
                     u"INSERT INTO Bok2 (BokNo,Part2,Title1,Title2,Comp1,Count1,No1Text,No2Text,No3Text,No4Text,"
                     "No5Text,Text1,Text2,Bigo1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s);
        Query game(c, u"INSERT INTO List2 (BokNo,SNo1,SNo2,No1,Top1,Date1,Tag1) VALUES (?,?,?,?,'9',?,?)"_s);
        for (const DemoData::ShopCoupon& s : DemoData::shopCoupons()) {
            qint64 games = s.unissued.size();
            for (const QStringList& issued : s.issued)
                games += issued.size();
            coupon.run({s.drawNo,
                        s.part2,
                        s.title1,
                        s.title2,
                        s.comp1,
                        games,
                        s.prizes[0],
                        s.prizes[1],
                        s.prizes[2],
                        s.prizes[3],
                        s.prizes[4],
                        s.text1,
                        s.text2,
                        s.memo});
            // As an issue run leaves them: the serials of the games used come first, the coupons are
            // numbered above them.
            qint64 serial = 0;
            for (const QString& g : s.unissued)
                game.run({s.drawNo, ++serial, u"0"_s, g, u""_s, u""_s}); // empty, not NULL: unissued
            qint64 couponNo = serial;
            for (const QStringList& issued : s.issued)
                couponNo += issued.size();
            for (const QStringList& issued : s.issued) {
                ++couponNo;
                for (qsizetype k = 0; k < issued.size(); ++k)
                    game.run({s.drawNo, couponNo, QString::number(k + 1), issued[k], s.issueTime, u"2"_s});
            }
        }
        transaction.commit();
    });
}

} // namespace Installer
