#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

// How many coupons to issue, of how many games, with what the run needs and where it prints.
class frmPrintSet : public QDialog
{
    Q_OBJECT
public:
    explicit frmPrintSet(qint64 unissuedGames, QWidget* parent = nullptr);

    struct Request
    {
        int coupons;
        int gamesPerCoupon;
    };
    // Set once "프린트(&P)" accepted the numbers; nothing when cancelled.
    std::optional<Request> request() const { return m_request; }
    void confirm();

private:
    void recount();

    QComboBox* cboCount1;
    QComboBox* cboCount2;
    QLabel* lblMsg5;
    QLabel* lblMsg3;
    QLabel* lblMsg2;
    QLabel* lblMsg1;
    QLabel* Label2;
    QPushButton* cmdPrint1;
    QPushButton* cmdCancel;
    std::optional<Request> m_request;
};
