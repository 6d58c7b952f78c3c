#include "AdminForm.h"

#include "Grid.h"
#include "UiTools.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

namespace AdminForm {

QLabel* Caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    QString name = text;
    buddy->setAccessibleName(name.remove(u':').simplified());
    return label;
}

QLabel* Title(const QString& text)
{
    auto* label = new QLabel(text);
    label->setStyleSheet(u"background: #1d3c8f; color: white; font-weight: bold; padding: 3px 8px;"_s);
    return label;
}

QHBoxLayout* SearchRow(QComboBox* year, QComboBox* month, QWidget* refresh)
{
    auto* row = new QHBoxLayout;
    row->addWidget(Caption(u"검색범위:"_s, year));
    month->setAccessibleName(u"검색범위 월"_s);
    year->setMaxVisibleItems(18);
    month->setMaxVisibleItems(13);
    row->addWidget(year);
    row->addWidget(month);
    row->addWidget(refresh);
    return row;
}

void CloseWindow(QWidget* window)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

Grid* OrderGrid(const QString& idCaption)
{
    auto* grid = Named(new Grid, u"grdR1");
    grid->setHeaders({u"번호"_s,
                      idCaption,
                      u"추첨회차"_s,
                      u"접수날짜"_s,
                      u"주문복권수"_s,
                      u"복권당게임수"_s,
                      u"단가"_s,
                      u"금액"_s,
                      u"진행상태"_s,
                      u"현재게임수"_s,
                      u"취소게임수"_s,
                      u"우편등기번호"_s});
    for (int c : {1, 3, 5, 6, 7, 8, 10, 11})
        grid->setColumnKind(c, Grid::ColumnKind::Number);
    const int widths[] = {0, 60, 90, 64, 150, 76, 86, 70, 90, 64, 76, 76};
    for (int c = 1; c <= 11; ++c)
        grid->setColumnWidth(c, widths[c]);
    grid->setStretchColumn(12);
    grid->setSelectRows(true);
    grid->setAccessibleName(u"주문 목록"_s);
    return grid;
}

void ShowOrders(Grid& grid,
                const std::vector<OrderStore::Order>& orders,
                qint64 keep,
                const std::function<qint64(const OrderStore::Order&)>& amount)
{
    QList<QStringList> rows;
    rows.reserve(qsizetype(orders.size()));
    int keepRow = 0;
    for (const OrderStore::Order& o : orders) {
        rows.append({QString::number(o.code),
                     o.id,
                     QString::number(o.drawNo),
                     o.date,
                     QString::number(o.tickets),
                     QString::number(o.gamesPerTicket),
                     QString::number(o.unitPrice),
                     QString::number(amount(o)),
                     o.state,
                     QString::number(o.games),
                     QString::number(o.cancelled),
                     o.sendNo});
        if (o.code == keep)
            keepRow = int(rows.size());
    }
    Grid::Batch batch(grid);
    grid.setRows(rows);
    StripeRows(grid);
    if (keepRow > 0)
        grid.setActiveCell(1, keepRow);
}

} // namespace AdminForm
