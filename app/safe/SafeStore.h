#pragma once

#include "Busy.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The member's ticket safe in the user database: games per draw (List1), the per-draw row (Bok1) and
// the groups (Group1). Every action that writes several rows is one transaction; the counts in Bok1 are
// kept equal to the rows. Failures throw SqlError.
namespace SafeStore {

inline constexpr qint64 kMaxGamesPerDraw = 100000000;
inline const QString kAllGroups = QStringLiteral("(전체)");

// Adds the games (12-digit texts) to the draw under the group (reused by name, or made with the next
// number), with the memo. A refusal (the draw's limit, a group name that is not allowed) comes back as its
// message; nothing is written then.
std::optional<QString> SaveGames(qint64 drawNo,
                                 const QStringList& games,
                                 const QString& memo,
                                 const QString& groupName,
                                 const ProgressCallback& progress = {});

qint64 GroupNumber(const QString& name); // 0 when there is none
QStringList GroupNames(); // all, by name
// The names of the groups holding games of the draw, in descending order.
QStringList DrawGroupNames(qint64 drawNo);

struct DrawRow
{
    qint64 drawNo;
    QString date; // "YYYY-MM-DD"
    QString numbers; // "03.11.19.24.38.45 보:07" or "(미추첨)"
    qint64 games;
};
std::vector<DrawRow> DrawList();

struct DrawMemo
{
    bool found = false;
    QString tag;
    QString memo;
};
DrawMemo ReadDrawRow(qint64 drawNo);
// The true number of the draw's games; Bok1.Count1 is corrected when it disagrees with shown.
qint64 Recount(qint64 drawNo, qint64 shown);

enum class RankFilter { All, Won, Lost };
struct TicketQuery
{
    qint64 drawNo = 0;
    RankFilter filter = RankFilter::All;
    qint64 groupNo = 0; // 0: every group
    bool byRank = false;
};
struct Ticket
{
    QString no1;
    QString top1;
    qint64 kum1 = 0;
    qint64 sno1 = 0;
};
qint64 CountTickets(const TicketQuery& query);
std::vector<Ticket> TicketPage(const TicketQuery& query, qint64 offset, int limit);
// Every ticket of the query, for the export; rank order puts the highest codes first.
void ForEachTicket(const TicketQuery& query, const std::function<void(const Ticket&)>& each);

qint64 DeleteGames(qint64 drawNo, const std::vector<qint64>& serials);
// Deletes the group's games of the draw, and the group when no draw keeps a game in it any more.
void DeleteGroupGames(qint64 drawNo, const QString& groupName);
// Deletes the losing games ("0") and returns how many games the draw keeps.
qint64 DeleteLosingGames(qint64 drawNo);
// A draw's memo as it is kept: trimmed, 10,000 bytes, quotes as backquotes.
// Lets go of the draw's games and the list kept in memory for the pages (a million games are some 45 MB):
// for the safe's window when it closes.
void ForgetKeptLists();

QString CleanMemo(const QString& typed);
// Cleans the memo, stores it and returns it.
QString SaveMemo(qint64 drawNo, const QString& memo);
enum class RenameResult { Renamed, Merged, Unchanged, Refused };
// Renames the group, or merges it into the group already bearing the new name.
RenameResult RenameGroup(const QString& oldName, const QString& newName);
QString CleanGroupName(const QString& typed); // 30 bytes, quotes as backquotes
// Not empty, and not "(전체)", which the safe lists for every group at once.
bool GroupNameAllowed(const QString& clean);

// The national result of a drawn draw: "(215회) 03.11.19.24.38.45 보너스:07" and the five lines
// "1등:         12명   2,000,000,000원" (winners in 10 characters, prize in 15). Empty lines while the
// draw is not drawn.
struct DrawSummary
{
    QString draw = QStringLiteral("(미추첨)");
    std::array<QString, 6> ranks {}; // 1..5
};
DrawSummary ReadDrawSummary(qint64 drawNo);

} // namespace SafeStore
