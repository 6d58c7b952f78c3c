#include "frmBank1.h"

#include "ClaimStore.h"
#include "Clock.h"
#include "DrawText.h"
#include "Game.h"
#include "Globals.h"
#include "Grid.h"
#include "Launcher.h"
#include "MessageService.h"
#include "PageTurner.h"
#include "Paths.h"
#include "Rank.h"
#include "RankCalc.h"
#include "SafeBackup.h"
#include "SafeExport.h"
#include "TextExport.h"
#include "UiTools.h"
#include "frmQr1.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QLabel* title(const QString& text)
{
    auto* label = new QLabel(text);
    label->setStyleSheet(u"background: #1d3c8f; color: white; font-weight: bold; padding: 3px 8px;"_s);
    return label;
}

// The prize lines are laid out in columns of characters: a fixed-pitch Korean face keeps them aligned.
QFont fixedPitch()
{
    QFont font(u"NanumGothicCoding"_s);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(QApplication::font().pointSize());
    return font;
}

const QString kAll = u"(전체)"_s;

// Runs an action that touches the database; a failure is reported and the window stays as it was.
template <typename F> bool guarded(F&& action)
{
    return RunGuarded(u"복권금고 작업 중 오류가 발생하였습니다. 바뀐 것은 없습니다."_s, std::forward<F>(action));
}

} // namespace

frmBank1::frmBank1(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(u"복권금고"_s);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    m_lists = new QBoxLayout(QBoxLayout::LeftToRight);
    m_lists->addWidget(buildDraws(), 0);
    m_lists->addWidget(buildGroups(), 0);
    layout->addLayout(m_lists, 0);
    auto* fraR1 = Named(new QWidget, u"fraR1"_s);
    auto* right = new QVBoxLayout(fraR1);
    right->setContentsMargins(0, 0, 0, 0);
    m_split = new QBoxLayout(QBoxLayout::LeftToRight);
    m_split->addWidget(buildTickets(), 1);
    m_split->addWidget(buildSummary(), 0);
    right->addLayout(m_split);
    layout->addWidget(fraR1, 1);

    // Set-up
    grdR2->setColumnHidden(5, true);
    m_page = 1;
    cboCheck1->addItems({kAll, u"1:당첨된 복권"_s, u"2:낙첨된 복권"_s});
    cboSort1->addItems({u"1:복권번호"_s, u"2:등수"_s});
    guarded([this] { ShowDrawList(true); });
    m_initialised = true;
    connect(cboCheck1, &QComboBox::currentIndexChanged, this, [this] {
        if (m_initialised)
            reselectDraw();
    });
    connect(cboSort1, &QComboBox::currentIndexChanged, this, [this] {
        if (m_initialised)
            reselectDraw();
    });
    // The first draw's recount and rank pass write to the member's database, which can fail like any
    // other action: the window opens all the same and says so.
    if (grdR1->maxRows() > 0)
        guarded([this] { SelectDraw(1); });
}

QWidget* frmBank1::buildDraws()
{
    grdR1 = Named(new Grid, u"grdR1"_s);
    grdR1->setHeaders({u"회차"_s, u"추첨일"_s, u"게임수"_s, u"당첨번호"_s});
    grdR1->setColumnKind(1, Grid::ColumnKind::Number);
    grdR1->setColumnKind(3, Grid::ColumnKind::Number);
    grdR1->setColumnHidden(0, true);
    grdR1->setColumnWidth(1, 44);
    grdR1->setColumnWidth(2, 78);
    grdR1->setColumnWidth(3, 58);
    grdR1->setColumnWidth(4, 160);
    grdR1->setSelectRows(true);
    grdR1->setMinimumWidth(250); // narrower, the list scrolls sideways inside itself
    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) { guarded([&] { SelectDraw(row); }); });

    txtBigo1 = Named(new QPlainTextEdit, u"txtBigo1"_s);
    txtBigo1->setMaximumHeight(64);
    cmdSave1 = Named(new QPushButton(u"저장"_s), u"cmdSave1"_s);
    connect(cmdSave1, &QPushButton::clicked, this, [this] { guarded([this] { SaveMemo(); }); });
    auto* picBok1 = Named(new QWidget, u"picBok1"_s);
    auto* memo = new QGridLayout(picBok1);
    memo->setContentsMargins(0, 0, 0, 0);
    memo->addWidget(new QLabel(u"메 모:"_s), 0, 0, Qt::AlignTop);
    memo->addWidget(txtBigo1, 0, 1);
    memo->addWidget(cmdSave1, 0, 2, Qt::AlignTop);

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title(u"추첨회차"_s));
    layout->addWidget(grdR1, 1);
    layout->addWidget(picBok1);
    return box;
}

