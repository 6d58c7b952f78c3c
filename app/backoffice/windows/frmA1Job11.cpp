#include "frmA1Job11.h"

#include "AdminForm.h"
#include "Busy.h"
#include "Game.h"
#include "Grid.h"
#include "MessageService.h"
#include "UiTools.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kAll = u"(전체)"_s;
const QString kFailed = u"주문 작업을 하지 못하였습니다. 바뀐 것은 없습니다."_s;

} // namespace

frmA1Job11::frmA1Job11(QWidget* parent)
    : QWidget(parent)
{
    Backoffice::RequireAdministrator();
    setWindowTitle(u"11: 벨트라복권 생성"_s);
    buildControls();
    cboYear1->addItems(Backoffice::YearItems());
    cboYear1->setCurrentIndex(cboYear1->count() - 1);
    cboMonth1->addItem(kAll);
    cboMonth1->addItems(Backoffice::MonthItems());
    cboMonth1->setCurrentIndex(0);
    Refresh();
}

void frmA1Job11::buildControls()
{
    cboYear1 = Named(new QComboBox, u"cboYear1");
    cboMonth1 = Named(new QComboBox, u"cboMonth1");
    cmdRefresh = Named(new QPushButton(u"새로고침"_s), u"cmdRefresh");
    Label2 = Named(new QLabel(u"[진행상태: 0=미입금,1=결제확인,2=복권저장,3=프린트완료,4=배송완료]"_s), u"Label2");
    auto* top = AdminForm::SearchRow(cboYear1, cboMonth1, cmdRefresh);
    top->addSpacing(16);
    top->addWidget(Label2);
    top->addStretch(1);

    grdR1 = AdminForm::OrderGrid(u"아이디"_s);
    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) { RunGuarded(kFailed, [&] { SelectOrder(row); }); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { Refresh(); }); });

    // The selected order's own fields.
    lblMsg01 = Named(new QLabel(u"[선택 번호: ]"_s), u"lblMsg01");
    lblMsg02 = Named(new QLabel(u"[선택 회차: ]"_s), u"lblMsg02");
    txtState1 = Named(new QLineEdit, u"txtState1");
    txtState1->setMaximumWidth(60);
    txtSendNo1 = Named(new QLineEdit, u"txtSendNo1");
    txtBigo1 = Named(new QPlainTextEdit, u"txtBigo1");
    txtBigo1->setTabChangesFocus(true);
    txtBigo1->setMinimumHeight(60);
    cmdDo01 = Named(new QPushButton(u"변경내용 저장"_s), u"cmdDo01");
    cmdDo02 = Named(new QPushButton(u"주문내용 삭제"_s), u"cmdDo02");
    cmdDo03 = Named(new QPushButton(u"취소번호 등록"_s), u"cmdDo03");
    cmdDo03->setEnabled(false); // games are cancelled outside this window
    InstallFieldManners(txtState1);
    InstallFieldManners(txtSendNo1);
    connect(cmdDo01, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { SaveOrder(); }); });
    connect(cmdDo02, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { DeleteOrder(); }); });

    auto* orderBox = new QWidget;
    auto* fields = new QGridLayout(orderBox);
    fields->setContentsMargins(0, 0, 0, 0);
    auto* labels = new QHBoxLayout;
    labels->addWidget(lblMsg01);
    labels->addWidget(lblMsg02);
    labels->addStretch(1);
    fields->addLayout(labels, 0, 0, 1, 2);
    fields->addWidget(AdminForm::Caption(u"진행상태:"_s, txtState1), 1, 0);
    fields->addWidget(txtState1, 1, 1, Qt::AlignLeft);
    fields->addWidget(AdminForm::Caption(u"우편등기번호:"_s, txtSendNo1), 2, 0);
    fields->addWidget(txtSendNo1, 2, 1);
    fields->addWidget(AdminForm::Caption(u"메  모:"_s, txtBigo1), 3, 0, Qt::AlignTop);
    fields->addWidget(txtBigo1, 3, 1);
    auto* orderButtons = new QHBoxLayout;
    orderButtons->addWidget(cmdDo01);
    orderButtons->addWidget(cmdDo02);
    orderButtons->addWidget(cmdDo03);
    orderButtons->addStretch(1);
    fields->addLayout(orderButtons, 4, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    // Filling the order with games.
    txtGame1 = Named(new QLineEdit(u"5"_s), u"txtGame1");
    txtGame1->setMaximumWidth(60);
    InstallFieldManners(txtGame1);
    grdR2 = Named(new Grid, u"grdR2");
    grdR2->setHeaders({u"복권번호"_s});
    grdR2->setStretchColumn(1);
    grdR2->setAccessibleName(u"불러온 복권번호"_s);
    cmdJob01 = Named(new QPushButton(u"1. 준비"_s), u"cmdJob01");
    cmdJob02 = Named(new QPushButton(u"2. [로또게임]창의 복권번호 불러오기"_s), u"cmdJob02");
    cmdJob03 = Named(new QPushButton(u"3. 등록할 복권수 확인"_s), u"cmdJob03");
    cmdJob04 = Named(new QPushButton(u"4. 신청한 벨트라복권 등록"_s), u"cmdJob04");
    connect(cmdJob01, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { Prepare(); }); });
    connect(cmdJob02, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { PullGames(); }); });
    connect(cmdJob03, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { CheckCount(); }); });
    connect(cmdJob04, &QPushButton::clicked, this, [this] { RunGuarded(kFailed, [this] { RegisterGames(); }); });

    auto* fillBox = new QWidget;
    auto* fill = new QGridLayout(fillBox);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* perTicket = new QHBoxLayout;
    perTicket->addWidget(AdminForm::Caption(u"복권당 게임수:"_s, txtGame1));
    perTicket->addWidget(txtGame1);
    perTicket->addStretch(1);
    fill->addLayout(perTicket, 0, 0, 1, 2);
    fill->addWidget(grdR2, 1, 0);
    auto* steps = new QVBoxLayout;
    for (QPushButton* step : {cmdJob01, cmdJob02, cmdJob03, cmdJob04}) {
        step->setStyleSheet(u"text-align: left; padding: 4px 10px;"_s);
        steps->addWidget(step);
    }
    steps->addStretch(1);
    fill->addLayout(steps, 1, 1);
    grdR2->setMinimumWidth(170);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(orderBox, 3);
    bottom->addSpacing(12);
    bottom->addWidget(fillBox, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(AdminForm::Title(u"벨트라복권 주문"_s));
    layout->addWidget(grdR1, 3);
    layout->addLayout(bottom, 2);
}

