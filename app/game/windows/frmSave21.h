#pragma once

#include <QDialog>

#include <optional>

class Grid;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Which coupon receives the games, and its memo (written by the dialog itself).
class frmSave21 : public QDialog
{
    Q_OBJECT
public:
    explicit frmSave21(qint64 gameCount, QWidget* parent = nullptr);
    // The draw of the chosen coupon; nothing while none was chosen (or the dialog was cancelled).
    std::optional<qint64> chosenDraw() const { return m_chosenDraw; }
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
    std::optional<qint64> m_chosenDraw;
};
