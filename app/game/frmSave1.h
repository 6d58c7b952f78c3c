#pragma once

#include <QDialog>

class Grid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Where to keep the games in the ticket safe: the draw, the group and the draw's memo. In:
// gDialogNumber[1] = the number of games. Out: gDialogResult "정상", gDialogNumber[1] = the draw,
// gDialogText[1] = the memo, gDialogText[2] = the group name.
class frmSave1 : public QDialog
{
    Q_OBJECT
public:
    explicit frmSave1(QWidget* parent = nullptr);
    void save();

private:
    void selectDraw(int row);
    void groupChosen();

    Grid* grdR1;
    QLineEdit* txtBigo1;
    QComboBox* cboGroup1;
    QLineEdit* txtGName1;
    QLabel* lblMsg1;
    QPushButton* cmdSave1;
    QPushButton* cmdCancel;
    bool m_loaded = false;
    qint64 m_drawNo = 0; // the draw on screen, 0 while none is
};
