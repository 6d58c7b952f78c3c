#pragma once

#include "CouponPrint.h"
#include "CouponStore.h"

#include <QWidget>

class CouponPreview;
class Grid;
class QComboBox;
class PageTurner;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The coupon window: the shop's coupons, one page of the games of the selected coupon with their issue
// and rank, the issue run with its printing, the coupon's preview and memo.
class frmPrint1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmPrint1(QWidget* parent = nullptr);

    void ShowCouponList();
    void SelectCoupon(int row);
    void ShowIssuedPage(qint64 drawNo);
    void ShowNextTip();
    void NextPage();
    void PreviousPage();
    // Draws the coupon couponNo of the draw in the preview; 0 shows it without games.
    void DrawCoupon(qint64 drawNo, qint64 couponNo);

    // "쿠폰등록", "쿠폰수정": the registration form, then the list again.
    void AppendCoupon();
    void EditCoupon();
    // "> 새복권 발행(&P)": asks how many coupons, then IssueRun.
    void IssueCoupons();
    // Numbers and prints coupons of the selected coupon's unissued games.
    void IssueRun(int coupons, int gamesPerCoupon);
    // "다시 인쇄": the ticked issued coupons once more, as they were numbered.
    void Reprint();
    void DeleteCoupon();
    void DeleteTickedGames();
    void DeleteLostGames();
    void SaveMemo();
    void ExportCoupon();

    int page() const { return m_page; }
    int pageCount() const { return m_pages; }
    int ticked() const { return m_ticked; }
    qint64 drawNo() const { return m_drawNo; }
    const PrintOutcome& lastPrint() const { return m_lastPrint.outcome; }
    // The coupons whose page of the last print run did not come out.
    const std::vector<CouponStore::CouponKey>& lastMissed() const { return m_lastPrint.missed; }

Q_SIGNALS:
    // The window shows another coupon: the main window turns its banner.
    void bannerChangeRequested();

private:
    QWidget* buildCoupons();
    QWidget* buildGames();
    void gameClicked(int column, int row);
    void previewFirstRow();
    qint64 couponOfRow(int row) const;
    void tick(int row);
    void tickAll();
    void turnPage(int step);
    void refresh();
    void refreshAfterWrite();
    void reselect();
    void reportPrint(const CouponPrintRun& run);
    CouponStore::Filter filter() const;
    CouponStore::Order order() const;
    std::vector<qint64> tickedNumbers(bool issuedOnly) const;

    Grid* grdR1;
    Grid* grdR2;
    QComboBox* cboCheck1;
    QComboBox* cboSort1;
    QPushButton* cmdAppend1;
    QPushButton* cmdEdit1;
    QPushButton* cmdDelete1;
    QPushButton* cmdRefresh;
    QPushButton* cmdToText;
    QPushButton* cmdPrint1;
    QPushButton* cmdReprint1;
    QPushButton* cmdDelete2;
    QPushButton* cmdClear1;
    QLabel* lblMsg1;
    QLabel* lblTip1;
    QLabel* lblRecCount;
    PageTurner* pager;
    QPlainTextEdit* txtBigo1;
    QPushButton* cmdSave1;
    CouponPreview* picPad;

    // What the window shows; every action works on these, not on wherever a list's cursor has gone.
    int m_couponRow = 0;
    qint64 m_drawNo = 0;
    QString m_headline;
    bool m_memoShown = false;
    int m_page = 1;
    int m_pages = 1;
    int m_ticked = 0;
    QString m_countLine;
    QString m_rankSummary;
    qint64 m_previewCoupon = 0;
    QStringList m_tips;
    int m_tipIndex = 0;
    bool m_initialised = false;
    CouponPrintRun m_lastPrint;
};
