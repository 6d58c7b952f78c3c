#pragma once

#include <QDialog>

class Grid;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Which coupon receives the games, and its memo (written by the dialog itself). In:
// gDialogNumber[0] = the number of games. Out: gDialogResult "정상", gDialogNumber[1] = the coupon's draw.
class frmSave21 : public QDialog
{
    Q_OBJECT
public:
    explicit frmSave21(QWidget* parent = nullptr);
    // Writes the memo of the coupon on screen and chooses that coupon.
    void confirm();

private:
    void selectCoupon(int row);

    Grid* grdR1;
    QPlainTextEdit* txtBigo1;
    QLabel* lblMsg1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    int m_couponRow = 0; // the coupon on screen, 0 while none is
};
