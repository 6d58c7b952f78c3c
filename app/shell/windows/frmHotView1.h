#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTimer;
class WebView;

// The daily notice, shown at the first start of a day. It cannot be closed during its first second;
// "오늘은 그만 보겠습니다" keeps it away for the rest of the day.
class frmHotView1 : public QDialog
{
    Q_OBJECT
public:
    explicit frmHotView1(QWidget* parent = nullptr);
    ~frmHotView1() override;

    bool isReady() const;
    // Closes it whatever the time, as the main window does when it closes.
    void forceClose();

    void done(int result) override;

private:
    void finish();

    QWidget* picV1;
    WebView* webV1;
    QCheckBox* chkMsg1;
    QPushButton* cmdExit;
    QTimer* tmrReady;
    bool m_finished = false;
    bool m_forced = false;
};
