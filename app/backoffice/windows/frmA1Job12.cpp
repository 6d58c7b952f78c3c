#include "frmA1Job12.h"

#include "AdminForm.h"
#include "Backoffice.h"
#include "Busy.h"
#include "Game.h"
#include "Grid.h"
#include "MessageService.h"
#include "PrintPreview.h"
#include "Rank.h"
#include "SlipPreview.h"
#include "TicketLayout.h"
#include "TicketPrint.h"
#include "UiTools.h"
#include "frmPrintSet2.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

using namespace Qt::StringLiterals;

// The ticket as it prints, in the window's picture box.
class TicketPreview : public SlipPreview
{
public:
    TicketPreview()
        : SlipPreview({TicketLayout::kTextTwips + 200, 30 * TicketLayout::kLineTwips + 200}, 100)
    {
    }
    void show(const TicketLayout::Lines& lines)
    {
        m_lines = lines;
        update();
    }
    void clear()
    {
        m_lines.reset();
        update();
    }
    bool isEmpty() const { return !m_lines; }

protected:
    bool hasSlip() const override { return m_lines.has_value(); }
    void paintSlip(QPainter& painter) const override { DrawOrderTicket(painter, *m_lines); }

private:
    std::optional<TicketLayout::Lines> m_lines;
};

namespace {

const QString kAll = u"(전체)"_s;
const QString kFailed = u"벨트라복권 작업을 하지 못하였습니다. 바뀐 것은 없습니다."_s;

QLineEdit* field(const char16_t* name)
{
    auto* box = Named(new QLineEdit, name);
    InstallFieldManners(box);
    return box;
}

} // namespace

frmA1Job12::frmA1Job12(QWidget* parent)
    : QWidget(parent)
{
    Backoffice::RequireAdministrator();
    setWindowTitle(u"12:벨트라복권 프린트"_s);
    buildControls();
    cboYear1->addItems(Backoffice::YearItems());
    cboYear1->setCurrentIndex(cboYear1->count() - 1);
    cboMonth1->addItem(kAll);
    cboMonth1->addItems(Backoffice::MonthItems());
    cboMonth1->setCurrentIndex(0);
    Refresh();
}

