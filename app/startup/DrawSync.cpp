#include "DrawSync.h"

#include "Busy.h"
#include "Clock.h"
#include "Database.h"
#include "DrawProgress.h"
#include "Globals.h"
#include "Launcher.h"
#include "MessageService.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "Query.h"
#include "Settings.h"
#include "Tools.h"
#include "Transaction.h"
#include "UpdateFiles.h"
#include "WinNotice.h"

#include <QSet>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kUpdate = u"업데이트"_s;

// The draws that changed on the server since the stamp, each updated in place or added, and the stamp.
// Returns the draws copied with a final result.
std::vector<qint64> copyDraws(const QString& localStamp, const QString& serverStamp)
{
    std::vector<qint64> finalDraws;
    Query server(gServerConn, u"SELECT * FROM BokList WHERE State2 > ? ORDER BY BokNo"_s);
    server.run({localStamp});

    Transaction transaction(gSystemConn);
    Query update(gSystemConn,
                 u"UPDATE BokList SET Date1 = ?, Date2 = ?, No1 = ?, Rk1Count = ?, Rk2Count = ?, Rk3Count = ?, "
                 "Rk4Count = ?, Rk5Count = ?, Rk1Kum = ?, Rk2Kum = ?, Rk3Kum = ?, Rk4Kum = ?, Rk5Kum = ?, State1 = ? "
                 "WHERE BokNo = ?"_s);
    Query insert(gSystemConn,
                 u"INSERT INTO BokList (BokNo,Date1,Date2,No1,Rk1Count,Rk2Count,Rk3Count,Rk4Count,Rk5Count,"
                 "Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum,Sum1,Sum2,State1) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,0,?)"_s);
    static const QStringList numbers = {u"Rk1Count"_s,
                                        u"Rk2Count"_s,
                                        u"Rk3Count"_s,
                                        u"Rk4Count"_s,
                                        u"Rk5Count"_s,
                                        u"Rk1Kum"_s,
                                        u"Rk2Kum"_s,
                                        u"Rk3Kum"_s,
                                        u"Rk4Kum"_s,
                                        u"Rk5Kum"_s};
    while (server.next()) {
        const QVariant drawNo = server.value(u"BokNo"_s);
        QVariantList counts;
        for (const QString& column : numbers) {
            const QVariant v = server.value(column);
            if (v.isNull() || v.toString().trimmed().isEmpty()) {
                throw SqlError(u"서버의 제"_s + drawNo.toString() + u"회 추첨결과에 비어 있는 값("_s + column
                                   + u")이 있습니다."_s,
                               QString(),
                               QString());
            }
            counts.append(v.toLongLong());
        }
        if (drawNo.isNull() || drawNo.toLongLong() <= 0)
            throw SqlError(u"서버의 추첨결과에 회차가 없는 줄이 있습니다."_s, QString(), QString());
        const QVariantList head
            = {DashDate(server.text(u"Date1"_s)), DashDate(server.text(u"Date2"_s)), server.text(u"LotNo"_s)};
        const QString state = server.text(u"State1"_s);
        update.run(head + counts + QVariantList {state, drawNo.toLongLong()});
        if (update.rowsAffected() == 0)
            insert.run(QVariantList {drawNo.toLongLong()} + head + counts + QVariantList {state});
        if (state == u"3"_s)
            finalDraws.push_back(drawNo.toLongLong());
    }
    WriteInfo(kUpdate, u"복권:변경날짜"_s, serverStamp);
    transaction.commit();
    return finalDraws;
}

// The member's games of the draws that have just become final are ranked now, for the win notice. The
// draws are already stored: a failure here only leaves the ranking to the safe, so it does not stop the
// start.
void rankCopiedDraws(const std::vector<qint64>& finalDraws)
{
    try {
        gNewWinDraws = WinNotice::RankCopiedDraws(finalDraws, BusyGuard::callback());
    } catch (const SqlError&) {
        gNewWinDraws.clear();
    }
}

