#pragma once

#include "Connection.h"

#include <QHash>
#include <QString>

#include <array>
#include <vector>

// The process-wide values, under the names every window knows them by. They live here and nowhere else.

// The guest's ID: looks around, keeps nothing, is never looked up on the server and has no session there.
inline const QString kGuestID = QStringLiteral("손님");

// The member, set by the login. gUserID is the ID in lower case, or "손님" for a guest.
inline QString gUserID;
inline QString gUserPwd;
inline QString gUserName;
inline QString gUserEmail;
inline QString gUserJuminNo;
inline QString gUserLevel;
inline QString gLoginTime; // "YYYY-MM-DD HH:mm:ss", the server's clock
// The member's session secret from the server's login, presented by every server connection opened
// after it (ServerSession). Kept in memory only; empty for the guest and on the SQLite stand-in.
inline QString gSessionSecret;

// The draws, set by the synchronisation: the latest with a known result, and the one on sale.
inline qint64 gLastDrawNo = 0;
inline qint64 gCurrentDrawNo = 0;
// The draws this start ranked in which the member's games won, for the win notice.
inline std::vector<qint64> gNewWinDraws;

// The connections and the member's database file.
inline Connection gSystemConn;
inline Connection gUserConn;
inline Connection gServerConn;
inline QString gUserDbPath;

// Display settings, read when the main window starts.
inline int gGameCount = 0;
inline int gSafePageSize = 0;
inline int gSafeDrawListSize = 0;
inline int gCouponPageSize = 0;
inline int gCouponIssueCount = 0;
inline int gCouponGamesPerTicket = 0;

// What a modal window answers its caller: "정상" when it finished normally, empty when cancelled.
inline QString gDialogResult;
// Index 0 a mode such as "등록" or "수정", 1 a memo, 2 a group name.
inline std::array<QString, 10> gDialogText;
inline std::array<double, 10> gDialogNumber {};

// Which child windows of the main window are open, by window name ("frmRun1", "frmBank1", …).
inline QHash<QString, bool> gFormOpen;