QWidget* frmBank1::buildGroups()
{
    grdR3 = Named(new Grid, u"grdR3"_s);
    grdR3->setHeaders({u"그룹명"_s});
    grdR3->setColumnHidden(0, true);
    grdR3->setStretchColumn(1);
    grdR3->setSelectRows(true);
    grdR3->setMinimumWidth(120);
    grdR3->setMaximumWidth(200);
    connect(grdR3, &Grid::cellClicked, this, [this](int, int row) { guarded([&] { SelectGroup(row); }); });

    txtGName1 = Named(new QLineEdit, u"txtGName1"_s);
    cmdSave2 = Named(new QPushButton(u"저장"_s), u"cmdSave2"_s);
    cmdDelete3 = Named(new QPushButton(u"삭제"_s), u"cmdDelete3"_s);
    connect(cmdSave2, &QPushButton::clicked, this, [this] { guarded([this] { RenameGroup(); }); });
    connect(cmdDelete3, &QPushButton::clicked, this, [this] { guarded([this] { DeleteGroupGames(); }); });
    auto* picGroup1 = Named(new QWidget, u"picGroup1"_s);
    auto* rename = new QGridLayout(picGroup1);
    rename->setContentsMargins(0, 0, 0, 0);
    rename->addWidget(new QLabel(u"그룹명 변경:"_s), 0, 0, 1, 2);
    rename->addWidget(txtGName1, 1, 0, 1, 2);
    rename->addWidget(cmdSave2, 2, 0);
    rename->addWidget(cmdDelete3, 2, 1);

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title(u"그룹"_s));
    layout->addWidget(grdR3, 1);
    layout->addWidget(picGroup1);
    return box;
}

QWidget* frmBank1::buildTickets()
{
    grdR2 = Named(new Grid, u"grdR2"_s);
    grdR2->setHeaders({u"+"_s, u"복권번호"_s, u"등수"_s, u"당첨금액"_s, u"SNO1"_s});
    grdR2->setColumnKind(1, Grid::ColumnKind::Check);
    grdR2->setColumnEditable(1, true);
    grdR2->setColumnKind(4, Grid::ColumnKind::Number);
    grdR2->setColumnWidth(0, 52);
    grdR2->setColumnWidth(1, 26);
    grdR2->setColumnWidth(2, 128);
    grdR2->setColumnWidth(3, 44);
    grdR2->setStretchColumn(4);
    grdR2->setMinimumWidth(220);
    connect(grdR2, &Grid::cellClicked, this, [this](int column, int row) {
        if (column == 1 && row == 0)
            toggleAll();
    });

    cboCheck1 = Named(new QComboBox, u"cboCheck1"_s);
    cboSort1 = Named(new QComboBox, u"cboSort1"_s);
    for (QComboBox* box : {cboCheck1, cboSort1})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents); // its item whole, however narrow the window
    cmdDelete2 = Named(new QPushButton(u"복권삭제"_s), u"cmdDelete2"_s);
    cmdPrint1 = Named(new QPushButton(u"화일저장"_s), u"cmdPrint1"_s);
    cmdRefresh = Named(new QPushButton(u"새로고침"_s), u"cmdRefresh"_s);
    cmdClear1 = Named(new QPushButton(u"낙첨복권 삭제"_s), u"cmdClear1"_s);
    cmdQr1 = Named(new QPushButton(u"QR 불러오기"_s), u"cmdQr1"_s);
    lblRecCount = Named(new QLabel(u"[자료: 0/0]"_s), u"lblRecCount"_s);
    connect(cmdDelete2, &QPushButton::clicked, this, [this] { guarded([this] { DeleteCheckedGames(); }); });
    connect(cmdPrint1, &QPushButton::clicked, this, [this] { guarded([this] { ExportDraw(); }); });
    connect(cmdClear1, &QPushButton::clicked, this, [this] { guarded([this] { DeleteLosingGames(); }); });
    connect(cmdQr1, &QPushButton::clicked, this, &frmBank1::ImportQrTicket);
    connect(cmdRefresh, &QPushButton::clicked, this, [this] {
        guarded([this] {
            ShowDrawList(false);
            SelectDraw(m_drawRow);
        });
    });

    pager = Named(new PageTurner, u"pager"_s);
    connect(pager, &PageTurner::nextRequested, this, &frmBank1::NextPage);
    connect(pager, &PageTurner::previousRequested, this, &frmBank1::PreviousPage);
    lblMsg1 = Named(new QLabel(u"[총당첨금:]"_s), u"lblMsg1"_s);
    lblMsg1->setStyleSheet(u"color: #b03030; font-weight: bold; padding: 2px 0;"_s);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"검색조건:"_s));
    filters->addWidget(cboCheck1);
    filters->addWidget(new QLabel(u"  정  렬:"_s));
    filters->addWidget(cboSort1);
    filters->addStretch(1);
    // Two rows, so that every caption stays whole in the smallest main window.
    auto* buttons = new QVBoxLayout;
    for (const auto& row : {std::initializer_list<QPushButton*> {cmdDelete2, cmdPrint1, cmdRefresh},
                            std::initializer_list<QPushButton*> {cmdClear1, cmdQr1}}) {
        auto* line = new QHBoxLayout;
        for (QPushButton* b : row)
            line->addWidget(b);
        line->addStretch(1);
        buttons->addLayout(line);
    }

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title(u"복권번호"_s));
    layout->addLayout(filters);
    layout->addLayout(buttons);
    auto* counts = new QHBoxLayout;
    lblMsg1->setWordWrap(true);
    counts->addWidget(lblMsg1, 1);
    counts->addWidget(lblRecCount, 0, Qt::AlignTop);
    layout->addLayout(counts);
    layout->addWidget(grdR2, 1);
    layout->addWidget(pager);
    return box;
}

