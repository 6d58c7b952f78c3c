#include "frmPrint1.h"

#include "CouponExport.h"
#include "CouponLayout.h"
#include "CouponPreview.h"
#include "CouponPrint.h"
#include "Game.h"
#include "Globals.h"
#include "Grid.h"
#include "IssuePlan.h"
#include "MessageService.h"
#include "PageTurner.h"
#include "PrintPreview.h"
#include "Rank.h"
#include "SafeStore.h"
#include "UiTools.h"
#include "frmPrintSet.h"
#include "frmSave22.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QLabel* title(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAccessibleName(text);
    label->setStyleSheet(u"background: #1d3c8f; color: white; font-weight: bold; padding: 3px 8px;"_s);
    return label;
}

QPushButton* button(const QString& caption, const QString& name)
{
    auto* b = Named(new QPushButton(caption), name);
    b->setAccessibleName(QString(caption).remove(u"(&P)"_s).remove(u'&'));
    return b;
}

const QColor kShade(246, 246, 246);
const QString kFailure = u"복권쿠폰 작업 중 오류가 발생하였습니다. 바뀐 것은 없습니다."_s;

template <typename F> bool guarded(F&& action) { return RunGuarded(kFailure, std::forward<F>(action)); }

// Consecutive games of one coupon share a colour, every other coupon shaded; unissued games stay plain.
void StripeCoupons(Grid& grid)
{
    bool painted = true;
    QString last;
    for (int r = 1; r <= grid.maxRows(); ++r) {
        const QString number = grid.text(5, r);
        if (number.isEmpty())
            continue;
        if (number != last) {
            painted = !painted;
            last = number;
        }
        if (painted)
            grid.setRowColor(r, kShade);
    }
}

} // namespace

frmPrint1::frmPrint1(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(u"frmPrint1"_s);
    setWindowTitle(u"복권쿠폰"_s);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildCoupons(), 0);
    layout->addWidget(buildGames(), 1);

    cboCheck1->addItems({u"(전체)"_s, u"1:발행된 복권"_s, u"2:미발행 복권"_s, u"3:당첨된 복권"_s});
    cboSort1->addItems({u"1:발행순서"_s, u"2:등수"_s, u"3:복권번호"_s});
    m_page = 1;
    guarded([this] {
        m_tips = IssuePlan::Tips();
        m_tipIndex = IssuePlan::SavedTipIndex();
    });
    m_initialised = true;
    for (QComboBox* box : {cboCheck1, cboSort1}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (m_initialised)
                reselect();
        });
    }
    refresh();
}

