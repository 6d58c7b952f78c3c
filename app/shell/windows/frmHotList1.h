#pragma once

#include <QWidget>

class Grid;
class QLabel;
class QPushButton;

// Every ticker line in a list; a click on a line opens its link.
class frmHotList1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmHotList1(QWidget* parent = nullptr);

private:
    Grid* grdR1;
    QLabel* Label1;
    QPushButton* cmdEixt;
};
