#include "frmPrintSet.h"

#include "Globals.h"
#include "IssuePlan.h"
#include "MessageService.h"
#include "PrinterProvider.h"
#include "UiTools.h"

#include <QAbstractItemView>
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

frmPrintSet::frmPrintSet(qint64 unissuedGames, QWidget* parent)
    : QDialog(parent)
    , cboCount1(Named(new QComboBox, u"cboCount1"))
    , cboCount2(Named(new QComboBox, u"cboCount2"))
    , lblMsg5(label(u"lblMsg5"_s))
    , lblMsg3(label(u"lblMsg3"_s))
    , lblMsg2(label(u"lblMsg2"_s))
    , lblMsg1(label(u"lblMsg1"_s))
    , Label2(label(u"Label2"_s, u"A4규격용지 1장에 6개의 복권이 프린트 됩니다."_s))
    , cmdPrint1(Named(new QPushButton(u"프린트(&P)"_s), u"cmdPrint1"))
    , cmdCancel(Named(new QPushButton(u"취소"_s), u"cmdCancel"))
{
    setObjectName(u"frmPrintSet"_s);
    setWindowTitle(u"복권발행 [프린트]"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    cmdPrint1->setAccessibleName(u"프린트"_s);
    cmdCancel->setAccessibleName(u"취소"_s);
    cboCount1->setAccessibleName(u"발행할 복권수"_s);
    cboCount2->setAccessibleName(u"복권당 게임수"_s);

    for (QComboBox* box : {cboCount1, cboCount2}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->view()->setMinimumHeight(270);
        InstallFieldManners(box->lineEdit());
    }
    for (int n = 1; n <= 5; ++n)
        cboCount1->addItem(QString::number(n));
    for (int n = 6; n <= 60; n += 6)
        cboCount1->addItem(QString::number(n));
    for (int n = 1; n <= IssuePlan::kMaxGamesPerCoupon; ++n)
        cboCount2->addItem(QString::number(n));
    cboCount1->setCurrentText(QString::number(gCouponIssueCount));
    cboCount2->setCurrentText(QString::number(gCouponGamesPerTicket));

    lblMsg1->setText(PrinterLabel(DefaultPrinterName()));
    lblMsg1->setWordWrap(true);
    lblMsg5->setText(IssuePlan::UnissuedLabel(unissuedGames));
    for (QLabel* l : {lblMsg5, lblMsg3, lblMsg2})
        l->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    Label2->setStyleSheet(u"color: #555555;"_s);
    recount();
    connect(cboCount1, &QComboBox::currentTextChanged, this, [this] { recount(); });
    connect(cboCount2, &QComboBox::currentTextChanged, this, [this] { recount(); });
    connect(cmdPrint1, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_request.reset();
        reject();
    });

    auto* counts = new QGridLayout;
    auto* caption1 = new QLabel(u"발행할 복권수:"_s);
    auto* caption2 = new QLabel(u"복권당 게임수:"_s);
    caption1->setBuddy(cboCount1);
    caption2->setBuddy(cboCount2);
    counts->addWidget(caption1, 0, 0);
    counts->addWidget(cboCount1, 0, 1);
    counts->addWidget(caption2, 1, 0);
    counts->addWidget(cboCount2, 1, 1);
    counts->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdPrint1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(counts);
    for (QLabel* l : {lblMsg5, lblMsg3, lblMsg2, lblMsg1, Label2})
        layout->addWidget(l);
    layout->addLayout(buttons);
    resize(360, sizeHint().height());
    cboCount1->setFocus();
}

void frmPrintSet::recount()
{
    const qint64 coupons = IssuePlan::Lenient(cboCount1->currentText());
    const qint64 games = IssuePlan::Lenient(cboCount2->currentText()) * coupons;
    lblMsg3->setText(IssuePlan::GamesLabel(games));
    lblMsg2->setText(IssuePlan::SheetsLabel(IssuePlan::Sheets(coupons)));
    for (QLabel* l : {lblMsg3, lblMsg2})
        l->setAccessibleName(l->text());
}

void frmPrintSet::confirm()
{
    const auto coupons = IssuePlan::Count(cboCount1->currentText(), 1, IssuePlan::kMaxCoupons);
    if (!coupons) {
        ShowMessage(IssuePlan::kCouponsRefused);
        cboCount1->setCurrentText(u"8"_s);
        cboCount1->setFocus();
        return;
    }
    // A coupon prints five games at most: a sixth would be issued and never seen, and none at all would
    // number empty coupons.
    const auto games = IssuePlan::Count(cboCount2->currentText(), 1, IssuePlan::kMaxGamesPerCoupon);
    if (!games) {
        ShowMessage(IssuePlan::kGamesRefused);
        cboCount2->setCurrentText(QString::number(IssuePlan::kMaxGamesPerCoupon));
        cboCount2->setFocus();
        return;
    }
    m_request = Request {*coupons, *games};
    accept();
}
