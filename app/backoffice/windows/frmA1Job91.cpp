#include "frmA1Job91.h"

#include "AdminForm.h"
#include "Backoffice.h"
#include "Grid.h"
#include "MessageService.h"
#include "UiTools.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int kValue = 2;
const QString kFailed = u"계산하지 못하였습니다."_s;
} // namespace

frmA1Job91::frmA1Job91(QWidget* parent)
    : QWidget(parent)
{
    Backoffice::RequireAdministrator();
    setWindowTitle(u"91: 매출/이익금 모의계산"_s);
    grdR1 = Named(new Grid, u"grdR1");
    grdR1->setHeaders({u"항목"_s, u"값"_s, u"비고"_s});
    grdR1->setColumnKind(kValue, Grid::ColumnKind::Number);
    grdR1->setColumnEditable(kValue, true);
    grdR1->setColumnWidth(1, 240);
    grdR1->setColumnWidth(kValue, 150);
    grdR1->setStretchColumn(3);
    grdR1->setAccessibleName(u"매출/이익금 모의계산"_s);
    QList<QStringList> rows;
    for (int r = 1; r <= SalesCalc::kRows; ++r)
        rows.append({SalesCalc::Items()[size_t(r)].item, u"0"_s, SalesCalc::Items()[size_t(r)].note});
    grdR1->setRows(rows);
    // The worked-out rows stand apart from the typed ones.
    for (int r = SalesCalc::kInputs + 1; r <= SalesCalc::kRows; ++r)
        grdR1->setRowColor(r, QColor(246, 246, 246));
    connect(grdR1, &Grid::cellEdited, this, [this](int column, int row) {
        RunGuarded(kFailed, [&] { ValueEdited(column, row); });
    });

    cmdDo01 = Named(new QPushButton(u"계산하기(&C)"_s), u"cmdDo01");
    cmdDo99 = Named(new QPushButton(u"마침"_s), u"cmdDo99");
    connect(cmdDo01, &QPushButton::clicked, this, [this] {
        RunGuarded(kFailed, [this] {
            Calculate();
            grdR1->setFocus();
        });
    });
    connect(cmdDo99, &QPushButton::clicked, this, [this] { AdminForm::CloseWindow(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDo01);
    buttons->addWidget(cmdDo99);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(AdminForm::Title(u"매출/이익금 모의계산"_s));
    layout->addWidget(grdR1, 1);
    layout->addLayout(buttons);
}

void frmA1Job91::Calculate()
{
    // Every cell is read as it stands; one that holds no number is refused and keeps its last number.
    for (int r = 1; r <= SalesCalc::kRows; ++r) {
        const std::optional<double> value = SalesCalc::ReadValue(grdR1->text(kValue, r));
        if (!value) {
            const QString typed = grdR1->text(kValue, r);
            showValues();
            ShowMessage(u"["_s + SalesCalc::Items()[size_t(r)].item.trimmed() + u"] 칸에는 숫자를 적어 주십시오. ("_s
                            + typed + u')',
                        MsgIcon::Critical);
            return;
        }
        m_values[size_t(r)] = *value;
    }
    m_values = SalesCalc::Calculate(m_values);
    showValues();
}

void frmA1Job91::ValueEdited(int column, int row)
{
    if (m_showing || column != kValue || row < 1)
        return;
    Calculate();
}

void frmA1Job91::showValues()
{
    const QScopedValueRollback showing(m_showing, true);
    for (int r = 1; r <= SalesCalc::kRows; ++r)
        grdR1->setText(kValue, r, SalesCalc::ValueText(m_values[size_t(r)]));
}