QWidget* frmPrint1::buildCoupons()
{
    grdR1 = Named(new Grid, u"grdR1"_s);
    grdR1->setHeaders({u"회차"_s, u"홍보글"_s, u"게임수"_s});
    grdR1->setColumnKind(1, Grid::ColumnKind::Number);
    grdR1->setColumnKind(3, Grid::ColumnKind::Number);
    grdR1->setColumnHidden(0, true);
    grdR1->setColumnWidth(1, 44);
    grdR1->setStretchColumn(2);
    grdR1->setColumnWidth(3, 60);
    grdR1->setSelectRows(true);
    grdR1->setMinimumWidth(240);
    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) { guarded([&] { SelectCoupon(row); }); });

    cmdAppend1 = button(u"쿠폰등록"_s, u"cmdAppend1"_s);
    cmdEdit1 = button(u"쿠폰수정"_s, u"cmdEdit1"_s);
    cmdDelete1 = button(u"쿠폰삭제"_s, u"cmdDelete1"_s);
    cmdRefresh = button(u"새로고침"_s, u"cmdRefresh"_s);
    connect(cmdAppend1, &QPushButton::clicked, this, [this] { guarded([this] { AppendCoupon(); }); });
    connect(cmdEdit1, &QPushButton::clicked, this, [this] { guarded([this] { EditCoupon(); }); });
    connect(cmdDelete1, &QPushButton::clicked, this, [this] { guarded([this] { DeleteCoupon(); }); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { refresh(); });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAppend1, cmdEdit1, cmdDelete1, cmdRefresh})
        buttons->addWidget(b);

    txtBigo1 = Named(new QPlainTextEdit, u"txtBigo1"_s);
    txtBigo1->setAccessibleName(u"메모"_s);
    txtBigo1->setMaximumHeight(48);
    cmdSave1 = button(u"저장"_s, u"cmdSave1"_s);
    connect(cmdSave1, &QPushButton::clicked, this, [this] { guarded([this] { SaveMemo(); }); });
    auto* memo = new QGridLayout;
    memo->addWidget(new QLabel(u"메 모:"_s), 0, 0, Qt::AlignTop);
    memo->addWidget(txtBigo1, 0, 1);
    memo->addWidget(cmdSave1, 0, 2, Qt::AlignTop);

    picPad = Named(new CouponPreview, u"picPad"_s);
    picPad->setAccessibleName(u"복권 미리보기"_s);
    auto* size = new QLabel(u"크기: 61 x 136 (mm)"_s);
    size->setAccessibleName(size->text());
    size->setAlignment(Qt::AlignCenter);
    size->setStyleSheet(u"color: #555555;"_s);

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title(u"이벤트 목록"_s));
    layout->addWidget(grdR1, 2);
    layout->addLayout(buttons);
    layout->addLayout(memo);
    layout->addWidget(picPad, 5);
    layout->addWidget(size);
    return box;
}

