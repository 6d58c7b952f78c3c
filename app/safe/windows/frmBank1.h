#pragma once

#include "SafeStore.h"

#include <QWidget>

class Grid;
class QBoxLayout;
class QComboBox;
class PageTurner;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The ticket safe: the draws with the games kept for each, the groups and one page of the games of the
// selected draw with their ranks, the draw's national result, the member's winnings and the memo.
class frmBank1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmBank1(QWidget* parent = nullptr);
    ~frmBank1() override;

    void ShowDrawList(bool reload);
    void SelectDraw(int row);
    void SelectGroup(int row);
    void RefreshDrawView();
    void ShowTicketPage(qint64 drawNo);
    void ShowDrawSummary();
    void CalcDrawRanks(qint64 drawNo, bool fullPass);
    void NextPage();
    void PreviousPage();

    // Part of the safe's upkeep.
    void DeleteCheckedGames();
    void DeleteGroupGames();
    void DeleteLosingGames();
    void SaveMemo();
    void RenameGroup();
    void ExportDraw();
    // A bought paper ticket read from its QR code.
    void ImportQrTicket();

    // Claims and the whole safe.
    // Shows the draw, reading the draw list again when it is not in it yet; false when there is no such draw.
    bool ShowDrawNo(qint64 drawNo);
    void ToggleReceived();
    void BackupSafe();
    void RestoreSafe(const QString& path);

    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }

Q_SIGNALS:
    // The safe shows another page of games: the main window turns its banner.
    void bannerChangeRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct ColumnWidths
    {
        int four, three, two;
    };
    ColumnWidths columnWidths() const;

public:
    QSize minimumSizeHint() const override;

protected:
private:
    QWidget* buildDraws();
    QWidget* buildGroups();
    QWidget* buildTickets();
    QWidget* buildSummary();
    QWidget* buildClaim();
    void showClaim();
    SafeStore::TicketQuery ticketQuery() const;
    void reselectDraw();
    void turnPage(int step);
    void toggleAll();

    Grid* grdR1;
    Grid* grdR2;
    Grid* grdR3;
    PageTurner* pager;
    QComboBox* cboCheck1;
    QComboBox* cboSort1;
    QPushButton* cmdDelete2;
    QPushButton* cmdPrint1;
    QPushButton* cmdRefresh;
    QPushButton* cmdClear1;
    QPushButton* cmdQr1;
    QLabel* lblRecCount;
    QLabel* lblMsg1;
    QLabel* lblRank;
    std::array<QLabel*, 6> lblRankN {}; // 1..5
    QLabel* lblClaim1;
    QPushButton* cmdClaim1;
    QPushButton* cmdBackup1;
    QPushButton* cmdRestore1;
    QPlainTextEdit* txtBigo1;
    QPushButton* cmdSave1;
    QLineEdit* txtGName1;
    QPushButton* cmdSave2;
    QPushButton* cmdDelete3;

    // What the window shows; the actions work on these, not on the grids' current rows.
    int m_drawRow = 0;
    qint64 m_drawNo = 0;
    bool m_memoShown = false; // the memo box holds the draw's memo, not an empty box left by a failed read
    qint64 m_shownCount = 0;
    QString m_groupName;
    qint64 m_groupNo = 0;
    int m_page = 1;
    int m_pageCount = 1;
    int m_checked = 0;
    bool m_initialised = false;
    QBoxLayout* m_lists = nullptr; // draws and groups
    QBoxLayout* m_split = nullptr; // tickets and the draw's result
};
