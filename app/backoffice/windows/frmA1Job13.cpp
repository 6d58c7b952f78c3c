#include "frmA1Job13.h"

#include "AdminForm.h"
#include "Busy.h"
#include "Clock.h"
#include "Grid.h"
#include "MessageService.h"
#include "Settlement.h"
#include "UiTools.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kFailed = u"추첨결과 작업을 하지 못하였습니다. 바뀐 것은 없습니다."_s;

// Columns of the draw list.
enum DrawColumn {
    kPick = 1,
    kDrawNo = 2,
    kDate1 = 3,
    kLotNo = 5,
    kCount1 = 6,
    kAmount1 = 11,
    kSum1 = 16,
    kState1 = 17,
    kState2 = 18
};

} // namespace

frmA1Job13::frmA1Job13(QWidget* parent)
    : QWidget(parent)
{
    Backoffice::RequireAdministrator();
    setWindowTitle(u"13: 벨트라복권 추첨결과 등록"_s);
    buildControls();
    const QDate today = Clock::today();
    cboYear1->addItems(Backoffice::YearItems());
    cboYear1->setCurrentIndex(cboYear1->count() - 1);
    cboMonth1->addItems(Backoffice::MonthItems());
    cboMonth1->setCurrentIndex(today.month() - 1);
    Refresh();
    if (grdR1->maxRows() == 0)
        showLatestMonth();
}