QWidget* frmPrint1::buildGames()
{
    grdR2 = Named(new Grid, u"grdR2"_s);
    grdR2->setHeaders({u"+"_s, u"복권번호"_s, u"등수"_s, u"발행날짜"_s, u"발행번호"_s, u"SNO1"_s, u"SNO2"_s});
    grdR2->setColumnKind(1, Grid::ColumnKind::Check);
    grdR2->setColumnHidden(6, true);
    grdR2->setColumnHidden(7, true);
    grdR2->setColumnWidth(0, 56);
    grdR2->setColumnWidth(1, 26);
    grdR2->setColumnWidth(2, 130);
    grdR2->setColumnWidth(3, 40);
    grdR2->setColumnWidth(4, 150);
    grdR2->setStretchColumn(5);
    grdR2->setMinimumWidth(260); // narrower, the list scrolls sideways inside itself
    // A click here ticks a game or shows its coupon: only real clicks count, not rows passed by the keys.
    grdR2->setSelectionFollowsCursor(false);
    connect(grdR2, &Grid::cellClicked, this, [this](int column, int row) {
        guarded([&] { gameClicked(column, row); });
    });

    cboCheck1 = Named(new QComboBox, u"cboCheck1"_s);
    cboSort1 = Named(new QComboBox, u"cboSort1"_s);
    for (QComboBox* box : {cboCheck1, cboSort1})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents); // its item whole, however narrow the window
    cboCheck1->setAccessibleName(u"검색조건"_s);
    cboSort1->setAccessibleName(u"복권정렬"_s);
    cmdPrint1 = button(u"> 새복권 발행(&P)"_s, u"cmdPrint1"_s);
    cmdPrint1->setStyleSheet(u"font-weight: bold;"_s);
    cmdReprint1 = button(u"다시 인쇄"_s, u"cmdReprint1"_s);
    cmdReprint1->setToolTip(u"선택한 발행복권을 같은 발행번호로 다시 인쇄합니다."_s);
    cmdDelete2 = button(u"복권삭제"_s, u"cmdDelete2"_s);
    cmdClear1 = button(u"낙첨복권 삭제"_s, u"cmdClear1"_s);
    cmdToText = button(u"화일저장"_s, u"cmdToText"_s);
    connect(cmdPrint1, &QPushButton::clicked, this, [this] { guarded([this] { IssueCoupons(); }); });
    connect(cmdReprint1, &QPushButton::clicked, this, [this] { guarded([this] { Reprint(); }); });
    connect(cmdDelete2, &QPushButton::clicked, this, [this] { guarded([this] { DeleteTickedGames(); }); });
    connect(cmdClear1, &QPushButton::clicked, this, [this] { guarded([this] { DeleteLostGames(); }); });
    connect(cmdToText, &QPushButton::clicked, this, [this] { guarded([this] { ExportCoupon(); }); });

    lblMsg1 = Named(new QLabel(u"[발행: ] [미발행: ]"_s), u"lblMsg1"_s);
    lblMsg1->setStyleSheet(u"color: #b03030; font-weight: bold; padding: 2px 0;"_s);
    lblRecCount = Named(new QLabel(u"[자료: 0/0]"_s), u"lblRecCount"_s);
    pager = Named(new PageTurner, u"pager"_s);
    connect(pager, &PageTurner::nextRequested, this, &frmPrint1::NextPage);
    connect(pager, &PageTurner::previousRequested, this, &frmPrint1::PreviousPage);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"검색조건:"_s));
    filters->addWidget(cboCheck1);
    filters->addWidget(new QLabel(u"복권정렬:"_s));
    filters->addWidget(cboSort1);
    filters->addStretch(1);
    // Two rows, so that every caption stays whole in the smallest main window: issuing and printing
    // first, then the deletions.
    auto* buttons = new QVBoxLayout;
    for (const auto& row : {std::initializer_list<QPushButton*> {cmdPrint1, cmdReprint1, cmdToText},
                            std::initializer_list<QPushButton*> {cmdDelete2, cmdClear1}}) {
        auto* line = new QHBoxLayout;
        for (QPushButton* b : row)
            line->addWidget(b);
        line->addStretch(1);
        buttons->addLayout(line);
    }
    auto* counts = new QHBoxLayout;
    lblMsg1->setWordWrap(true);
    counts->addWidget(lblMsg1, 1);
    counts->addWidget(lblRecCount, 0, Qt::AlignTop);

    lblTip1 = Named(new QLabel, u"lblTip1"_s);
    lblTip1->setStyleSheet(u"color: #2a6a2a; padding: 2px 0;"_s);
    lblTip1->setWordWrap(true);
    lblTip1->hide();

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title(u"복권발행"_s));
    layout->addWidget(lblTip1);
    layout->addLayout(filters);
    layout->addLayout(buttons);
    layout->addLayout(counts);
    layout->addWidget(grdR2, 1);
    layout->addWidget(pager);
    return box;
}

void frmPrint1::refresh()
{
    guarded([this] {
        ShowCouponList();
        SelectCoupon(1);
    });
}

// After a change that is committed: a list that cannot be read again does not deny the change.
void frmPrint1::refreshAfterWrite()
{
    RefreshAfterWrite([this] {
        ShowCouponList();
        SelectCoupon(1);
    });
}

void frmPrint1::reselect()
{
    guarded([this] { SelectCoupon(m_couponRow); });
}

void frmPrint1::ShowCouponList()
{
    BusyGuard busy(u"복권쿠폰 읽기 ..."_s);
    // Nothing of the coupon shown before stays to act on while the list is read again.
    m_couponRow = 0;
    m_drawNo = 0;
    m_memoShown = false;
    grdR1->setMaxRows(0);
    const std::vector<CouponStore::Coupon> coupons = CouponStore::Coupons();
    QList<QStringList> rows;
    rows.reserve(qsizetype(coupons.size()));
    for (const CouponStore::Coupon& c : coupons)
        rows.append({QString::number(c.drawNo), c.title, QString::number(c.games)});
    grdR1->setRows(rows);
    cmdSave1->setEnabled(!rows.isEmpty());
    StripeRows(*grdR1);
}

