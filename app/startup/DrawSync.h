#pragma once

#include <QDate>

// Brings the local copy of the draws up to date at every start, or hands over to the updater when the
// server offers newer program files (not for a release this install refused for good, not right after a
// failed run, not without the service's key: the member is told once and the program goes on). Each step is one
// transaction, and its change stamp is written in that same transaction, so a step that fails leaves nothing
// half-copied and is simply repeated at the next start. A failure is reported and ends the program before the main
// window opens.
void SyncDrawResults();

// The main program may itself be one of the files a stopped update was replacing: before anything else,
// a record of a copy under way hands over to the updater, which finishes or undoes it. Not right after a
// run that failed (the start after that tries again); when the updater cannot be started, the member is
// told and the program goes on.
void FinishInterruptedUpdate();

// The number the updater is started with: the year plus month × 100 + day (2003-03-12 → 2315).
int UpdaterDayNumber(const QDate& day);

// The windows whose open flags the synchronisation clears at start.
inline constexpr const char16_t* kChildForms[]
    = {u"frmRun1", u"frmHome1", u"frmBank1", u"frmPrint1", u"frmInfo1", u"frmHelp1", u"frmHotView1"};