void frmA1Job13::buildControls()
{
    cboYear1 = Named(new QComboBox, u"cboYear1");
    cboMonth1 = Named(new QComboBox, u"cboMonth1");
    cmdRefresh = Named(new QPushButton(u"새로고침"_s), u"cmdRefresh");
    Label2 = Named(new QLabel(u"[추첨상태: 1=응모진행,2=응모마감,3=추첨완료]"_s), u"Label2");
    auto* top = AdminForm::SearchRow(cboYear1, cboMonth1, cmdRefresh);
    top->addSpacing(16);
    top->addWidget(Label2);
    top->addStretch(1);
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { Refresh(); }); });

    grdR1 = Named(new Grid, u"grdR1");
    QStringList headers {u"선택"_s, u"회차"_s, u"*시작"_s, u"*추첨날짜"_s, u"*당첨번호"_s};
    for (int rank = 1; rank <= 5; ++rank)
        headers.append(u"*"_s + QString::number(rank) + u"등수"_s);
    for (int rank = 1; rank <= 5; ++rank)
        headers.append(u"*"_s + QString::number(rank) + u"등금액"_s);
    headers << u"발행게임수"_s << u"*추첨상태"_s << u"*변경날짜"_s;
    grdR1->setHeaders(headers);
    grdR1->setColumnKind(kPick, Grid::ColumnKind::Check);
    grdR1->setColumnEditable(kPick, true);
    for (int c = kDate1; c <= kState2; ++c) {
        if (c != kSum1)
            grdR1->setColumnEditable(c, true);
    }
    for (int c = kCount1; c <= kSum1; ++c)
        grdR1->setColumnKind(c, Grid::ColumnKind::Number);
    grdR1->setColumnKind(kDrawNo, Grid::ColumnKind::Number);
    grdR1->setColumnWidth(kPick, 34);
    grdR1->setColumnWidth(kDrawNo, 48);
    grdR1->setColumnWidth(3, 72);
    grdR1->setColumnWidth(4, 72);
    grdR1->setColumnWidth(kLotNo, 118);
    for (int c = kCount1; c < kAmount1; ++c)
        grdR1->setColumnWidth(c, 52);
    for (int c = kAmount1; c < kSum1; ++c)
        grdR1->setColumnWidth(c, 78);
    grdR1->setColumnWidth(kSum1, 72);
    grdR1->setColumnWidth(kState1, 62);
    grdR1->setStretchColumn(kState2);
    grdR1->setAccessibleName(u"회차 목록"_s);
    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) {
        if (row > 0 && row != grdR1->activeRow())
            grdR1->setActiveCell(kDrawNo, row);
        RunGuarded(kFailed, [&] { SelectDraw(row); });
    });
    connect(grdR1, &Grid::cellEdited, this, [this](int column, int row) { DrawCellEdited(column, row); });

    cmdDo01 = Named(new QPushButton(u"변경내용 저장"_s), u"cmdDo01");
    cmdDo02 = Named(new QPushButton(u"새 회차 등록"_s), u"cmdDo02");
    cmdDo02->setEnabled(false); // new draws reach the list from outside this window
    lblMsg01 = Named(new QLabel(u"[선택 회차: ]"_s), u"lblMsg01");
    lblMsg01->setStyleSheet(u"font-weight: bold;"_s);
    connect(cmdDo01, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { SaveDraws(); }); });
    auto* drawButtons = new QHBoxLayout;
    drawButtons->addWidget(cmdDo01);
    drawButtons->addWidget(cmdDo02);
    drawButtons->addSpacing(16);
    drawButtons->addWidget(lblMsg01);
    drawButtons->addStretch(1);

    grdR3 = Named(new Grid, u"grdR3");
    grdR3->setHeaders({u"등수"_s, u"당첨자수"_s, u"당첨금액"_s});
    grdR3->setColumnHidden(0, true);
    grdR3->setColumnKind(2, Grid::ColumnKind::Number);
    grdR3->setColumnKind(3, Grid::ColumnKind::Number);
    grdR3->setColumnEditable(2, true);
    grdR3->setColumnEditable(3, true);
    grdR3->setColumnWidth(1, 44);
    grdR3->setColumnWidth(2, 90);
    grdR3->setStretchColumn(3);
    grdR3->setAccessibleName(u"당첨내역"_s);
    grdR3->setMinimumWidth(300);
    cmdDo03 = Named(new QPushButton(u"당첨내역 변경"_s), u"cmdDo03");
    connect(cmdDo03, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { SavePrizeTable(); }); });
    auto* prizeBox = new QVBoxLayout;
    prizeBox->addWidget(AdminForm::Title(u"당첨내역 (전국)"_s));
    prizeBox->addWidget(grdR3, 1);
    prizeBox->addWidget(cmdDo03, 0, Qt::AlignLeft);

    grdR2 = Named(new Grid, u"grdR2");
    grdR2->setHeaders({u"아이디"_s, u"*복권번호"_s, u"등수"_s, u"당첨금"_s, u"인증번호"_s, u"게임번호"_s});
    grdR2->setColumnEditable(2, true);
    grdR2->setColumnKind(4, Grid::ColumnKind::Number);
    grdR2->setColumnWidth(1, 90);
    grdR2->setColumnWidth(2, 130);
    grdR2->setColumnWidth(3, 40);
    grdR2->setColumnWidth(4, 90);
    grdR2->setColumnWidth(5, 120);
    grdR2->setStretchColumn(6);
    grdR2->setSelectRows(true);
    grdR2->setAccessibleName(u"당첨된 벨트라복권"_s);
    cmdDo04 = Named(new QPushButton(u"복권번호 변경 ()"_s), u"cmdDo04");
    connect(grdR2, &Grid::cellClicked, this, [this](int, int row) {
        if (row > 0)
            cmdDo04->setText(u"복권번호 변경 ("_s + grdR2->text(5, row) + u')');
    });
    connect(cmdDo04, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { CorrectGame(); }); });
    auto* winnersBox = new QVBoxLayout;
    winnersBox->addWidget(AdminForm::Title(u"당첨된 벨트라복권"_s));
    winnersBox->addWidget(grdR2, 1);
    winnersBox->addWidget(cmdDo04, 0, Qt::AlignLeft);

    cmdJob01 = Named(new QPushButton(u"1. 복권번호 등수매기기"_s), u"cmdJob01");
    cmdJob02 = Named(new QPushButton(u"2. 등수,당첨금 저장"_s), u"cmdJob02");
    cmdJob03 = Named(new QPushButton(u"3. 등수(1,2,3등),당첨금 백업"_s), u"cmdJob03");
    cmdJob04 = Named(new QPushButton(u"4. 등외(4,5등 포함) 복권 삭제"_s), u"cmdJob04");
    connect(cmdJob01, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { RankGames(); }); });
    connect(cmdJob02, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { StoreRanks(); }); });
    connect(cmdJob03, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { ArchiveWinners(); }); });
    connect(cmdJob04, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { DeleteGames(); }); });
    auto* steps = new QVBoxLayout;
    steps->addWidget(AdminForm::Title(u"정산"_s));
    for (QPushButton* step : {cmdJob01, cmdJob02, cmdJob03, cmdJob04}) {
        step->setStyleSheet(u"text-align: left; padding: 4px 10px;"_s);
        steps->addWidget(step);
    }
    steps->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(prizeBox, 0);
    bottom->addSpacing(10);
    bottom->addLayout(winnersBox, 1);
    bottom->addSpacing(10);
    bottom->addLayout(steps, 0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(AdminForm::Title(u"추첨회차"_s));
    layout->addWidget(grdR1, 3);
    layout->addLayout(drawButtons);
    layout->addLayout(bottom, 2);
}