void frmPrint1::SelectCoupon(int row)
{
    if (grdR1->maxRows() == 0 || row <= 0 || row > grdR1->maxRows()) {
        if (grdR1->maxRows() == 0) {
            grdR2->setMaxRows(0);
            picPad->clear();
            txtBigo1->clear();
            m_countLine = u"[발행: 0] [미발행: 0] "_s;
            lblMsg1->setText(u"[발행: ] [미발행: ]"_s);
            lblRecCount->setText(u"[자료: 0/0]"_s);
            pager->hidePages();
        }
        return;
    }
    m_couponRow = row;
    grdR1->setActiveCell(1, row);
    m_drawNo = grdR1->text(1, row).toLongLong();
    m_headline = grdR1->text(2, row);
    grdR2->setMaxRows(0);
    picPad->clear();
    m_previewCoupon = 0;
    m_memoShown = false;
    txtBigo1->clear();
    m_rankSummary.clear();

    CouponStore::CalcCouponRanks(m_drawNo, BusyGuard::callback());
    m_page = 1;
    ShowIssuedPage(m_drawNo);
    previewFirstRow();
    {
        BusyGuard busy(u"등수 계산 ..."_s);
        m_rankSummary = CouponStore::RankSummary(m_drawNo);
        lblMsg1->setText(m_countLine + m_rankSummary);
    }
    ShowNextTip();
    Q_EMIT bannerChangeRequested();
}

CouponStore::Filter frmPrint1::filter() const
{
    const QString first = cboCheck1->currentText().left(1);
    return first == u"1"_s ? CouponStore::Filter::Issued
        : first == u"2"_s  ? CouponStore::Filter::Unissued
        : first == u"3"_s  ? CouponStore::Filter::Won
                           : CouponStore::Filter::All;
}

CouponStore::Order frmPrint1::order() const
{
    const QString first = cboSort1->currentText().left(1);
    return first == u"2"_s ? CouponStore::Order::Rank
        : first == u"3"_s  ? CouponStore::Order::Numbers
                           : CouponStore::Order::IssueOrder;
}

void frmPrint1::ShowIssuedPage(qint64 drawNo)
{
    BusyGuard busy(u"발행복권 읽기 ..."_s);
    m_memoShown = false;
    txtBigo1->clear();
    pager->hidePages();
    m_ticked = 0;
    grdR2->setText(1, 0, u"+"_s);
    if (drawNo == 0)
        drawNo = m_drawNo;
    if (grdR1->maxRows() == 0 || drawNo == 0)
        return;

    for (const CouponStore::Coupon& c : CouponStore::Coupons()) {
        if (c.drawNo != drawNo)
            continue;
        if (m_couponRow > 0 && grdR1->text(3, m_couponRow).toLongLong() != c.games)
            grdR1->setText(3, m_couponRow, QString::number(c.games));
    }
    txtBigo1->setPlainText(CouponStore::Memo(drawNo));
    m_memoShown = true;

    m_countLine = CouponStore::CountLine(CouponStore::CountGames(drawNo));
    lblMsg1->setText(m_countLine + m_rankSummary);

    const int size = std::max(gCouponPageSize, 1);
    const qint64 total = CouponStore::CountMatching(drawNo, filter());
    const CouponStore::Paging paging = CouponStore::PageOf(total, m_page, size);
    m_page = int(paging.page);
    m_pages = int(paging.pages);
    if (total > size) { }
    pager->setPages(m_page, m_pages);

    const std::vector<CouponStore::Game> games = CouponStore::GamesPage(drawNo, filter(), order(), m_page, size);
    {
        Grid::Batch batch(*grdR2);
        grdR2->setMaxRows(0);
        grdR2->setMaxRows(int(games.size()));
        QStringList numbers;
        const qint64 first = qint64(m_page - 1) * size;
        int r = 0;
        for (const CouponStore::Game& g : games) {
            ++r;
            numbers.append(QString::number(first + r));
            grdR2->setText(1, r, u"0"_s);
            grdR2->setText(2, r, GameText::Dotted(g.no1));
            grdR2->setText(3, r, RankText(g.top1, RankStyle::Bare));
            grdR2->setText(4, r, g.date1);
            grdR2->setText(5, r, g.date1.isEmpty() ? QString() : CouponStore::IssueNumber(drawNo, g.sNo1));
            grdR2->setText(6, r, QString::number(g.sNo1));
            grdR2->setText(7, r, g.sNo2);
        }
        grdR2->setRowNumbers(numbers);
        StripeCoupons(*grdR2);
    }
    lblRecCount->setText(u"[자료: "_s + QString::number(grdR1->maxRows()) + u'/' + QString::number(grdR2->maxRows())
                         + u']');
}

