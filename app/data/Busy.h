#pragma once

#include <QString>

#include <functional>

// What a long piece of work shows while it runs: the hourglass, and the main window's progress bar with
// a caption. The program installs the desktop's indicator; tests and the command-line tools leave none,
// and then nothing is shown.
class BusyIndicator
{
public:
    virtual ~BusyIndicator() = default;
    virtual void showBusy(bool busy, const QString& caption) = 0;
    virtual void setProgress(int percent) = 0;
};

// Not owned; nullptr when there is none.
void SetBusyIndicator(BusyIndicator* indicator);

// How a long loop of the logic reports how far it has come, 0 to 100.
using ProgressCallback = std::function<void(int percent)>;

// Busy for as long as the guard lives, so that an early return or an exception can never leave the
// hourglass on. A guard inside another only changes the caption; the outermost one turns it off.
class BusyGuard
{
public:
    explicit BusyGuard(const QString& caption = QString());
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    // Moves the progress bar of the work in hand (clamped to 0–100).
    static void progress(int percent);
    // The same, as the logic's callbacks take it.
    static ProgressCallback callback();
    static bool active();
};
