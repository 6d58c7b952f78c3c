#include "frmSave21.h"

#include "CouponStore.h"
#include "Globals.h"
#include "Grid.h"
#include "MessageService.h"
#include "TextExport.h"
#include "UiTools.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kSaveFailure = u"쿠폰의 메모를 저장하지 못하였습니다. 바뀐 것은 없습니다."_s;
} // namespace

frmSave21::frmSave21(qint64 gameCount, QWidget* parent)
    : QDialog(parent)
    , grdR1(Named(new Grid, u"grdR1"))
    , txtBigo1(Named(new QPlainTextEdit, u"txtBigo1"))
    , lblMsg1(Named(new QLabel, u"lblMsg1"))
    , cmdOK(Named(new QPushButton(u"선택(&S)"_s), u"cmdOK"))
    , cmdCancel(Named(new QPushButton(u"취소"_s), u"cmdCancel"))
{
    setObjectName(u"frmSave21"_s);
    setWindowTitle(u"복권쿠폰 [선택]"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblMsg1->setText(u"저장할 게임수: "_s + Grouped(gameCount) + u"(게임)"_s);
    lblMsg1->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    grdR1->setHeaders({u"회차"_s, u"홍보글"_s, u"게임"_s});
    grdR1->setColumnKind(1, Grid::ColumnKind::Number);
    grdR1->setColumnKind(3, Grid::ColumnKind::Number);
    grdR1->setColumnWidth(0, 40);
    grdR1->setColumnWidth(1, 60);
    grdR1->setStretchColumn(2);
    grdR1->setSelectRows(true);
    QList<QStringList> rows;
    for (const CouponStore::Coupon& c : CouponStore::Coupons())
        rows.append({QString::number(c.drawNo), c.title, QString::number(c.games)});
    grdR1->setRows(rows);
    StripeRows(*grdR1);
    txtBigo1->setMaximumHeight(80);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblMsg1, 1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"복권을 저장할 쿠폰을 선택하세요."_s));
    layout->addWidget(grdR1, 1);
    layout->addWidget(new QLabel(u"메 모:"_s));
    layout->addWidget(txtBigo1);
    layout->addLayout(buttons);
    resize(460, 380);

    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) {
        RunGuarded(u"쿠폰의 메모를 읽지 못하였습니다."_s, [&] { selectCoupon(row); });
    });
    connect(grdR1, &Grid::cellDoubleClicked, this, [this](int, int row) {
        if (row <= 0)
            return;
        RunGuarded(kSaveFailure, [&] {
            // The memo on screen must be this coupon's before it is written back.
            if (row != m_couponRow)
                selectCoupon(row);
            confirm();
        });
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] { RunGuarded(kSaveFailure, [this] { confirm(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_chosenDraw.reset();
        reject();
    });
    if (grdR1->maxRows() > 0) {
        grdR1->setActiveCell(1, 1);
        selectCoupon(1);
    }
}

void frmSave21::selectCoupon(int row)
{
    if (row <= 0 || row > grdR1->maxRows())
        return;
    // Until the coupon's memo is on screen no coupon is chosen: a failed read must not be written back
    // over its memo.
    m_couponRow = 0;
    txtBigo1->clear();
    txtBigo1->setPlainText(CouponStore::Memo(grdR1->text(1, row).toLongLong()));
    m_couponRow = row;
}

void frmSave21::confirm()
{
    if (grdR1->maxRows() == 0)
        return;
    if (m_couponRow == 0) {
        ShowMessage(u"복권을 저장할 쿠폰을 선택하세요."_s, MsgIcon::Critical);
        return;
    }
    const qint64 drawNo = grdR1->text(1, m_couponRow).toLongLong();
    CouponStore::SaveMemo(drawNo, txtBigo1->toPlainText());
    m_chosenDraw = drawNo;
    accept();
}