QWidget* frmBank1::buildSummary()
{
    lblRank = Named(new QLabel(u"(미추첨)"_s), u"lblRank"_s);
    lblRank->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title(u"추첨결과"_s));
    layout->addWidget(lblRank);
    for (int k = 1; k <= 5; ++k) {
        lblRankN[size_t(k)] = Named(new QLabel, QString(u"lblRank"_s + QString::number(k)));
        lblRankN[size_t(k)]->setFont(fixedPitch());
        lblRankN[size_t(k)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(lblRankN[size_t(k)]);
    }
    lblRank->setFont(fixedPitch());
    layout->addWidget(buildClaim());
    layout->addStretch(1);
    box->setMinimumWidth(QFontMetrics(fixedPitch()).horizontalAdvance(QString(36, u'0')) + 8);
    return box;
}

void frmBank1::reselectDraw()
{
    guarded([this] { SelectDraw(m_drawRow); });
}

void frmBank1::ImportQrTicket()
{
    std::optional<qint64> saved;
    {
        // The dialog reports its own failures: nothing can be caught across exec().
        frmQr1 dialog(this);
        dialog.exec();
        saved = dialog.savedDraw();
    }
    if (!saved)
        return;
    guarded([this, saved] {
        ShowDrawList(true);
        for (int r = 1; r <= grdR1->maxRows(); ++r) {
            if (grdR1->text(1, r).toLongLong() == *saved) {
                SelectDraw(r);
                return;
            }
        }
        SelectDraw(m_drawRow);
    });
}

void frmBank1::ShowDrawList(bool reload)
{
    const std::vector<SafeStore::DrawRow> rows = SafeStore::DrawList();
    BusyGuard busy(reload ? u"회차정보 읽기 ..."_s : u"게임수 읽기 ..."_s);
    if (reload) {
        QList<QStringList> cells;
        cells.reserve(qsizetype(rows.size()));
        for (const SafeStore::DrawRow& r : rows)
            cells.append({QString::number(r.drawNo), r.date, QString::number(r.games), r.numbers});
        grdR1->setRows(cells);
        StripeRows(*grdR1);
    }
    Grid::Batch batch(*grdR1);
    for (int i = 1; i <= grdR1->maxRows() && size_t(i) <= rows.size(); ++i) {
        if (grdR1->text(1, i).toLongLong() == rows[size_t(i - 1)].drawNo)
            grdR1->setText(3, i, QString::number(rows[size_t(i - 1)].games));
    }
}