void frmPrint1::DrawCoupon(qint64 drawNo, qint64 couponNo)
{
    BusyGuard busy(u"복권 미리보기 ..."_s);
    picPad->clear();
    m_previewCoupon = couponNo;
    if (const auto content = CouponLayout::ReadCoupon(drawNo, couponNo))
        picPad->showCoupon(CouponLayout::Build(*content));
}

void frmPrint1::previewFirstRow() { DrawCoupon(m_drawNo, grdR2->maxRows() > 0 ? couponOfRow(1) : 0); }

qint64 frmPrint1::couponOfRow(int row) const
{
    // A game in stock carries its serial where an issued one carries its coupon number; serials and
    // coupon numbers of a draw never meet, so a game in stock shows alone, as the coupon it would make.
    return grdR2->text(6, row).toLongLong();
}

void frmPrint1::ShowNextTip()
{
    if (m_tips.isEmpty()) {
        setWindowTitle(u"복권쿠폰"_s);
        lblTip1->hide();
        return;
    }
    m_tipIndex = m_tipIndex >= 1 && m_tipIndex < m_tips.size() ? m_tipIndex + 1 : 1;
    setWindowTitle(IssuePlan::CaptionWithTip(m_tips[m_tipIndex - 1]));
    // The window has no frame of its own inside the main window, so its caption is shown over the list.
    lblTip1->setText(u"[활용팁] "_s + m_tips[m_tipIndex - 1]);
    lblTip1->setAccessibleName(lblTip1->text());
    lblTip1->show();
}

void frmPrint1::gameClicked(int column, int row)
{
    if (row == 0) {
        if (column == 1)
            tickAll();
        return;
    }
    if (row < 0 || row > grdR2->maxRows())
        return;
    if (column == 1) {
        tick(row);
        return;
    }
    DrawCoupon(m_drawNo, couponOfRow(row));
}

void frmPrint1::tick(int row)
{
    const bool on = !grdR2->isChecked(1, row);
    const QString number = grdR2->text(5, row);
    Grid::Batch batch(*grdR2);
    // An issued coupon is one piece of paper: its games are ticked and unticked together.
    for (int r = 1; r <= grdR2->maxRows(); ++r) {
        const bool same = r == row || (!number.isEmpty() && grdR2->text(5, r) == number);
        if (same && grdR2->isChecked(1, r) != on) {
            grdR2->setText(1, r, on ? u"1"_s : u"0"_s);
            m_ticked += on ? 1 : -1;
        }
    }
}

void frmPrint1::tickAll()
{
    const bool on = grdR2->text(1, 0) == u"+"_s;
    Grid::Batch batch(*grdR2);
    grdR2->setText(1, 0, on ? u"-"_s : u"+"_s);
    for (int r = 1; r <= grdR2->maxRows(); ++r)
        grdR2->setText(1, r, on ? u"1"_s : u"0"_s);
    m_ticked = on ? grdR2->maxRows() : 0;
}

void frmPrint1::turnPage(int step)
{
    const int target = m_page + step;
    if (target < 1 || target > m_pages)
        return;
    m_page = target;
    pager->turn(step, [this] {
        guarded([this] {
            CouponStore::CalcCouponRanks(m_drawNo, BusyGuard::callback());
            ShowIssuedPage(m_drawNo);
            previewFirstRow();
        });
    });
}

