#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

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

} // namespace AdminForm