frmBank1::~frmBank1() { SafeStore::ForgetKeptLists(); }

void frmBank1::SelectDraw(int row)
{
    if (grdR1->maxRows() == 0 || row <= 0 || row > grdR1->maxRows())
        return;
    // Every later action works on this draw, the one on screen, wherever the list's cursor has gone.
    m_drawRow = row;
    grdR1->setActiveCell(1, row);
    m_drawNo = grdR1->text(1, row).toLongLong();
    m_shownCount = grdR1->text(3, row).toLongLong();
    // Should a step below fail, nothing of the draw shown before may be left to act on under this one's
    // number: not its memo, its ticked games or its group.
    m_memoShown = false;
    txtBigo1->clear();
    grdR2->setMaxRows(0);
    grdR3->setMaxRows(0);
    m_groupNo = 0;
    m_groupName.clear();
    txtGName1->clear();
    cmdSave2->setEnabled(false);
    cmdDelete3->setEnabled(false);
    const SafeStore::DrawMemo memo = SafeStore::ReadDrawRow(m_drawNo);
    if (memo.found)
        txtBigo1->setPlainText(memo.memo);
    m_memoShown = true;

    m_page = 1;
    // Ranked first: the pass reads the draw's games for the count, the group list and the page beside its
    // change.
    CalcDrawRanks(m_drawNo, !(memo.found && memo.tag == u"1"_s));
    const qint64 count = SafeStore::Recount(m_drawNo, m_shownCount);
    if (count != m_shownCount) {
        grdR1->setText(3, row, QString::number(count));
        m_shownCount = count;
    }

    QList<QStringList> groups {{kAll}};
    for (const QString& name : SafeStore::DrawGroupNames(m_drawNo))
        groups.append({name});
    grdR3->setRows(groups);

    const int groupRow = grdR3->maxRows() > 1 ? 2 : 1;
    grdR3->setActiveCell(1, groupRow);
    SelectGroup(groupRow);
}

void frmBank1::CalcDrawRanks(qint64 drawNo, bool fullPass)
{
    BusyGuard busy(u"등수(당첨금) 계산 ..."_s);
    lblMsg1->setText(u"[총당첨금:]"_s);
    lblMsg1->repaint();
    const RankCalc::DrawResult draw = RankCalc::ReadDrawResult(drawNo);
    if (draw.found && draw.final && !DrawText::IsResult(draw.drawText)) {
        // No rule can rank against numbers that repeat or fall outside 1–45; ranking anyway would write
        // ranks that the next correct result could never take back.
        ShowMessage(QString::number(drawNo) + u"회 당첨번호가 올바르지 않아 등수를 계산하지 않았습니다. ("_s
                        + draw.drawText + u')',
                    MsgIcon::Critical);
        return;
    }
    if (draw.found && draw.final) {
        if (fullPass)
            RankCalc::EvaluatePending(drawNo, draw, BusyGuard::callback());
        lblMsg1->setText(RankCalc::WinningsLine(RankCalc::ReadTotals(drawNo)));
    }
    lblMsg1->repaint();
}

void frmBank1::SelectGroup(int row)
{
    if (row <= 0 || row > grdR3->maxRows())
        return;
    grdR3->setActiveCell(1, row);
    m_groupName = grdR3->text(1, row);
    const bool named = m_groupName != kAll;
    txtGName1->setEnabled(named);
    txtGName1->setStyleSheet(named ? u"background: rgb(255,255,255);"_s : u"background: rgb(246,246,246);"_s);
    txtGName1->setText(named ? m_groupName : QString());
    cmdSave2->setEnabled(named);
    cmdDelete3->setEnabled(named);
    RefreshDrawView();
}

void frmBank1::RefreshDrawView()
{
    ShowTicketPage(m_drawNo);
    ShowDrawSummary();
    Q_EMIT bannerChangeRequested();
}

SafeStore::TicketQuery frmBank1::ticketQuery() const
{
    SafeStore::TicketQuery query;
    query.drawNo = m_drawNo;
    const QString filter = cboCheck1->currentText().left(1);
    query.filter = filter == u"1"_s ? SafeStore::RankFilter::Won
        : filter == u"2"_s          ? SafeStore::RankFilter::Lost
                                    : SafeStore::RankFilter::All;
    query.groupNo = m_groupNo;
    query.byRank = cboSort1->currentText().startsWith(u'2');
    return query;
}

