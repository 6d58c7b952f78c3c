#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

// A preview board: one text in nine label styles, for choosing the look of a button picture.
class frmA1Job92 : public QWidget
{
    Q_OBJECT
public:
    explicit frmA1Job92(QWidget* parent = nullptr);

private:
    QLineEdit* txtText1;
    std::array<QLabel*, 9> lblT {};
};
