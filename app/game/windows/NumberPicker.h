#pragma once

#include "GameRules.h"

#include <QWidget>

class QPushButton;

// Forty-five number buttons, 1 to 45. A selected button is bold on RGB(192,192,192); an unselected one
// regular on RGB(224,224,224). The bold face is the selection: nothing else records it.
class NumberPicker : public QWidget
{
    Q_OBJECT
public:
    // name: the control array's name ("cmdNo001"); button i is named name + "(" + i + ")".
    NumberPicker(const QString& name, QWidget* parent = nullptr);

    bool isSelected(int number) const;
    void setSelected(int number, bool selected);
    NumberSet selection() const;
    int selectedCount() const;
    void clear();
    QPushButton* button(int number) const;

Q_SIGNALS:
    void numberClicked(int number);

private:
    std::array<QPushButton*, 45> m_buttons {};
};