void frmA1Job11::Refresh()
{
    grdR2->setMaxRows(0);
    m_pulled.clear();
    m_steps.reset(); // the pulled games are gone: the steps start again
    showOrdersFromTheFirst();
}

void frmA1Job11::showOrdersFromTheFirst()
{
    showOrders(0);
    if (grdR1->maxRows() > 0) {
        grdR1->setActiveCell(1, 1);
        SelectOrder(1);
    } else {
        SelectOrder(0);
    }
}

void frmA1Job11::showOrders(qint64 keep)
{
    BusyGuard busy(u"주문 목록 ..."_s);
    m_orders = OrderStore::ListOrders(Backoffice::LeadingNumber(cboYear1->currentText()),
                                      Backoffice::LeadingNumber(cboMonth1->currentText()));
    AdminForm::ShowOrders(*grdR1, m_orders, keep, &OrderStore::Order::amount);
}

void frmA1Job11::SelectOrder(int row)
{
    if (row < 1 || row > int(m_orders.size())) {
        if (grdR1->maxRows() == 0) {
            m_order = m_drawNo = 0;
            lblMsg01->setText(u"[선택 번호: ]"_s);
            lblMsg02->setText(u"[선택 회차: ]"_s);
            txtState1->clear();
            txtSendNo1->clear();
            txtBigo1->clear();
        }
        return; // the header row selects nothing
    }
    const OrderStore::Order& o = m_orders[size_t(row - 1)];
    // The count was checked against another order: it no longer stands. Once the pulled games are
    // registered, they stay registered whatever is selected next; only step 1 starts over.
    if (o.code != m_order && !m_steps.isDone(4))
        m_steps.undoFrom(3);
    m_order = o.code;
    m_drawNo = o.drawNo;
    txtGame1->setText(QString::number(o.gamesPerTicket));
    txtState1->setText(o.state);
    txtSendNo1->setText(o.sendNo);
    lblMsg01->setText(u"[선택 번호: "_s + QString::number(o.code) + u']');
    lblMsg02->setText(u"[선택 회차: "_s + QString::number(o.drawNo) + u']');
    txtBigo1->setPlainText(OrderStore::ReadMemo(o.code));
}