void frmA1Job12::buildControls()
{
    cboYear1 = Named(new QComboBox, u"cboYear1");
    cboMonth1 = Named(new QComboBox, u"cboMonth1");
    cmdRefresh = Named(new QPushButton(u"새로고침"_s), u"cmdRefresh");
    auto* top = AdminForm::SearchRow(cboYear1, cboMonth1, cmdRefresh);
    top->addStretch(1);

    grdR1 = AdminForm::OrderGrid(u"ID1"_s);
    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) { RunGuarded(kFailed, [&] { SelectOrder(row); }); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { Refresh(); }); });

    // The order's texts.
    lblMsg01 = Named(new QLabel(u"[선택번호: ]"_s), u"lblMsg01");
    txtBokNo = field(u"txtBokNo");
    txtBokNo->setMaximumWidth(80);
    txtComp1 = field(u"txtComp1");
    txtTitle1 = field(u"txtTitle1");
    txtTel1 = field(u"txtTel1");
    txtText1 = field(u"txtText1");
    txtText2 = field(u"txtText2");
    txtText3 = field(u"txtText3");
    cmdDo01 = Named(new QPushButton(u"변경내용 저장"_s), u"cmdDo01");
    cmdDo03 = Named(new QPushButton(u"내용 새로추가"_s), u"cmdDo03");
    cmdDo03->setEnabled(false); // orders come from the shops, not from here
    cmdDo04 = Named(new QPushButton(u"주문내용 삭제"_s), u"cmdDo04");
    txtSNo1_1 = field(u"txtSNo1_1");
    txtSNo1_2 = field(u"txtSNo1_2");
    for (QLineEdit* box : {txtSNo1_1, txtSNo1_2})
        box->setMaximumWidth(70);
    txtSNo1_2->setAccessibleName(u"복권삭제 끝 일련번호"_s);
    cmdDo02 = Named(new QPushButton(u"복권 부분삭제"_s), u"cmdDo02");
    connect(cmdDo01, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { SaveTexts(); }); });
    connect(cmdDo02, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { DeleteTickets(); }); });
    connect(cmdDo04, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { DeleteOrder(); }); });

    auto* fields = new QGridLayout;
    fields->addWidget(lblMsg01, 0, 0, 1, 2);
    int row = 1;
    const std::pair<const char16_t*, QLineEdit*> captions[] = {{u"추첨회차:", txtBokNo},
                                                               {u"업소명:", txtComp1},
                                                               {u"홍보글:", txtTitle1},
                                                               {u"전  화:", txtTel1},
                                                               {u"추가글1:", txtText1},
                                                               {u"추가글2:", txtText2},
                                                               {u"추가글3:", txtText3}};
    for (const auto& [caption, box] : captions) {
        fields->addWidget(AdminForm::Caption(QString::fromUtf16(caption), box), row, 0);
        fields->addWidget(box, row++, 1, box == txtBokNo ? Qt::AlignLeft : Qt::Alignment());
    }
    auto* orderButtons = new QHBoxLayout;
    orderButtons->addWidget(cmdDo01);
    orderButtons->addWidget(cmdDo03);
    orderButtons->addWidget(cmdDo04);
    orderButtons->addStretch(1);
    fields->addLayout(orderButtons, row++, 0, 1, 2);
    auto* range = new QHBoxLayout;
    range->addWidget(txtSNo1_1);
    range->addWidget(new QLabel(u"부터"_s));
    range->addWidget(txtSNo1_2);
    range->addWidget(new QLabel(u"까지 (일련번호)"_s));
    range->addStretch(1);
    fields->addWidget(AdminForm::Caption(u"복권삭제:"_s, txtSNo1_1), row, 0);
    fields->addLayout(range, row++, 1);
    fields->addWidget(cmdDo02, row++, 1, Qt::AlignLeft);
    fields->setRowStretch(row, 1);
    fields->setColumnStretch(1, 1);

    // The order's games.
    cboCheck1 = Named(new QComboBox, u"cboCheck1");
    cboCheck1->addItems({kAll, u"1:당첨된 복권"_s});
    cboCheck1->setCurrentIndex(0);
    cboCheck1->setAccessibleName(u"복권 선택"_s);
    cboSort1 = Named(new QComboBox, u"cboSort1");
    cboSort1->addItems({u"1:발행번호"_s, u"2:당첨등수"_s, u"3:복권번호"_s});
    cboSort1->setCurrentIndex(0);
    for (QComboBox* box : {cboCheck1, cboSort1})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (QComboBox* box : {cboCheck1, cboSort1})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            RunGuarded(kFailed, [this] { ShowOrderGames(); });
        });
    cmdPrint1 = Named(new QPushButton(u"복권 프린트"_s), u"cmdPrint1");
    cmdPrint1->setStyleSheet(u"font-weight: bold; padding: 4px 14px;"_s);
    // Printing changes nothing in the order; what it did not expect is told as printing tells it.
    connect(cmdPrint1, &QPushButton::clicked, this, [this] { RunPrintGuarded([this] { PrintTickets(); }); });
    grdR2 = Named(new Grid, u"grdR2");
    grdR2->setHeaders(
        {u"+"_s, u"복권번호"_s, u"등수"_s, u"당첨금액"_s, u"인증번호"_s, u"일련번호"_s, u"게임번호"_s, u"발행취소"_s});
    grdR2->setColumnKind(1, Grid::ColumnKind::Check);
    for (int c : {4, 6, 7})
        grdR2->setColumnKind(c, Grid::ColumnKind::Number);
    const int gameWidths[] = {0, 28, 130, 40, 80, 110, 64, 64};
    for (int c = 1; c <= 7; ++c)
        grdR2->setColumnWidth(c, gameWidths[c]);
    grdR2->setStretchColumn(8);
    grdR2->setSelectRows(true);
    grdR2->setSelectionFollowsCursor(false);
    grdR2->setAccessibleName(u"주문의 복권"_s);
    connect(grdR2, &Grid::cellClicked, this, [this](int column, int row) {
        RunGuarded(kFailed, [&] { gameClicked(column, row); });
    });
    auto* filters = new QHBoxLayout;
    filters->addWidget(AdminForm::Caption(u"복권정렬:"_s, cboSort1));
    filters->addWidget(cboCheck1);
    filters->addWidget(cboSort1);
    filters->addStretch(1);
    auto* printRow = new QHBoxLayout;
    printRow->addStretch(1);
    printRow->addWidget(cmdPrint1);
    auto* games = new QVBoxLayout;
    games->addLayout(filters);
    games->addWidget(grdR2, 1);
    games->addLayout(printRow);

    picPad = Named(new TicketPreview, u"picPad");
    picPad->setAccessibleName(u"복권 미리보기"_s);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(fields, 3);
    bottom->addSpacing(12);
    bottom->addLayout(games, 4);
    bottom->addSpacing(12);
    bottom->addWidget(picPad, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(AdminForm::Title(u"벨트라복권 주문"_s));
    layout->addWidget(grdR1, 2);
    layout->addLayout(bottom, 3);
}

