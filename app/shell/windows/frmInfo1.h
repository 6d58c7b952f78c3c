#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// The settings window: six numbers that size the other windows.
class frmInfo1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmInfo1(QWidget* parent = nullptr);

    void save();

private:
    QGroupBox* fraR1;
    QGroupBox* fraR2;
    QPushButton* cmdSave1;
    QPushButton* cmdRefresh;
    QCheckBox* chkWin1; // the win notice after a start
    bool m_winShown = true;
    QList<QComboBox*> m_boxes; // in the order of DisplaySettings::all()
};