void frmA1Job13::Refresh()
{
    grdR2->setMaxRows(0);
    showDraws(0);
    if (grdR1->maxRows() > 0)
        grdR1->setActiveCell(kDrawNo, 1);
    SelectDraw(1);
}

void frmA1Job13::showLatestMonth()
{
    const QString month = DrawAdmin::LatestMonth(Clock::today().toString(u"yyyyMMdd"_s));
    if (month.size() != 6)
        return;
    const int year = cboYear1->findText(month.left(4) + u"년"_s);
    if (year < 0)
        return;
    cboYear1->setCurrentIndex(year);
    cboMonth1->setCurrentIndex(month.mid(4, 2).toInt() - 1);
    Refresh();
}

void frmA1Job13::showDraws(qint64 keep)
{
    BusyGuard busy(u"추첨회차 목록 ..."_s);
    m_drawsStamp = DrawAdmin::ReadDrawsStamp();
    const std::vector<DrawAdmin::DrawRow> draws
        = DrawAdmin::ListDraws(Backoffice::LeadingNumber(cboYear1->currentText()),
                               Backoffice::LeadingNumber(cboMonth1->currentText()));
    QList<QStringList> rows;
    int keepRow = 0;
    for (const DrawAdmin::DrawRow& d : draws) {
        QStringList cells {u"0"_s, QString::number(d.drawNo), d.date1, d.date2, d.lotNo};
        for (qint64 c : d.counts)
            cells.append(QString::number(c));
        for (qint64 k : d.amounts)
            cells.append(QString::number(k));
        cells << QString::number(d.sum1) << d.state1 << d.state2;
        rows.append(cells);
        if (d.drawNo == keep)
            keepRow = int(rows.size());
    }
    Grid::Batch batch(*grdR1);
    grdR1->setRows(rows);
    StripeRows(*grdR1);
    if (keepRow > 0)
        grdR1->setActiveCell(kDrawNo, keepRow);
}

void frmA1Job13::DrawCellEdited(int column, int row)
{
    if (column == kPick || row < 1 || row > grdR1->maxRows())
        return;
    grdR1->setText(kPick, row, u"1"_s);
    const QString stamp = grdR1->text(kState2, row).trimmed();
    if (column != kState2 && stamp <= m_drawsStamp)
        grdR1->setText(kState2, row, DrawAdmin::NextStamp(Clock::today().toString(u"yyyyMMdd"_s), m_drawsStamp, stamp));
}

void frmA1Job13::SelectDraw(int row)
{
    if (grdR1->maxRows() == 0) {
        m_drawNo = 0;
        lblMsg01->setText(u"[선택 회차: ]"_s);
        grdR2->setMaxRows(0);
        grdR3->setMaxRows(0);
        return;
    }
    if (row < 1 || row > grdR1->maxRows())
        return; // the header selects nothing
    const qint64 drawNo = grdR1->text(kDrawNo, row).toLongLong();
    if (drawNo != m_drawNo)
        m_steps.reset(); // the settlement steps belong to one draw
    m_drawNo = drawNo;
    lblMsg01->setText(u"[선택 회차: "_s + QString::number(drawNo) + u']');
    showWinners(DrawAdmin::ReadWinners(drawNo));
    cmdDo04->setText(u"복권번호 변경 ()"_s);

    const DrawAdmin::PrizeTable table = DrawAdmin::ReadPrizeTable(drawNo);
    QList<QStringList> prizes;
    for (int rank = 1; rank <= 5; ++rank) {
        prizes.append({QString::number(rank),
                       QString::number(table.counts[size_t(rank - 1)]),
                       QString::number(table.amounts[size_t(rank - 1)])});
    }
    grdR3->setRows(prizes);
}

