#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login form, shown modally by the start routine. It answers through gDialogResult: "정상" after a
// successful login, unchanged when closed with "마침" or its close box.
class frmLogin : public QDialog
{
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

    void runLogin();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openRegister();

    QLabel* picPad;
    QLabel* lblDate1;
    QLabel* Label1;
    QLineEdit* txtID1;
    QLabel* Label2;
    QLineEdit* txtPwd;
    QCheckBox* chkSave1;
    QPushButton* cmdStart1;
    QPushButton* cmdExit;
    QLabel* cmdUserAdd;
    QLabel* cmdPwdSeek;
    QLabel* Label3;
    QLabel* Label4;
};