// A Bok1 row for every draw up to the one on sale.
void addDrawRows(qint64 upTo)
{
    if (upTo <= 0)
        return;
    QSet<qint64> present;
    Query existing(gUserConn, u"SELECT BokNo FROM Bok1"_s);
    existing.run();
    while (existing.next())
        present.insert(existing.integer(u"BokNo"_s));
    std::vector<qint64> missing;
    for (qint64 drawNo = 1; drawNo <= upTo; ++drawNo) {
        if (!present.contains(drawNo))
            missing.push_back(drawNo);
    }
    if (missing.empty())
        return;
    Transaction transaction(gUserConn);
    Query insert(gUserConn, u"INSERT INTO Bok1 (BokNo,Count1,Bigo1,Tag1) VALUES (?,0,'','0')"_s);
    for (qint64 drawNo : missing)
        insert.run({drawNo});
    transaction.commit();
}

// The ticker lines, once per draw on sale.
void rebuildTicker()
{
    const QString onSale = QString::number(gCurrentDrawNo);
    if (ReadInfo(kUpdate, u"전광판:변경회차"_s) == onSale)
        return;
    Query server(gServerConn,
                 u"SELECT Title1, Url1 FROM PrList WHERE State1 = '2' AND Show1 = '1' ORDER BY Sum1 DESC"_s);
    server.run();
    Transaction transaction(gSystemConn);
    Execute(gSystemConn, u"DELETE FROM Hot1"_s);
    Query insert(gSystemConn, u"INSERT INTO Hot1 (No1,Part1,Text1,Url1) VALUES (?,'광고',?,?)"_s);
    int number = 0;
    while (server.next())
        insert.run({++number, server.text(u"Title1"_s), server.text(u"Url1"_s)});
    WriteInfo(kUpdate, u"전광판:변경회차"_s, onSale);
    transaction.commit();
}

[[noreturn]] void endWith(const QString& text)
{
    ShowMessage(text, MsgIcon::Critical);
    EndProgram();
}

const QString kSyncFailed
    = u"추첨결과를 서버와 맞추지 못하였습니다. 받은 자료는 저장하지 않았으며 다음 시작 때 다시 받습니다.\n\n"_s;

// Reads the server's draw-progress text. An empty optional after a message: the start cannot go on.
std::optional<DrawProgress> readProgress(QString& failure)
{
    try {
        const QString text = ReadServerInfo(kUpdate, u"추첨진행"_s);
        // Without both stamps there is nothing to compare: starting the updater on a broken text would
        // only install nothing and come back to the same place.
        if (ByteLen(text) < 51) {
            failure
                = u"서버의 추첨진행 정보가 올바르지 않아 [수리볼]을 시작할 수 없습니다. 잠시 후 다시 시도하여 주십시오."_s;
            return std::nullopt;
        }
        return DrawProgress::parse(text);
    } catch (const SqlError& error) {
        failure = kSyncFailed + error.message();
        return std::nullopt;
    }
}

// Hands over to the updater, which ends this program. When it cannot be started, the member is told and
// the program goes on as it is: ending here would end every start the same way.
void startUpdater()
{
    CloseUserDb();
    const QString program = InstallPaths::updaterProgram();
    if (Launcher::instance().startProgram(program, {QString::number(UpdaterDayNumber(Clock::today()))}))
        EndProgram();
    ShowMessage(
        u"새 프로그램 화일을 받는 [업데이트]를 시작하지 못하였습니다. 이번에는 지금의 [수리볼]로 계속합니다.\n\n"_s
            + program,
        MsgIcon::Warning);
    OpenUserDb();
}

