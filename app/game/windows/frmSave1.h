#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class Grid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Where to keep the games in the ticket safe: the draw, the group and the draw's memo.
class frmSave1 : public QDialog
{
    Q_OBJECT
public:
    struct Choice
    {
        qint64 drawNo = 0;
        QString memo; // as stored: apostrophes turned into backquotes
        QString group;
    };

    explicit frmSave1(qint64 gameCount, QWidget* parent = nullptr);
    void save();
    // What was chosen; nothing while the dialog has not been saved (or was cancelled).
    const std::optional<Choice>& choice() const { return m_choice; }
    std::optional<qint64> chosenDraw() const { return m_choice ? std::optional(m_choice->drawNo) : std::nullopt; }

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
    std::optional<Choice> m_choice;
};