void frmBank1::ShowTicketPage(qint64 drawNo)
{
    BusyGuard busy(u"복권번호 읽기 ..."_s);
    pager->hidePages();
    m_checked = 0;
    m_groupNo = m_groupName.isEmpty() || m_groupName == kAll ? 0 : SafeStore::GroupNumber(m_groupName);
    SafeStore::TicketQuery query = ticketQuery();
    query.drawNo = drawNo;
    const qint64 total = SafeStore::CountTickets(query);
    const int size = std::max(gSafePageSize, 1);
    if (total > size) {
        m_pageCount = int((total + size - 1) / size);
        m_page = std::clamp(m_page, 1, m_pageCount);
    } else {
        m_page = 1;
        m_pageCount = 1;
    }
    pager->setPages(m_page, m_pageCount);

    const qint64 first = qint64(m_page - 1) * size;
    const std::vector<SafeStore::Ticket> tickets = SafeStore::TicketPage(query, first, size);
    {
        Grid::Batch batch(*grdR2);
        grdR2->setText(1, 0, u"+"_s);
        grdR2->setMaxRows(0);
        grdR2->setMaxRows(int(tickets.size()));
        QStringList numbers;
        int r = 0;
        for (const SafeStore::Ticket& t : tickets) {
            ++r;
            numbers.append(QString::number(first + r));
            grdR2->setText(1, r, u"0"_s);
            grdR2->setText(2, r, GameText::Dotted(t.no1));
            grdR2->setText(3, r, RankText(t.top1, RankStyle::WithSyllable));
            grdR2->setText(4, r, Grouped(t.kum1));
            grdR2->setText(5, r, QString::number(t.sno1));
        }
        grdR2->setRowNumbers(numbers);
        StripeRows(*grdR2);
    }
    const bool any = grdR2->maxRows() > 0;
    cmdDelete2->setEnabled(any);
    cmdPrint1->setEnabled(any);
    lblRecCount->setText(u"[자료: "_s + QString::number(grdR1->maxRows()) + u'/' + QString::number(grdR2->maxRows())
                         + u']');
}

void frmBank1::ShowDrawSummary()
{
    BusyGuard busy(u"당첨금 집계 ..."_s);
    const SafeStore::DrawSummary summary = SafeStore::ReadDrawSummary(m_drawNo);
    lblRank->setText(summary.draw);
    for (int k = 1; k <= 5; ++k)
        lblRankN[size_t(k)]->setText(summary.ranks[size_t(k)]);
    showClaim();
}

void frmBank1::turnPage(int step)
{
    const int target = m_page + step;
    if (target < 1 || target > m_pageCount)
        return;
    m_page = target;
    pager->turn(step, [this] {
        guarded([this] {
            ShowTicketPage(m_drawNo);
            ShowDrawSummary();
        });
    });
}

void frmBank1::NextPage() { turnPage(1); }

void frmBank1::PreviousPage() { turnPage(-1); }

void frmBank1::toggleAll()
{
    const bool checkAll = grdR2->text(1, 0) == u"+"_s;
    Grid::Batch batch(*grdR2);
    grdR2->setText(1, 0, checkAll ? u"-"_s : u"+"_s);
    for (int r = 1; r <= grdR2->maxRows(); ++r)
        grdR2->setText(1, r, checkAll ? u"1"_s : u"0"_s);
    m_checked = checkAll ? grdR2->maxRows() : 0;
}