void frmA1Job11::SaveOrder()
{
    if (m_order == 0 || grdR1->maxRows() == 0) {
        ShowMessage(u"주문을 먼저 선택하십시오."_s, MsgIcon::Critical);
        return;
    }
    const QString state = txtState1->text();
    const QString sendNo = txtSendNo1->text();
    const QString memo = txtBigo1->toPlainText();
    if (const QString problem = OrderStore::CheckOrderFields(state, sendNo, memo); !problem.isEmpty()) {
        ShowMessage(problem, MsgIcon::Critical);
        return;
    }
    if (ShowMessage(QString::number(m_order) + u"번의 내용을 변경할까요?\r\n\r\n[진행상태],[우편등기번호],[메모]"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    if (!OrderStore::SaveOrder(m_order, state, sendNo, memo)) {
        ShowMessage(QString::number(m_order) + u"번 주문이 더 이상 없습니다. 목록을 새로 읽습니다."_s,
                    MsgIcon::Critical);
        Refresh();
        return;
    }
    RefreshAfterWrite([this] { showOrders(m_order); });
    ShowMessage(u"작업완료"_s);
}

void frmA1Job11::DeleteOrder()
{
    if (m_order == 0 || grdR1->maxRows() == 0) {
        ShowMessage(u"주문을 먼저 선택하십시오."_s, MsgIcon::Critical);
        return;
    }
    if (ShowMessage(QString::number(m_order) + u"번의 접수 내용을 취소하고 삭제할까요?"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    OrderStore::DeleteOrder(m_order);
    m_order = 0;
    RefreshAfterWrite([this] { showOrdersFromTheFirst(); });
    ShowMessage(u"작업완료"_s);
}

bool frmA1Job11::stepAllowed(int step)
{
    const QString refusal = m_steps.refusal(step);
    if (refusal.isEmpty())
        return true;
    ShowMessage(refusal, MsgIcon::Critical);
    return false;
}

void frmA1Job11::Prepare()
{
    m_steps.reset();
    grdR2->setMaxRows(0);
    m_pulled.clear();
    m_steps.done(1);
    ShowMessage(u"패스1 OK"_s);
}

void frmA1Job11::PullGames()
{
    if (!stepAllowed(2))
        return;
    const std::optional<QStringList> games = m_gameSource ? m_gameSource() : std::nullopt;
    if (!games) {
        ShowMessage(u"[로또게임] 창이 열려 있지 않습니다.\r\n[로또게임]에서 복권번호를 만든 뒤에 불러오십시오."_s,
                    MsgIcon::Critical);
        return;
    }
    if (games->isEmpty()) {
        ShowMessage(u"[로또게임]에서 불러올 복권이 없습니다..."_s, MsgIcon::Critical);
        return;
    }
    m_pulled = *games;
    QList<QStringList> rows;
    rows.reserve(m_pulled.size());
    for (const QString& game : m_pulled)
        rows.append({GameText::Dotted(game)});
    {
        Grid::Batch batch(*grdR2);
        grdR2->setRows(rows);
    }
    m_steps.done(2);
    ShowMessage(u"패스2 OK"_s);
}

void frmA1Job11::CheckCount()
{
    if (!stepAllowed(3))
        return;
    if (m_order == 0) {
        ShowMessage(u"주문을 먼저 선택하십시오."_s, MsgIcon::Critical);
        return;
    }
    const std::optional<OrderStore::Order> order = OrderStore::ReadOrder(m_order);
    if (!order) {
        ShowMessage(QString::number(m_order) + u"번 주문이 더 이상 없습니다."_s, MsgIcon::Critical);
        return;
    }
    ShowMessage(OrderStore::CheckCapacity(*order, m_pulled.size()).message());
    m_checkedOrder = m_order;
    m_steps.done(3);
    ShowMessage(u"패스3 OK"_s);
}

void frmA1Job11::RegisterGames()
{
    if (!stepAllowed(4))
        return;
    const std::optional<int> perTicket = OrderStore::ReadGamesPerTicket(txtGame1->text());
    if (!perTicket) {
        ShowMessage(u"[복권당 게임수]는 1부터 5까지의 숫자로 적어 주십시오."_s, MsgIcon::Critical);
        txtGame1->setFocus();
        return;
    }
    if (const int bad = OrderStore::FirstBadGame(m_pulled); bad >= 0) {
        ShowMessage(u"불러온 복권번호의 "_s + QString::number(bad + 1)
                        + u"번째 게임이 올바르지 않아 등록하지 않았습니다."_s,
                    MsgIcon::Critical);
        return;
    }
    if (ShowMessage(u"복권 "_s + QString::number(m_pulled.size()) + u"게임을 추가할까요?"_s,
                    MsgIcon::Question,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok)
        return;
    OrderStore::Registration done;
    {
        BusyGuard busy(u"복권번호 등록 ..."_s);
        done = OrderStore::RegisterGames(m_checkedOrder, *perTicket, m_pulled);
    }
    if (!done.orderFound) {
        ShowMessage(QString::number(m_checkedOrder) + u"번 주문이 더 이상 없어 등록하지 않았습니다."_s,
                    MsgIcon::Critical);
        return;
    }
    m_steps.done(4);
    RefreshAfterWrite([this] { showOrders(m_order); });
    ShowMessage(u"패스4 OK"_s);
    ShowMessage(u"작업완료"_s);
}