void frmA1Job13::showWinners(const std::vector<DrawAdmin::Winner>& winners)
{
    QList<QStringList> rows;
    rows.reserve(qsizetype(winners.size()));
    for (const DrawAdmin::Winner& w : winners)
        rows.append({w.id, w.game, w.rank, QString::number(w.prize), w.certification(), w.position});
    Grid::Batch batch(*grdR2);
    grdR2->setRows(rows);
    StripeRows(*grdR2);
}

void frmA1Job13::SaveDraws()
{
    if (grdR1->maxRows() == 0 || m_drawNo == 0)
        return;
    std::vector<DrawAdmin::DrawRow> rows;
    for (int r = 1; r <= grdR1->maxRows(); ++r) {
        if (!grdR1->isChecked(kPick, r))
            continue;
        QStringList cells;
        for (int c = kDate1; c <= kState2; ++c) {
            if (c != kSum1)
                cells.append(grdR1->text(c, r));
        }
        const DrawAdmin::Parsed parsed = DrawAdmin::ParseDrawRow(grdR1->text(kDrawNo, r).toLongLong(), cells);
        if (!parsed.row) {
            ShowMessage(parsed.problem + u"\r\n\r\n아무것도 저장하지 않았습니다."_s, MsgIcon::Critical);
            grdR1->setActiveCell(kDrawNo, r);
            return;
        }
        rows.push_back(*parsed.row);
    }
    if (rows.empty()) {
        ShowMessage(u"저장할 회차의 [선택] 칸을 체크하십시오."_s, MsgIcon::Critical);
        return;
    }
    if (ShowMessage(QString::number(m_drawNo) + u"회차의 등록정보 내용을 변경할까요?\r\n\r\n선택 자료수: "_s
                        + QString::number(rows.size()),
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        == MsgAnswer::Cancel)
        return;
    {
        BusyGuard busy(u"추첨회차 저장 ..."_s);
        DrawAdmin::SaveDraws(rows);
    }
    RefreshAfterWrite([this] { showDraws(m_drawNo); });
    ShowMessage(u"작업완료"_s);
}

void frmA1Job13::SavePrizeTable()
{
    if (m_drawNo == 0 || grdR3->maxRows() < 5)
        return;
    DrawAdmin::PrizeTable table;
    for (int rank = 1; rank <= 5; ++rank) {
        const auto count = DrawAdmin::ReadWholeNumber(grdR3->text(2, rank), DrawAdmin::kCountLimit);
        const auto amount = DrawAdmin::ReadWholeNumber(grdR3->text(3, rank), DrawAdmin::kAmountLimit);
        if (!count || !amount) {
            ShowMessage(u"당첨내역 "_s + QString::number(rank) + (count ? u"등의 [당첨금액]"_s : u"등의 [당첨자수]"_s)
                            + u"은 0 이상의 정수로 적어 주십시오.\r\n\r\n아무것도 저장하지 않았습니다."_s,
                        MsgIcon::Critical);
            grdR3->setActiveCell(count ? 3 : 2, rank);
            return;
        }
        table.counts[size_t(rank - 1)] = *count;
        table.amounts[size_t(rank - 1)] = *amount;
    }
    const QString stamp = DrawAdmin::SavePrizeTable(m_drawNo, table);
    if (stamp.isEmpty()) {
        ShowMessage(QString::number(m_drawNo) + u"회가 추첨 목록에 더 이상 없습니다."_s, MsgIcon::Critical);
        return;
    }
    restampAfterPrizeTable(stamp);
    ShowMessage(u"당첨금내역 저장. OK"_s);
}

// The prize table gave its draw a new stamp and raised the draws stamp to it. The list is not read again:
// rows being edited keep what was typed, and those are stamped anew above the raised stamp so that the
// members still fetch them once they are saved.
void frmA1Job13::restampAfterPrizeTable(const QString& stamp)
{
    m_drawsStamp = stamp;
    const QString today = Clock::today().toString(u"yyyyMMdd"_s);
    for (int r = 1; r <= grdR1->maxRows(); ++r) {
        const bool edited = grdR1->isChecked(kPick, r);
        if (edited && grdR1->text(kState2, r).trimmed() <= stamp)
            grdR1->setText(kState2, r, DrawAdmin::NextStamp(today, stamp, grdR1->text(kState2, r).trimmed()));
        else if (!edited && grdR1->text(kDrawNo, r).toLongLong() == m_drawNo)
            grdR1->setText(kState2, r, stamp);
    }
}

void frmA1Job13::CorrectGame()
{
    const int row = grdR2->activeRow();
    if (row < 1 || row > grdR2->maxRows()) {
        ShowMessage(u"변경할 복권을 먼저 선택하십시오."_s, MsgIcon::Critical);
        return;
    }
    const QString game = DrawAdmin::ReadGameText(grdR2->text(2, row));
    const auto certification = DrawAdmin::ParseCertification(grdR2->text(5, row));
    if (game.isEmpty() || !certification) {
        ShowMessage(u"[*복권번호]는 1부터 45까지 서로 다른 여섯 번호를 두 자리씩(예: 031119243845) 적어 주십시오."_s,
                    MsgIcon::Critical);
        return;
    }
    if (ShowMessage(u"내용을 변경할까요?"_s, MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return;
    if (!DrawAdmin::CorrectGame(certification->first, certification->second, grdR2->text(6, row), game)) {
        ShowMessage(u"그 복권("_s + grdR2->text(5, row) + u")이 더 이상 없습니다."_s, MsgIcon::Critical);
        return;
    }
    grdR2->setText(2, row, game);
    ShowMessage(u"복권번호 변경. OK"_s);
}

bool frmA1Job13::stepAllowed(int step)
{
    const QString refusal = m_steps.refusal(step);
    if (refusal.isEmpty())
        return true;
    ShowMessage(refusal, MsgIcon::Critical);
    return false;
}

void frmA1Job13::RankGames()
{
    m_steps.reset();
    m_ranked.clear();
    if (m_drawNo == 0) {
        ShowMessage(u"회차를 먼저 선택하십시오."_s, MsgIcon::Critical);
        return;
    }
    grdR2->setMaxRows(0);
    Settlement::Ranking ranking;
    {
        BusyGuard busy(u"등수매기기 ..."_s);
        ranking = Settlement::RankDraw(m_drawNo, BusyGuard::callback());
    }
    if (!ranking.problem.isEmpty()) {
        ShowMessage(ranking.problem, MsgIcon::Critical);
        return;
    }
    m_settling = m_drawNo;
    m_ranked = std::move(ranking.winners);
    showWinners(m_ranked);
    m_steps.done(1);
    ShowMessage(u"패스1 OK"_s);
}

void frmA1Job13::StoreRanks()
{
    if (!stepAllowed(2))
        return;
    if (ShowMessage(QString::number(m_settling) + u"회차의 등수(1,2,3등)를 저장할까요?"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    {
        BusyGuard busy(u"등수 저장 ..."_s);
        Settlement::StoreRanks(m_settling, m_ranked);
    }
    m_steps.done(2);
    ShowMessage(u"패스2 OK"_s);
}

void frmA1Job13::ArchiveWinners()
{
    if (!stepAllowed(3))
        return;
    if (ShowMessage(QString::number(m_settling) + u"회차의 등수,당첨금 검색용(NBNo2)으로 백업할까요?"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    {
        BusyGuard busy(u"당첨 복권 백업 ..."_s);
        Settlement::ArchiveWinners(m_settling);
    }
    m_steps.done(3);
    ShowMessage(u"패스3 OK"_s);
}

void frmA1Job13::DeleteGames()
{
    if (!stepAllowed(4))
        return;
    if (ShowMessage(QString::number(m_settling) + u"회차의 등외(낙첨복권 4,5등 포함)의 복권을 모두 삭제할까요?"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    {
        BusyGuard busy(u"복권 삭제 ..."_s);
        Settlement::DeleteDrawGames(m_settling);
    }
    m_steps.done(4);
    ShowMessage(u"패스4 OK"_s);
    ShowMessage(u"작업완료"_s);
}
