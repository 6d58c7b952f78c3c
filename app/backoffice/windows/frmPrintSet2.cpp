#include "frmPrintSet2.h"

#include "Globals.h"
#include "IssuePlan.h"
#include "MessageService.h"
#include "PrinterProvider.h"
#include "TicketPrint.h"
#include "UiTools.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* label(const QString& name, const QString& text = QString())
{
    auto* l = Named(new QLabel(text), name);
    l->setAccessibleName(text);
    return l;
}

} // namespace

frmPrintSet2::frmPrintSet2(qint64 highestSerial, QWidget* parent)
    : QDialog(parent)
    , txtNo1(Named(new QLineEdit(u"1"_s), u"txtNo1"))
    , txtNo2(Named(new QLineEdit(QString::number(highestSerial)), u"txtNo2"))
    , cboCount2(Named(new QComboBox, u"cboCount2"))
    , lblMax1(label(u"lblMax1"_s, TicketPrintPlan::MaxLabel(highestSerial)))
    , lblMsg1(label(u"lblMsg1"_s, PrinterLabel(DefaultPrinterName())))
    , lblMsg3(label(u"lblMsg3"_s))
    , lblMsg4(label(u"lblMsg4"_s))
    , lblMsg2(label(u"lblMsg2"_s))
    , Label2(label(u"Label2"_s, u"A4규격용지 1장에 6개의 복권이 프린트 됩니다."_s))
    , cmdCalc1(Named(new QPushButton(u"발행수 계산"_s), u"cmdCalc1"))
    , cmdPrint1(Named(new QPushButton(u"프린트(&P)"_s), u"cmdPrint1"))
    , cmdCancel(Named(new QPushButton(u"취소"_s), u"cmdCancel"))
{
    setObjectName(u"frmPrintSet2"_s);
    setWindowTitle(u"벨트라복권 [프린트]"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    cmdPrint1->setAccessibleName(u"프린트"_s);
    for (int n = 1; n <= 5; ++n)
        cboCount2->addItem(QString::number(n));
    cboCount2->setCurrentText(QString::number(gCouponGamesPerTicket));
    for (QLineEdit* box : {txtNo1, txtNo2})
        InstallFieldManners(box);
    lblMsg1->setWordWrap(true);
    for (QLabel* l : {lblMsg3, lblMsg4, lblMsg2})
        l->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    Label2->setStyleSheet(u"color: #555555;"_s);
    recount();
    connect(cboCount2, &QComboBox::currentTextChanged, this, [this] { recount(); });
    connect(cmdCalc1, &QPushButton::clicked, this, [this] { recount(); });
    connect(cmdPrint1, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_range.reset();
        reject();
    });

    auto* fields = new QGridLayout;
    auto* first = new QLabel(u"시작번호:"_s);
    auto* last = new QLabel(u"끝번호:"_s);
    auto* games = new QLabel(u"복권당 게임수:"_s);
    first->setBuddy(txtNo1);
    last->setBuddy(txtNo2);
    games->setBuddy(cboCount2);
    txtNo1->setAccessibleName(u"시작번호"_s);
    txtNo2->setAccessibleName(u"끝번호"_s);
    cboCount2->setAccessibleName(u"복권당 게임수"_s);
    fields->addWidget(first, 0, 0);
    fields->addWidget(txtNo1, 0, 1);
    fields->addWidget(last, 1, 0);
    fields->addWidget(txtNo2, 1, 1);
    fields->addWidget(lblMax1, 1, 2);
    fields->addWidget(games, 2, 0);
    fields->addWidget(cboCount2, 2, 1);
    fields->addWidget(cmdCalc1, 2, 2);
    fields->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdPrint1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    for (QLabel* l : {lblMsg3, lblMsg4, lblMsg2, lblMsg1, Label2})
        layout->addWidget(l);
    layout->addLayout(buttons);
    resize(380, sizeHint().height());
    txtNo1->setFocus();
}

void frmPrintSet2::recount()
{
    const qint64 from = IssuePlan::Lenient(txtNo1->text());
    const qint64 to = IssuePlan::Lenient(txtNo2->text());
    const qint64 tickets = to >= from && from > 0 ? to - from + 1 : 0;
    lblMsg3->setText(IssuePlan::GamesLabel(tickets * IssuePlan::Lenient(cboCount2->currentText())));
    lblMsg4->setText(TicketPrintPlan::TicketsLabel(tickets));
    lblMsg2->setText(IssuePlan::SheetsLabel(IssuePlan::Sheets(tickets)));
    for (QLabel* l : {lblMsg3, lblMsg4, lblMsg2})
        l->setAccessibleName(l->text());
}

void frmPrintSet2::confirm()
{
    const TicketStore::RangeInput input = TicketStore::ReadRange(txtNo1->text(), txtNo2->text());
    if (!input.range) {
        ShowMessage(input.refusal);
        txtNo1->setFocus();
        txtNo1->selectAll();
        return;
    }
    m_range = input.range;
    accept();
}
