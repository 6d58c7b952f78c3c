#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What the administrator's windows share: who may use them, the search range of their lists, the
// order of their numbered steps and the way they show numbers.
namespace Backoffice {

inline constexpr char16_t kAdministrator[] = u"chief";
inline constexpr int kFirstYear = 2004; // the service's first orders

bool IsAdministrator();
// The windows and their statements refuse anyone else, whichever way they were reached: throws SqlError
// with the refusal, which the window's guard reports. On PostgreSQL the server connection must carry the
// administrator's session (ServerSession::Require); the server enforces it whatever this program does.
void RequireAdministrator();
QString AdministratorOnlyMessage();

// "2004년" … the current year, oldest first.
QStringList YearItems();
// "01월" … "12월".
QStringList MonthItems();
// The number at the start of a combo item ("2025년" → 2025, "03월" → 3, "(전체)" → 0).
int LeadingNumber(const QString& item);

// "###,###,##0"
QString Thousands(double value);

// Numbered steps that must run in order, each once: step n may run after step n − 1 and not twice. Step
// 1 may always run again and starts the sequence anew.
class StepFlags
{
public:
    explicit StepFlags(int steps);
    // The refusal, or empty when the step may run: "2.작업 확인요.." when step 2 has not run before step 3,
    // "3.작업 이미 동작됨.." when step 3 already ran.
    QString refusal(int step) const;
    void reset();
    void done(int step);
    bool isDone(int step) const;
    // A later step no longer stands (the order it checked is no longer the selected one).
    void undoFrom(int step);

private:
    std::vector<bool> m_done;
};

} // namespace Backoffice