void frmPrint1::NextPage() { turnPage(1); }

void frmPrint1::PreviousPage() { turnPage(-1); }

void frmPrint1::AppendCoupon()
{
    if (!IssuePlan::MayIssue(gUserID, gUserLevel)) {
        ShowMessage(IssuePlan::MemberShopNotice(), MsgIcon::Critical);
        return;
    }
    frmSave22 dialog(CouponRegistration::Mode::Register, 0, 0, window());
    dialog.exec();
    if (dialog.savedDraw())
        refreshAfterWrite();
}

void frmPrint1::EditCoupon()
{
    if (m_couponRow == 0)
        return;
    frmSave22 dialog(CouponRegistration::Mode::Edit, m_drawNo, 0, window());
    dialog.exec();
    if (!dialog.savedDraw())
        return;
    RefreshAfterWrite([this] {
        for (const CouponStore::Coupon& c : CouponStore::Coupons()) {
            if (c.drawNo == m_drawNo) {
                grdR1->setText(1, m_couponRow, QString::number(c.drawNo));
                grdR1->setText(2, m_couponRow, c.title);
                grdR1->setText(3, m_couponRow, QString::number(c.games));
            }
        }
        SelectCoupon(m_couponRow);
    });
}

void frmPrint1::IssueCoupons()
{
    if (!IssuePlan::MayIssue(gUserID, gUserLevel)) {
        ShowMessage(IssuePlan::MemberShopNotice(), MsgIcon::Critical);
        return;
    }
    if (m_couponRow == 0)
        return;
    frmPrintSet dialog(CouponStore::CountGames(m_drawNo).unissued, window());
    dialog.exec();
    if (const auto request = dialog.request())
        IssueRun(request->coupons, request->gamesPerCoupon);
}

void frmPrint1::IssueRun(int coupons, int gamesPerCoupon)
{
    if (m_couponRow == 0)
        return;
    m_lastPrint = {};
    const CouponStore::PlannedIssue plan = CouponStore::PlanIssue(m_drawNo, coupons, gamesPerCoupon);
    if (plan.refusal) {
        ShowMessage(*plan.refusal, MsgIcon::Critical);
        return;
    }
    // Nothing is numbered before the person has seen the coupons as they will come out and chosen to
    // print them: a closed preview leaves the stock as it was.
    const CouponPages pages = PlannedCouponPages(plan);
    if (!PrintPreview::Confirm(pages.pages, window()))
        return;
    CouponStore::IssueRun run;
    {
        BusyGuard busy(u"복권발행 준비 ..."_s);
        run = CouponStore::IssueCoupons(plan, BusyGuard::callback());
    }
    if (run.refusal) {
        ShowMessage(*run.refusal, MsgIcon::Critical);
        return;
    }
    // The coupons are numbered now whatever becomes of the paper; one that does not come out is printed
    // again from the list ("다시 인쇄") with the same numbers. From here on nothing may say that nothing
    // changed. The pages are those of the preview: numbering made exactly the coupons it showed.
    RunPrintGuarded([&] { reportPrint(pages.print()); });
    RunGuarded(u"복권은 발행되었으나 인쇄를 마친 표시를 하지 못하였습니다. 다음 발행 때 발행된 복권으로 정리됩니다."_s,
               [] { CouponStore::FinishIssue(); });
    RefreshAfterWrite([this] { SelectCoupon(m_couponRow); });
}

void frmPrint1::reportPrint(const CouponPrintRun& run)
{
    m_lastPrint = run;
    if (!run.outcome.ok())
        ShowMessage(PrintFailureText(run), MsgIcon::Critical);
}

