#include "frmSave1.h"

#include "Clock.h"
#include "Globals.h"
#include "Grid.h"
#include "MessageService.h"
#include "SafeStore.h"
#include "TextExport.h"
#include "Tools.h"
#include "UiTools.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kNewGroup = u"(새 그룹명)"_s;
QString proposedName() { return Clock::now().toString(u"yyyy-MM-dd HH:mm:ss"_s); }
} // namespace

frmSave1::frmSave1(qint64 gameCount, QWidget* parent)
    : QDialog(parent)
    , grdR1(Named(new Grid, u"grdR1"))
    , txtBigo1(Named(new QLineEdit, u"txtBigo1"))
    , cboGroup1(Named(new QComboBox, u"cboGroup1"))
    , txtGName1(Named(new QLineEdit, u"txtGName1"))
    , lblMsg1(Named(new QLabel, u"lblMsg1"))
    , cmdSave1(Named(new QPushButton(u"저장(&S)"_s), u"cmdSave1"))
    , cmdCancel(Named(new QPushButton(u"취소"_s), u"cmdCancel"))
{
    setObjectName(u"frmSave1"_s);
    setWindowTitle(u"응모복권 [등록]"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblMsg1->setText(u"저장할 게임수: "_s + Grouped(gameCount) + u"(게임)"_s);
    lblMsg1->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    cboGroup1->setMaxVisibleItems(270 / (cboGroup1->fontMetrics().height() + 6));

    grdR1->setHeaders({u"회차"_s, u"추첨일"_s, u"게임수"_s});
    grdR1->setColumnKind(1, Grid::ColumnKind::Number);
    grdR1->setColumnKind(3, Grid::ColumnKind::Number);
    grdR1->setColumnWidth(0, 40);
    grdR1->setColumnWidth(1, 60);
    grdR1->setColumnWidth(2, 100);
    grdR1->setStretchColumn(3);
    grdR1->setSelectRows(true);
    grdR1->setMinimumHeight(260);

    {
        BusyGuard busy(u"추첨회차 정보 읽기 ..."_s);
        QList<QStringList> rows;
        for (const SafeStore::DrawRow& draw : SafeStore::DrawList())
            rows.append(
                {QString::number(draw.drawNo), draw.date, draw.games > 0 ? QString::number(draw.games) : QString()});
        grdR1->setRows(rows);
        cboGroup1->addItem(kNewGroup);
        cboGroup1->addItems(SafeStore::GroupNames());
        cboGroup1->setCurrentIndex(0);
        txtGName1->setText(proposedName());
    }
    StripeRows(*grdR1);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(u"메 모:"_s), 0, 0);
    form->addWidget(txtBigo1, 0, 1, 1, 2);
    form->addWidget(new QLabel(u"그룹명:"_s), 1, 0);
    form->addWidget(cboGroup1, 1, 1);
    form->addWidget(txtGName1, 1, 2);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblMsg1, 1);
    buttons->addWidget(cmdSave1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"복권을 추가할 추첨회차를 선택하세요."_s));
    layout->addWidget(grdR1, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(440, 460);

    connect(grdR1, &Grid::cellClicked, this, [this](int, int row) {
        RunGuarded(u"회차의 메모를 읽지 못하였습니다."_s, [&] { selectDraw(row); });
    });
    connect(grdR1, &Grid::cellDoubleClicked, this, [this](int, int row) {
        if (row > 0)
            save();
    });
    connect(cboGroup1, &QComboBox::currentIndexChanged, this, &frmSave1::groupChosen);
    connect(cmdSave1, &QPushButton::clicked, this, &frmSave1::save);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_choice.reset();
        reject();
    });
    m_loaded = true;
    if (grdR1->maxRows() > 0) {
        grdR1->setActiveCell(1, 1);
        selectDraw(1);
    }
}

void frmSave1::selectDraw(int row)
{
    if (grdR1->maxRows() == 0 || row <= 0 || row > grdR1->maxRows())
        return;
    // The games go to the draw whose memo is on screen; until its memo is read there is none, so that a
    // failed read can never store an empty memo over the draw's own.
    m_drawNo = 0;
    txtBigo1->clear();
    const qint64 drawNo = grdR1->text(1, row).toLongLong();
    txtBigo1->setText(SafeStore::ReadDrawRow(drawNo).memo);
    m_drawNo = drawNo;
}

void frmSave1::groupChosen()
{
    if (!m_loaded)
        return;
    const bool fresh = cboGroup1->currentIndex() == 0;
    txtGName1->setEnabled(fresh);
    txtGName1->setStyleSheet(fresh ? u"background: rgb(255,255,255);"_s : u"background: rgb(192,192,192);"_s);
    if (fresh) {
        txtGName1->setText(proposedName());
        txtGName1->setFocus();
    } else {
        txtGName1->clear();
    }
}

void frmSave1::save()
{
    if (grdR1->maxRows() == 0) {
        ShowMessage(u"복권을 저장할 추첨회차가 없습니다."_s, MsgIcon::Critical);
        return;
    }
    if (m_drawNo == 0) {
        ShowMessage(u"복권을 저장할 추첨회차를 선택하세요."_s, MsgIcon::Critical);
        return;
    }
    QString group;
    if (cboGroup1->currentIndex() > 0) {
        group = cboGroup1->currentText();
    } else {
        if (txtGName1->text().trimmed().isEmpty()) {
            ShowMessage(u"등록할 그룹명을 입력하세요"_s, MsgIcon::Critical);
            return;
        }
        group = SafeStore::CleanGroupName(txtGName1->text());
        if (!SafeStore::GroupNameAllowed(group)) {
            ShowMessage(group + u"은(는) 그룹명으로 쓸 수 없습니다. 다른 그룹명을 입력하세요"_s, MsgIcon::Critical);
            txtGName1->setFocus();
            SelectAllText(txtGName1);
            return;
        }
    }
    // The memo is kept as the safe keeps it when edited there: saving games must not store a longer one.
    m_choice = Choice {m_drawNo, SafeStore::CleanMemo(txtBigo1->text()), group};
    accept();
}