void frmA1Job12::Refresh()
{
    showOrders(0);
    grdR2->setMaxRows(0);
    picPad->clear();
    clearOrder();
}

void frmA1Job12::showOrders(qint64 keep)
{
    BusyGuard busy(u"주문 목록 ..."_s);
    m_orders = OrderStore::ListOrders(Backoffice::LeadingNumber(cboYear1->currentText()),
                                      Backoffice::LeadingNumber(cboMonth1->currentText()));
    AdminForm::ShowOrders(*grdR1, m_orders, keep, &TicketStore::Amount);
}

void frmA1Job12::clearOrder()
{
    m_order = m_drawNo = 0;
    lblMsg01->setText(u"[선택번호: ]"_s);
    for (QLineEdit* box : {txtBokNo, txtComp1, txtTitle1, txtTel1, txtText1, txtText2, txtText3})
        box->clear();
}

void frmA1Job12::SelectOrder(int row)
{
    if (row < 1 || row > int(m_orders.size()))
        return; // the header row selects nothing
    clearOrder();
    const qint64 code = m_orders[size_t(row - 1)].code;
    const std::optional<TicketStore::OrderTexts> texts = TicketStore::ReadTexts(code);
    if (!texts) {
        ShowMessage(QString::number(code) + u"번 주문이 더 이상 없습니다. 목록을 새로 읽습니다."_s, MsgIcon::Critical);
        Refresh();
        return;
    }
    m_order = code;
    m_drawNo = texts->drawNo;
    lblMsg01->setText(u"[선택번호: "_s + QString::number(code) + u']');
    txtBokNo->setText(QString::number(texts->drawNo));
    txtComp1->setText(texts->comp);
    txtTitle1->setText(texts->title);
    txtTel1->setText(texts->tel);
    txtText1->setText(texts->text1);
    txtText2->setText(texts->text2);
    txtText3->setText(texts->text3);
    ShowOrderGames();
}

void frmA1Job12::ShowOrderGames()
{
    picPad->clear();
    grdR2->setText(1, 0, u"+"_s);
    if (m_order == 0) {
        grdR2->setMaxRows(0);
        return;
    }
    BusyGuard busy(u"복권 목록 ..."_s);
    const auto filter
        = cboCheck1->currentIndex() == 1 ? TicketStore::GameFilter::Winners : TicketStore::GameFilter::All;
    const auto order = cboSort1->currentIndex() == 1 ? TicketStore::GameOrder::Rank
        : cboSort1->currentIndex() == 2              ? TicketStore::GameOrder::Game
                                                     : TicketStore::GameOrder::Serial;
    const std::vector<TicketStore::TicketGame> games = TicketStore::ListGames(m_order, filter, order);
    QList<QStringList> rows;
    rows.reserve(qsizetype(games.size()));
    for (const TicketStore::TicketGame& g : games) {
        rows.append({u"0"_s,
                     GameText::Dotted(g.game),
                     RankText(g.rank, RankStyle::Bare),
                     QString::number(g.prize),
                     TicketLayout::OrderSerialText(m_order, g.serial),
                     QString::number(g.serial),
                     g.position,
                     g.cancel});
    }
    Grid::Batch batch(*grdR2);
    grdR2->setRows(rows);
    StripeRows(*grdR2);
}

void frmA1Job12::gameClicked(int column, int row)
{
    if (row == 0) {
        if (column != 1)
            return;
        // "+" ticks every game, "-" unticks them again.
        const bool on = grdR2->text(1, 0) == u"+"_s;
        Grid::Batch batch(*grdR2);
        grdR2->setText(1, 0, on ? u"-"_s : u"+"_s);
        for (int r = 1; r <= grdR2->maxRows(); ++r)
            grdR2->setText(1, r, on ? u"1"_s : u"0"_s);
        return;
    }
    if (row < 0 || row > grdR2->maxRows())
        return;
    if (column == 1) {
        grdR2->setText(1, row, grdR2->isChecked(1, row) ? u"0"_s : u"1"_s);
        return;
    }
    picPad->clear();
    if (const auto content = TicketLayout::ReadTicket(m_order, grdR2->text(6, row).toLongLong()))
        picPad->show(TicketLayout::Build(*content));
}

bool frmA1Job12::orderSelected()
{
    if (m_order != 0 && grdR1->maxRows() > 0)
        return true;
    ShowMessage(u"주문을 먼저 선택하십시오."_s, MsgIcon::Critical);
    return false;
}

