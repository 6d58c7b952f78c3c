#pragma once

#include "Backoffice.h"
#include "OrderStore.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

class Grid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The shops' orders of free tickets: the month's orders with their registered and cancelled games, the
// administrator's state, postal number and memo, the deletion of an order, and the four steps that fill
// an order with the lotto game window's games.
class frmA1Job11 : public QWidget
{
    Q_OBJECT
public:
    // The game texts of the lotto game window's list, or nothing when that window is not open. The shell
    // provides it: this window knows no other window.
    using GameSource = std::function<std::optional<QStringList>()>;

    explicit frmA1Job11(QWidget* parent = nullptr);
    void setGameSource(GameSource source) { m_gameSource = std::move(source); }

    void Refresh();
    void SelectOrder(int row);
    void SaveOrder();
    void DeleteOrder();
    void Prepare(); // step 1
    void PullGames(); // step 2
    void CheckCount(); // step 3
    void RegisterGames(); // step 4

    qint64 selectedOrder() const { return m_order; }

private:
    void buildControls();
    void showOrders(qint64 keep);
    void showOrdersFromTheFirst();
    // Step n may run now; otherwise says why not.
    bool stepAllowed(int step);

    QComboBox* cboYear1;
    QComboBox* cboMonth1;
    QPushButton* cmdRefresh;
    Grid* grdR1;
    QLabel* lblMsg01;
    QLabel* lblMsg02;
    QLabel* Label2;
    QLineEdit* txtState1;
    QLineEdit* txtSendNo1;
    QPlainTextEdit* txtBigo1;
    QPushButton* cmdDo01;
    QPushButton* cmdDo02;
    QPushButton* cmdDo03;
    QLineEdit* txtGame1;
    Grid* grdR2;
    QPushButton* cmdJob01;
    QPushButton* cmdJob02;
    QPushButton* cmdJob03;
    QPushButton* cmdJob04;

    GameSource m_gameSource;
    std::vector<OrderStore::Order> m_orders; // the rows of grdR1
    qint64 m_order = 0;
    qint64 m_drawNo = 0;
    qint64 m_checkedOrder = 0; // the order step 3 checked
    QStringList m_pulled;
    Backoffice::StepFlags m_steps {4};
};