// Whether this start hands over to the updater. Never when the last run failed for a passing reason
// (once: the start after this one tries again), nor for a release this install refused for good, nor
// when the install has no key to check a release with: each said to the member once, so that no update
// can keep the member from the program.
bool updaterWanted(bool offered, const QString& stamp)
{
    UpdateFiles::Note note = UpdateFiles::ReadNote();
    // Said once: the flag goes into the note with the message.
    auto goOn = [&note](bool& said, const QString& text, MsgIcon icon) {
        if (!said) {
            said = true;
            UpdateFiles::WriteNote(note);
            ShowMessage(text, icon);
        }
        return false;
    };
    if (note.skipOnce) {
        bool said = false;
        note.skipOnce = false;
        return goOn(said,
                    u"지난번 업데이트를 마치지 못하여 이번에는 지금의 [수리볼]로 계속합니다. 다음에 시작할 때 다시 "
                    u"시도합니다."_s,
                    MsgIcon::Warning);
    }
    if (!offered)
        return false;
    if (!UpdateFiles::InstallHasKey())
        return goOn(note.toldNoKey,
                    u"이 설치에는 업데이트를 확인할 열쇠가 없어 새 프로그램 화일을 받지 않습니다. 지금의 [수리볼]로 "
                    u"계속합니다."_s,
                    MsgIcon::Information);
    if (!note.refused.isEmpty() && note.refused == stamp)
        return goOn(note.told,
                    u"새 프로그램 화일을 설치할 수 없어 지금의 [수리볼]로 계속합니다. 다음 업데이트가 나오면 다시 "
                    u"받습니다."_s,
                    MsgIcon::Warning);
    return true;
}

} // namespace

void FinishInterruptedUpdate()
{
    if (!UpdateFiles::CopyInterrupted() || UpdateFiles::ReadNote().skipOnce)
        return;
    const QString program = InstallPaths::updaterProgram();
    if (Launcher::instance().startProgram(program, {QString::number(UpdaterDayNumber(Clock::today()))}))
        EndProgram();
    ShowMessage(u"지난번 업데이트를 마치지 못하였는데, 그것을 끝낼 [업데이트]를 시작하지 못하였습니다.\n\n"_s + program,
                MsgIcon::Warning);
}

int UpdaterDayNumber(const QDate& day)
{
    const QString digits = day.toString(u"yyyyMMdd"_s);
    return digits.left(4).toInt() + digits.mid(4, 4).toInt();
}

void SyncDrawResults()
{
    for (const char16_t* form : kChildForms)
        gFormOpen[QString::fromUtf16(form)] = false;

    OpenUserDb();
    gLastDrawNo = gCurrentDrawNo = 0;
    gNewWinDraws.clear();

    QString failure;
    std::optional<DrawProgress> progress;
    bool updateOffered = false;
    {
        BusyGuard busy;
        OpenServerConn();
        progress = readProgress(failure);
        if (progress) {
            try {
                updateOffered = ReadInfo(kUpdate, u"화일복사:변경날짜"_s).trimmed() != progress->filesStamp.trimmed();
            } catch (const SqlError& error) {
                failure = kSyncFailed + error.message();
            }
        }
    }
    if (!failure.isEmpty())
        endWith(failure);
    if (updaterWanted(updateOffered, progress->filesStamp.trimmed()))
        startUpdater();

    {
        BusyGuard busy;
        try {
            const QString localStamp = ReadInfo(kUpdate, u"복권:변경날짜"_s);
            std::vector<qint64> finalDraws;
            if (localStamp != progress->drawsStamp)
                finalDraws = copyDraws(localStamp, progress->drawsStamp);

            gLastDrawNo = progress->lastDrawNo;
            gCurrentDrawNo = progress->currentDrawNo;
            WriteInfo(kUpdate, u"복권:추첨회차"_s, QString::number(gLastDrawNo));
            WriteInfo(kUpdate, u"복권:진행회차"_s, QString::number(gCurrentDrawNo));

            addDrawRows(gCurrentDrawNo);
            rebuildTicker();
            rankCopiedDraws(finalDraws);
        } catch (const SqlError& error) {
            failure = kSyncFailed + error.message();
        }
    }
    if (!failure.isEmpty())
        endWith(failure);
}
