#pragma once

#include "WinNotice.h"

#include <QWidget>

class QPushButton;

// The win notice after a start: one line per won draw with a button that opens the safe on it. It does
// not hold up the program; the shell connects openSafeRequested.
class frmWin1 : public QWidget
{
    Q_OBJECT
public:
    frmWin1(const WinNotice::Content& content, const QDate& today, QWidget* parent = nullptr);

Q_SIGNALS:
    void openSafeRequested(qint64 drawNo);

private:
    QPushButton* cmdClose1;
};