void frmA1Job12::SaveTexts()
{
    if (!orderSelected())
        return;
    const std::optional<qint64> drawNo = TicketStore::ReadDrawNo(txtBokNo->text());
    if (!drawNo) {
        ShowMessage(u"[추첨회차]는 1부터 999999까지의 숫자로 적어 주십시오."_s, MsgIcon::Critical);
        txtBokNo->setFocus();
        return;
    }
    const TicketStore::OrderTexts texts {*drawNo,
                                         txtComp1->text(),
                                         txtTitle1->text(),
                                         txtTel1->text(),
                                         txtText1->text(),
                                         txtText2->text(),
                                         txtText3->text()};
    if (const QString problem = TicketStore::CheckTexts(texts); !problem.isEmpty()) {
        ShowMessage(problem, MsgIcon::Critical);
        return;
    }
    if (ShowMessage(
            QString::number(m_order)
                + u"번의 내용을 변경할까요?\r\n\r\n[추첨회차],[업소명],[홍보글],[전화],[추가글1],[추가글2],[추가글3]"_s,
            MsgIcon::Question,
            MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    const qint64 code = m_order;
    if (!TicketStore::SaveTexts(code, texts).found) {
        ShowMessage(QString::number(code) + u"번 주문이 더 이상 없습니다. 목록을 새로 읽습니다."_s, MsgIcon::Critical);
        Refresh();
        return;
    }
    RefreshAfterWrite([&] {
        showOrders(code);
        for (int row = 1; row <= int(m_orders.size()); ++row) {
            if (m_orders[size_t(row - 1)].code == code)
                SelectOrder(row);
        }
    });
    ShowMessage(u"작업완료"_s);
}

void frmA1Job12::DeleteTickets()
{
    if (!orderSelected())
        return;
    const TicketStore::RangeInput input = TicketStore::ReadRange(txtSNo1_1->text(), txtSNo1_2->text());
    if (!input.range) {
        ShowMessage(input.refusal);
        txtSNo1_1->setFocus();
        return;
    }
    const TicketStore::Range range = *input.range;
    if (ShowMessage(u"복권을 삭제할까요?\r\n\r\n선택번호: "_s + QString::number(m_order) + u"\r\n추첨회차: "_s
                        + QString::number(m_drawNo) + u"\r\n삭제범위: "_s + QString::number(range.first) + u" 부터 "_s
                        + QString::number(range.last) + u" 까지"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    const qint64 code = m_order;
    const TicketStore::Deleted deleted = TicketStore::DeleteTickets(code, range);
    RefreshAfterWrite([&] {
        showOrders(code);
        ShowOrderGames();
    });
    ShowMessage(deleted.tickets == 0 ? u"삭제할 복권이 그 범위에 없습니다."_s : u"복권 부분삭제. 완료"_s);
}

void frmA1Job12::DeleteOrder()
{
    if (!orderSelected())
        return;
    if (ShowMessage(u"주문내용(복권포함)을 삭제할까요?\r\n\r\n선택번호: "_s + QString::number(m_order)
                        + u"\r\n추첨회차: "_s + QString::number(m_drawNo),
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    OrderStore::DeleteOrder(m_order);
    RefreshAfterWrite([this] { Refresh(); });
    ShowMessage(u"삭제. 완료"_s);
}

void frmA1Job12::PrintTickets()
{
    if (grdR1->maxRows() == 0 || !orderSelected())
        return;
    // The highest serial the order has, whatever the list shows and however many games its tickets hold.
    const qint64 highest = TicketStore::HighestSerial(m_order);
    if (highest == 0) {
        ShowMessage(QString::number(m_order) + u"번 주문에는 프린트할 복권이 없습니다."_s);
        return;
    }
    frmPrintSet2 dialog(highest, window());
    dialog.exec();
    if (const auto range = dialog.range())
        PrintRange(*range);
}

void frmA1Job12::PrintRange(const TicketStore::Range& range)
{
    m_lastPrint = {};
    const TicketPages pages = ReadOrderTickets(m_order, range);
    if (pages.pages.items == 0) {
        ShowMessage(u"그 범위에 프린트할 복권이 없습니다."_s);
        return;
    }
    if (!PrintPreview::Confirm(pages.pages, window()))
        return;
    m_lastPrint = pages.print();
    if (!m_lastPrint.outcome.ok())
        ShowMessage(PrintFailureText(m_lastPrint), MsgIcon::Critical);
}
