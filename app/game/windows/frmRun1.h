#pragma once

#include "DrawStats.h"
#include "GameFilter.h"
#include "GameRules.h"

#include <QPointer>
#include <QWidget>

class FilterPanel;
class Grid;
class frmChart1;
class LottoPad;
class NumberPicker;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The lotto game window: a batch of games drawn with required and excluded numbers, games marked by
// hand on the pad, the game list with its commands, and the two number statistics.
class frmRun1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmRun1(QWidget* parent = nullptr);

    void GenerateGames();
    void SelectGameRow(int column, int row);
    void MarkPad(const Game& game);
    void ClearPad();
    void ReadPad();
    void RecountNumberStats();
    void ShowDrawFrequency();
    // The charts of past draws, in a window of their own beside this one.
    void ShowDrawCharts();
    void SortGameList();
    void RemoveDuplicateGames();
    void AppendPadGame();
    void DeleteAllGames();
    void SaveToSafe();
    void SaveToCoupon();
    void ExportGameList();

    // The games of the list, in list order, for the save dialogs and the administrator's orders.
    std::vector<Game> games() const;
    int gameCount() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildCountBox();
    QWidget* buildPickers();
    QWidget* buildPad();
    QWidget* buildList();
    QWidget* buildStats();
    // The filters' cost, counted again whenever the numbers or the filters change.
    void recountFilters();
    void keepFilters();
    void loadFilters();
    void toggleExcluded(int number);
    void toggleRequired(int number);
    void setListCommands(bool enabled);
    void showListCounts(const std::array<qint64, 46>& counts, qint64 games);
    void resetListCounts();
    void updateRecordCount();
    Game rowGame(int row) const;
    // Asks the dialog where the list goes, then hands it to the store (one transaction).
    template <typename Dialog, typename Store> void keepGames(const QString& place, Store&& store);
    QString rowKey(int row) const;

    QLabel* picTitle1;
    QComboBox* cboAutoNo1;
    QPushButton* cmdGame1;
    QPushButton* cmdGame5;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdStart1;
    QLineEdit* txtSeed1;
    QLabel* lblSeed1;
    NumberPicker* cmdNo001;
    NumberPicker* cmdNo002;
    QPushButton* cmdClear;
    QPushButton* cmdClear2;
    FilterPanel* fraFilter1;
    Grid* grdR1;
    QLabel* lblRecCount;
    Grid* grdR2;
    Grid* grdR3;
    LottoPad* picPad1;
    QLabel* lblBokNo2;
    QPushButton* cmdMove1;
    QPushButton* cmdDelete1;
    QPushButton* cmdSort1;
    QPushButton* cmdDuplicate1;
    QPushButton* cmdDelete2;
    QPushButton* cmdSave1;
    QPushButton* cmdSave2;
    QPushButton* cmdPrint;
    QPushButton* cmdChart1;
    QPointer<frmChart1> m_charts;
    std::vector<DrawStats::Draw> m_draws;
    GameFilter::History m_history;

    std::array<int, 6> g {};
};
