#pragma once

#include "Busy.h"

#include <QString>

// The whole safe as one file a person can read, and back again.
//
// The file is UTF-8 CSV (with a byte order mark, lines ended by CR LF, fields quoted where they hold a
// comma, a quote or a line break):
//
//     수리볼 금고 백업,형식 1,아이디 player,만든 때 2025-12-08 10:00:00
//     구분,회차,그룹,번호,등수,당첨금,메모,수령일
//     회차,1200,,,,,"메모, 여러 줄도",2026-11-30
//     게임,1200,기본,01.02.04.16.20.32,1등,2357299875,,
//     게임,1200,기본,03.11.19.24.38.45,미추첨,0,,
//     합계,1,2,<SHA-256 of every byte above this line, in hexadecimal>
//
// A "회차" line carries a draw's memo and the day its winnings were received; its games follow it. The
// rank is "1등" … "5등", "낙첨" or "미추첨". The last line counts the draws and games and seals the rest:
// a file cut short, damaged or changed by hand is refused as a whole.
namespace SafeBackup {

inline const QString kTitle = QStringLiteral("수리볼 금고 백업");

struct BackupOutcome
{
    bool ok = false;
    QString path;
    qint64 draws = 0;
    qint64 games = 0;
    QString error;
};
// Writes every draw of the member's safe with its games, groups, memo, ranks and received mark to
// DATA/금고백업_<ID>_YYYYMMDD_HHmmss.CSV. Throws SqlError when the safe cannot be read.
BackupOutcome Backup(const QString& ownerId, const ProgressCallback& progress = {});
// The same into a file of the caller's choosing.
BackupOutcome BackupTo(const QString& path, const QString& ownerId, const ProgressCallback& progress = {});

struct RestoreOutcome
{
    bool ok = false;
    QString error; // why the file was refused; nothing was changed then
    qint64 draws = 0;
    qint64 added = 0;
    qint64 skipped = 0; // games the safe already held
};
// Adds the file's games to the member's safe in one transaction. A game the draw already holds (the same
// numbers, as many times as the file has them) is skipped; an empty memo and a missing received mark
// are filled in. The whole file is read and checked before anything is written. Throws SqlError when
// the safe cannot be written, having changed nothing.
RestoreOutcome Restore(const QString& path, const QString& ownerId, const ProgressCallback& progress = {});

QString BackupMessage(const BackupOutcome& outcome);
QString RestoreMessage(const RestoreOutcome& outcome);

} // namespace SafeBackup
