#pragma once

#include "OrderStore.h"

#include <QLabel>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class Grid;
class QComboBox;
class QHBoxLayout;

// The pieces every administrator's window is made of.
namespace AdminForm {

// A control's caption as a label in front of it, and the control's accessible name.
QLabel* Caption(const QString& text, QWidget* buddy);
// The heading bar above a list.
QLabel* Title(const QString& text);
// "검색범위:" with the year and month boxes and the refresh button.
QHBoxLayout* SearchRow(QComboBox* year, QComboBox* month, QWidget* refresh);
// Closes the window, or the frame that holds it in the main window.
void CloseWindow(QWidget* window);

// The list of the month's orders that both order windows show (grdR1), its second column captioned
// idCaption.
Grid* OrderGrid(const QString& idCaption);
// Fills it, one row an order with its amount as the window reckons it, and makes the row of the order
// keep current when it is there.
void ShowOrders(Grid& grid,
                const std::vector<OrderStore::Order>& orders,
                qint64 keep,
                const std::function<qint64(const OrderStore::Order&)>& amount);

} // namespace AdminForm
