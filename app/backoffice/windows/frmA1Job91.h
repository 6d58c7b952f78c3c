#pragma once

#include "SalesCalc.h"

#include <QWidget>

class Grid;
class QPushButton;

// The sales projection: five figures typed into the value column, eight worked out from them whenever a
// value changes.
class frmA1Job91 : public QWidget
{
    Q_OBJECT
public:
    explicit frmA1Job91(QWidget* parent = nullptr);

    void Calculate();
    // A value cell typed into: a number recalculates, anything else is refused and the cell gets its
    // number back.
    void ValueEdited(int column, int row);
    const SalesCalc::Values& values() const { return m_values; }

private:
    void showValues();

    Grid* grdR1;
    QPushButton* cmdDo01;
    QPushButton* cmdDo99;
    SalesCalc::Values m_values {};
    bool m_showing = false;
};