void frmBank1::DeleteCheckedGames()
{
    // Counted from the boxes themselves, so the count can never drift from what is ticked.
    m_checked = 0;
    for (int r = 1; r <= grdR2->maxRows(); ++r)
        m_checked += grdR2->isChecked(1, r) ? 1 : 0;
    if (m_checked <= 0) {
        ShowMessage(u"삭제할 복권을 먼저 선택하세요."_s, MsgIcon::Critical);
        return;
    }
    if (ShowMessage(QString::number(m_checked) + u"개의 복권을 삭제할까요?"_s, MsgIcon::None, MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    {
        BusyGuard busy(u"복권번호 삭제 ..."_s);
        std::vector<qint64> serials;
        for (int r = 1; r <= grdR2->maxRows(); ++r) {
            if (grdR2->isChecked(1, r))
                serials.push_back(grdR2->text(5, r).toLongLong());
        }
        const qint64 deleted = SafeStore::DeleteGames(m_drawNo, serials);
        grdR1->setText(3, m_drawRow, QString::number(m_shownCount - deleted));
        m_checked = 0;
    }
    reselectDraw();
}

void frmBank1::DeleteGroupGames()
{
    const QString name = m_groupName;
    if (name.isEmpty() || name == kAll)
        return;
    if (ShowMessage(u'[' + name + u"] 그룹명에 등록된 "_s + QString::number(m_drawNo)
                        + u"회 복권자료도 모두 삭제됩니다. 진행할까요?"_s,
                    MsgIcon::None,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    SafeStore::DeleteGroupGames(m_drawNo, name);
    reselectDraw();
}

void frmBank1::DeleteLosingGames()
{
    if (m_drawRow == 0)
        return;
    {
        BusyGuard busy(u"낙첨복권 삭제 ..."_s);
        BusyGuard::progress(30);
        const qint64 left = SafeStore::DeleteLosingGames(m_drawNo);
        BusyGuard::progress(90);
        grdR1->setText(3, m_drawRow, QString::number(left));
    }
    reselectDraw();
}

void frmBank1::SaveMemo()
{
    if (m_drawRow == 0 || !m_memoShown)
        return;
    txtBigo1->setPlainText(SafeStore::SaveMemo(m_drawNo, txtBigo1->toPlainText()));
    txtBigo1->setFocus();
}

void frmBank1::RenameGroup()
{
    const QString oldName = m_groupName;
    if (oldName.isEmpty() || oldName == kAll)
        return;
    const QString newName = SafeStore::CleanGroupName(txtGName1->text());
    if (SafeStore::RenameGroup(oldName, newName) == SafeStore::RenameResult::Refused) {
        QApplication::beep();
        txtGName1->clear();
        txtGName1->setFocus();
        return;
    }
    reselectDraw();
}

void frmBank1::ExportDraw()
{
    if (grdR2->maxRows() == 0) {
        ShowMessage(u"복권번호 자료가 없습니다."_s, MsgIcon::Critical);
        return;
    }
    TextExport file(TextExport::PathFor(u"복권금고_"_s));
    {
        BusyGuard busy(u"텍스트화일 저장 ..."_s);
        SafeExport lines(file, m_drawNo);
        const SafeStore::TicketQuery query = ticketQuery();
        SafeStore::ForEachTicket(query, [&lines](const SafeStore::Ticket& t) { lines.add(t); });
        lines.finish();
    }
    file.publish();
}

QWidget* frmBank1::buildClaim()
{
    lblClaim1 = Named(new QLabel, u"lblClaim1"_s);
    lblClaim1->setWordWrap(true);
    cmdClaim1 = Named(new QPushButton(u"수령 표시"_s), u"cmdClaim1"_s);
    cmdClaim1->setAccessibleName(u"수령 표시"_s);
    cmdBackup1 = Named(new QPushButton(u"금고 백업"_s), u"cmdBackup1"_s);
    cmdBackup1->setAccessibleName(u"금고 백업"_s);
    cmdRestore1 = Named(new QPushButton(u"금고 복원"_s), u"cmdRestore1"_s);
    cmdRestore1->setAccessibleName(u"금고 복원"_s);
    connect(cmdClaim1, &QPushButton::clicked, this, [this] { guarded([this] { ToggleReceived(); }); });
    connect(cmdBackup1, &QPushButton::clicked, this, [this] { guarded([this] { BackupSafe(); }); });
    connect(cmdRestore1, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this,
                                                          u"금고 복원"_s,
                                                          InstallPaths::dataDir(),
                                                          u"금고 백업 (*.CSV *.csv);;모든 화일 (*)"_s);
        if (!path.isEmpty())
            guarded([&] { RestoreSafe(path); });
    });

    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(lblClaim1);
    layout->addWidget(cmdClaim1, 0, Qt::AlignLeft);
    layout->addSpacing(12);
    auto* whole = new QHBoxLayout;
    whole->addWidget(cmdBackup1);
    whole->addWidget(cmdRestore1);
    whole->addStretch(1);
    layout->addLayout(whole);
    cmdClaim1->hide();
    return box;
}

void frmBank1::showClaim()
{
    const ClaimStore::DrawWins wins = ClaimStore::ReadDrawWins(m_drawNo);
    const QDate today = Clock::today();
    lblClaim1->setText(ClaimStore::ClaimLine(wins, today));
    lblClaim1->setStyleSheet(wins.deadline.passed(today) && wins.received.isEmpty() ? u"color: #b03030;"_s
                                                                                    : u"color: #1d3c8f;"_s);
    cmdClaim1->setVisible(wins.won());
    cmdClaim1->setText(wins.received.isEmpty() ? u"수령 표시"_s : u"수령 표시 지우기"_s);
    cmdClaim1->setAccessibleName(cmdClaim1->text());
}

void frmBank1::ToggleReceived()
{
    if (m_drawNo == 0)
        return;
    if (ClaimStore::ReceivedOn(m_drawNo).isEmpty())
        ClaimStore::MarkReceived(m_drawNo, Clock::today());
    else
        ClaimStore::UnmarkReceived(m_drawNo);
    showClaim();
}

bool frmBank1::ShowDrawNo(qint64 drawNo)
{
    const auto rowOf = [this, drawNo] {
        for (int r = 1; r <= grdR1->maxRows(); ++r) {
            if (grdR1->text(1, r).toLongLong() == drawNo)
                return r;
        }
        return 0;
    };
    int row = rowOf();
    if (row == 0) {
        ShowDrawList(true);
        row = rowOf();
    }
    if (row == 0) {
        ShowMessage(QString::number(drawNo) + u"회는 복권금고의 회차 목록에 없습니다."_s, MsgIcon::Information);
        return false;
    }
    SelectDraw(row);
    return true;
}

void frmBank1::BackupSafe()
{
    SafeBackup::BackupOutcome outcome;
    {
        BusyGuard busy(u"금고 백업 ..."_s);
        outcome = SafeBackup::Backup(gUserID, BusyGuard::callback());
    }
    ShowMessage(SafeBackup::BackupMessage(outcome), outcome.ok ? MsgIcon::Information : MsgIcon::Critical);
}

void frmBank1::RestoreSafe(const QString& path)
{
    SafeBackup::RestoreOutcome outcome;
    {
        BusyGuard busy(u"금고 복원 ..."_s);
        outcome = SafeBackup::Restore(path, gUserID, BusyGuard::callback());
    }
    ShowMessage(SafeBackup::RestoreMessage(outcome), outcome.ok ? MsgIcon::Information : MsgIcon::Critical);
    if (outcome.ok && outcome.added > 0) {
        ShowDrawList(true);
        SelectDraw(std::max(m_drawRow, 1));
    }
}

frmBank1::ColumnWidths frmBank1::columnWidths() const
{
    // The widths at which the columns still stand side by side: all four, then the result under its
    // tickets; narrower still, the groups go under the draws as well.
    const int spacing = layout()->spacing();
    const auto widths = [&](QBoxLayout* pair) {
        const int a = pair->itemAt(0)->minimumSize().width();
        const int b = pair->itemAt(1)->minimumSize().width();
        return std::pair {a + spacing + b, std::max(a, b)};
    };
    const auto [listsAcross, listsDown] = widths(m_lists);
    const auto [splitAcross, splitDown] = widths(m_split);
    const QMargins margins = layout()->contentsMargins();
    const int frame = margins.left() + margins.right() + spacing;
    return {frame + listsAcross + splitAcross, frame + listsAcross + splitDown, frame + listsDown + splitDown};
}

void frmBank1::resizeEvent(QResizeEvent* event)
{
    const ColumnWidths fit = columnWidths();
    // Too narrow for four columns, the draw's result goes under its tickets, then the groups under the
    // draws: every control stays whole in the smallest main window.
    const auto across = [](bool fits) { return fits ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom; };
    if (m_split->direction() != across(width() >= fit.four))
        m_split->setDirection(across(width() >= fit.four));
    if (m_lists->direction() != across(width() >= fit.three))
        m_lists->setDirection(across(width() >= fit.three));
    QWidget::resizeEvent(event);
}

QSize frmBank1::minimumSizeHint() const
{
    // As narrow as the columns can be arranged; the height is that of the arrangement the width chose.
    return {columnWidths().two, layout()->minimumSize().height()};
}
