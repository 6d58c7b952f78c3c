#pragma once

#include "UpdateRun.h"

#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

// The updater's window: what the run is doing, "취소" while it works, and the result with "마침".
// The work itself is UpdateRun's; the window starts it two seconds after it opens and shows its signals.
class frmUpdate1 : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kTickLimit = 180;

    explicit frmUpdate1(QWidget* parent = nullptr);

    // Starts the start delay (tmrDelay1).
    void begin();
    UpdateRun& run() { return m_run; }

    // What the timers and buttons do; tests call them instead of waiting for the clock.
    void delayElapsed();
    void jobTick();
    void cancelPressed();
    // Starts 수리볼 again when the run is done, refused or failed (not when it was cancelled), and ends the
    // updater.
    void endPressed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void runEnded(UpdateRun::Outcome outcome);
    void showResult(const QString& first, const QString& second);
    static void setLabel(QLabel* label, const QString& text);

    UpdateRun m_run;
    QFrame* fraR1;
    QFrame* fraR2;
    QLabel* lblMsg11;
    QLabel* lblMsg31;
    QLabel* lblMsg12;
    QLabel* lblMsg13;
    QLabel* lblMsg21;
    QLabel* lblMsg22;
    QLabel* lblMsg51;
    QLabel* lblMsg52;
    QLabel* Image1;
    QProgressBar* prgCurJob;
    QPushButton* cmdCancel;
    QPushButton* cmdEnd;
    QTimer* tmrDelay1;
    QTimer* tmrJob1;

    bool m_started = false;
    bool m_startMain = false;
    int m_ticks = 0;
};
