#include "frmHotList1.h"

#include "Globals.h"
#include "Grid.h"
#include "ShellRotation.h"
#include "UiTools.h"
#include "WebSite.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmHotList1::frmHotList1(QWidget* parent)
    : QWidget(parent)
    , grdR1(Named(new Grid, u"grdR1"))
    , Label1(Named(new QLabel(u"글을 선택하면 자세한 내용을 검색할 수 있습니다."_s), u"Label1"))
    , cmdEixt(Named(new QPushButton(u"마침"_s), u"cmdEixt"))
{
    setWindowTitle(u"홍보글 [목록]"_s);
    resize(6465 / 15, 3600 / 15);

    grdR1->setHeaders({u"구분"_s, u"내용"_s, u"주소"_s});
    grdR1->setColumnWidth(1, 60);
    grdR1->setStretchColumn(2);
    grdR1->setColumnHidden(3, true);
    grdR1->setSelectRows(true);
    grdR1->setSelectionFollowsCursor(false); // walking the list with the arrows opens no pages
    RunGuarded(u"홍보글 목록을 읽지 못하였습니다."_s,
               [this] { grdR1->setRows(TickerRotation::AsRows(TickerRotation::ReadLines())); });
    StripeRows(*grdR1);
    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) {
        if (row > 0 && grdR1->maxRows() > 0)
            WebSite::OpenServerAddress(grdR1->text(3, row));
    });
    connect(cmdEixt, &QPushButton::clicked, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1, 1);
    bottom->addWidget(cmdEixt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdR1, 1);
    layout->addLayout(bottom);
}