std::vector<qint64> frmPrint1::tickedNumbers(bool issuedOnly) const
{
    std::vector<qint64> numbers;
    for (int r = 1; r <= grdR2->maxRows(); ++r) {
        if (!grdR2->isChecked(1, r) || (issuedOnly && grdR2->text(5, r).isEmpty()))
            continue;
        numbers.push_back(grdR2->text(6, r).toLongLong());
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

void frmPrint1::Reprint()
{
    if (m_couponRow == 0)
        return;
    const std::vector<qint64> numbers = tickedNumbers(true);
    if (numbers.empty()) {
        ShowMessage(u"다시 인쇄할 발행복권을 선택하세요."_s, MsgIcon::Critical);
        return;
    }
    std::vector<CouponStore::CouponKey> keys;
    for (qint64 n : numbers)
        keys.push_back({m_drawNo, n});
    m_lastPrint = {};
    std::optional<CouponPages> pages;
    if (!RunPrintGuarded([&] { pages = ReadCouponPages(keys); }) || !PrintPreview::Confirm(pages->pages, window()))
        return;
    RunPrintGuarded([&] { reportPrint(pages->print()); });
}

void frmPrint1::DeleteCoupon()
{
    if (m_couponRow == 0)
        return;
    if (ShowMessage(u"선택한 쿠폰자료를 삭제할까요? (주의: 쿠폰에 포함된 복권자료도 모두 삭제됩니다)\r\n\r\n[쿠폰: "_s
                        + QString::number(m_drawNo) + u"회차 "_s + m_headline + u']',
                    MsgIcon::None,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    {
        BusyGuard busy(u"쿠폰/복권 삭제 ..."_s);
        CouponStore::DeleteCoupon(m_drawNo);
    }
    refreshAfterWrite();
}

void frmPrint1::DeleteTickedGames()
{
    if (m_couponRow == 0)
        return;
    // Counted from the boxes themselves, so the count can never drift from what is ticked.
    m_ticked = 0;
    for (int r = 1; r <= grdR2->maxRows(); ++r)
        m_ticked += grdR2->isChecked(1, r) ? 1 : 0;
    if (m_ticked == 0) {
        ShowMessage(u"삭제할 복권을 선택하세요."_s, MsgIcon::Critical);
        return;
    }
    if (ShowMessage(QString::number(m_ticked) + u"개의 복권게임을 삭제할까요?"_s, MsgIcon::None, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    {
        BusyGuard busy(u"복권 삭제 ..."_s);
        const qint64 left = CouponStore::DeleteGames(m_drawNo, tickedNumbers(false));
        grdR1->setText(3, m_couponRow, QString::number(left));
    }
    // The page is kept: the list shows the page the member was on, or the last one left.
    const int page = m_page;
    RefreshAfterWrite([&] {
        SelectCoupon(m_couponRow);
        if (page > 1) {
            m_page = page;
            ShowIssuedPage(m_drawNo);
        }
    });
}

void frmPrint1::DeleteLostGames()
{
    if (m_couponRow == 0)
        return;
    {
        BusyGuard busy(u"낙첨복권 삭제 ..."_s);
        BusyGuard::progress(30);
        const qint64 left = CouponStore::DeleteLostGames(m_drawNo);
        BusyGuard::progress(90);
        grdR1->setText(3, m_couponRow, QString::number(left));
    }
    RefreshAfterWrite([this] { SelectCoupon(m_couponRow); });
}

void frmPrint1::SaveMemo()
{
    if (m_couponRow == 0 || !m_memoShown)
        return;
    CouponStore::SaveMemo(m_drawNo, txtBigo1->toPlainText());
    RefreshAfterWrite([this] { txtBigo1->setPlainText(CouponStore::Memo(m_drawNo)); });
}

void frmPrint1::ExportCoupon()
{
    if (m_couponRow == 0) {
        ShowMessage(CouponExport::kNothingToExport);
        return;
    }
    BusyGuard busy(u"텍스트화일 저장 ..."_s);
    CouponExport::ExportCoupon(m_drawNo, m_headline, filter(), order());
}
