#pragma once

#include "Backoffice.h"
#include "DrawAdmin.h"

#include <QWidget>

class Grid;
class QComboBox;
class QLabel;
class QPushButton;

// The server's draws of a month with their free-ticket statistics, corrected in place; the national
// prize table of the selected draw; the free games that won; and the four steps that settle a draw's
// free tickets.
class frmA1Job13 : public QWidget
{
    Q_OBJECT
public:
    explicit frmA1Job13(QWidget* parent = nullptr);

    void Refresh();
    void SelectDraw(int row);
    // A cell of the draw list corrected by hand: its row is ticked for saving and, unless the change
    // stamp itself was typed, gets a stamp newer than the members' so that they copy the correction.
    void DrawCellEdited(int column, int row);
    void SaveDraws();
    void SavePrizeTable();
    void CorrectGame();
    void RankGames(); // step 1
    void StoreRanks(); // step 2
    void ArchiveWinners(); // step 3
    void DeleteGames(); // step 4

    qint64 selectedDraw() const { return m_drawNo; }

private:
    void buildControls();
    void showDraws(qint64 keep);
    void showWinners(const std::vector<DrawAdmin::Winner>& winners);
    void restampAfterPrizeTable(const QString& stamp);
    bool stepAllowed(int step);
    // The month of the newest draw with free tickets, when the current month has none.
    void showLatestMonth();

    QComboBox* cboYear1;
    QComboBox* cboMonth1;
    QPushButton* cmdRefresh;
    Grid* grdR1;
    QLabel* Label2;
    QPushButton* cmdDo01;
    QPushButton* cmdDo02;
    QLabel* lblMsg01;
    Grid* grdR3;
    QPushButton* cmdDo03;
    Grid* grdR2;
    QPushButton* cmdDo04;
    QPushButton* cmdJob01;
    QPushButton* cmdJob02;
    QPushButton* cmdJob03;
    QPushButton* cmdJob04;

    qint64 m_drawNo = 0;
    QString m_drawsStamp; // as the list was read
    qint64 m_settling = 0; // the draw step 1 ranked
    std::vector<DrawAdmin::Winner> m_ranked;
    Backoffice::StepFlags m_steps {4};
};
