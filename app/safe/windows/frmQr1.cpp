#include "frmQr1.h"

#include "Globals.h"
#include "Grid.h"
#include "MessageService.h"
#include "UiTools.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QPushButton* button(const QString& caption, QStringView name)
{
    auto* b = Named(new QPushButton(caption), name);
    b->setAccessibleName(QString(caption).remove(u"..."_s).remove(u'&'));
    return b;
}

} // namespace

frmQr1::frmQr1(QWidget* parent)
    : QDialog(parent)
    , txtQr1(Named(new QLineEdit, u"txtQr1"))
    , cmdRead1(button(u"읽기(&R)"_s, u"cmdRead1"))
    , cmdImage1(button(u"그림에서 읽기(&I)..."_s, u"cmdImage1"))
    , lblDraw1(Named(new QLabel, u"lblDraw1"))
    , grdR1(Named(new Grid, u"grdR1"))
    , txtGName1(Named(new QLineEdit(TicketQr::kDefaultGroup), u"txtGName1"))
    , cmdSave1(button(u"금고에 저장(&S)"_s, u"cmdSave1"))
    , cmdCancel(button(u"닫기"_s, u"cmdCancel"))
{
    setObjectName(u"frmQr1"_s);
    setWindowTitle(u"QR 복권 불러오기"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    txtQr1->setAccessibleName(u"QR 주소"_s);
    txtQr1->setPlaceholderText(u"휴대폰으로 읽은 QR 주소를 붙여 넣으세요 (http://...?v=...)"_s);
    txtGName1->setAccessibleName(u"그룹명"_s);
    lblDraw1->setStyleSheet(u"font-weight: bold; color: #1d3c8f; padding: 4px 0;"_s);
    grdR1->setHeaders({u"게임"_s, u"선택"_s, u"번호"_s});
    grdR1->setColumnHidden(0, true);
    grdR1->setColumnWidth(1, 44);
    grdR1->setColumnWidth(2, 60);
    grdR1->setStretchColumn(3);
    grdR1->setSelectRows(true);
    grdR1->setMinimumHeight(150);
    cmdSave1->setDefault(false);
    cmdRead1->setDefault(true);

    auto* source = new QGridLayout;
    source->addWidget(txtQr1, 0, 0);
    source->addWidget(cmdRead1, 0, 1);
    source->addWidget(cmdImage1, 0, 2);
    source->setColumnStretch(0, 1);
    auto* group = new QHBoxLayout;
    group->addWidget(new QLabel(u"그룹명:"_s));
    group->addWidget(txtGName1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(u"복권의 QR 코드를 휴대폰으로 읽은 주소를 붙여 넣거나, 복권을 찍은 그림(PNG, JPEG)을 고르세요."_s));
    layout->addLayout(source);
    layout->addWidget(lblDraw1);
    layout->addWidget(grdR1, 1);
    layout->addLayout(group);
    layout->addLayout(buttons);
    resize(560, 380);

    connect(cmdRead1, &QPushButton::clicked, this, [this] { ReadText(txtQr1->text()); });
    connect(txtQr1, &QLineEdit::returnPressed, this, [this] { ReadText(txtQr1->text()); });
    // What is shown must be what gets saved: a changed address is read again first.
    connect(txtQr1, &QLineEdit::textEdited, this, &frmQr1::forget);
    connect(cmdImage1, &QPushButton::clicked, this, &frmQr1::ChooseImage);
    connect(cmdSave1, &QPushButton::clicked, this, &frmQr1::SaveTicket);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    forget();
}

void frmQr1::forget()
{
    m_ticket.reset();
    grdR1->setMaxRows(0);
    lblDraw1->setText(u"회차: -"_s);
    cmdSave1->setEnabled(false);
}

void frmQr1::showTicket(const TicketQr::Ticket& ticket)
{
    m_ticket = ticket;
    lblDraw1->setText(QString::number(ticket.drawNo) + u"회차 · "_s + QString::number(ticket.lines.size()) + u"게임"_s);
    QList<QStringList> rows;
    for (const TicketQr::Line& line : ticket.lines)
        rows.append({QString(line.slot), TicketQr::PlayName(line.play), line.game.dotted()});
    grdR1->setRows(rows);
    cmdSave1->setEnabled(true);
    cmdSave1->setFocus();
}

void frmQr1::ReadText(const QString& text)
{
    forget();
    if (text.trimmed().isEmpty()) {
        ShowMessage(u"QR 주소를 붙여 넣거나 복권을 찍은 그림을 고르세요."_s, MsgIcon::Critical);
        txtQr1->setFocus();
        return;
    }
    const TicketQr::Reading reading = TicketQr::Parse(text, gCurrentDrawNo);
    if (!reading.ticket) {
        ShowMessage(reading.error, MsgIcon::Critical);
        txtQr1->setFocus();
        return;
    }
    showTicket(*reading.ticket);
}

void frmQr1::ReadImage(const QString& path)
{
    forget();
    const TicketQr::ImageText found = TicketQr::DecodeImageFile(path);
    if (!found.text) {
        ShowMessage(found.error, MsgIcon::Critical);
        return;
    }
    txtQr1->setText(*found.text);
    txtQr1->setCursorPosition(0); // the address and the draw first, not the serial at its end
    ReadText(*found.text);
}

void frmQr1::ChooseImage()
{
    const QString path = QFileDialog::getOpenFileName(this,
                                                      u"복권 그림 고르기"_s,
                                                      QString(),
                                                      u"그림 (*.png *.jpg *.jpeg);;모든 파일 (*)"_s);
    if (!path.isEmpty())
        ReadImage(path);
}

void frmQr1::SaveTicket()
{
    if (!m_ticket) {
        ShowMessage(u"먼저 QR 코드를 읽으세요."_s, MsgIcon::Critical);
        return;
    }
    if (txtGName1->text().trimmed().isEmpty()) {
        ShowMessage(u"등록할 그룹명을 입력하세요"_s, MsgIcon::Critical);
        txtGName1->setFocus();
        return;
    }
    std::optional<QString> refused;
    const bool stored = RunGuarded(u"복권번호를 저장하지 못하였습니다. 저장된 것은 없습니다."_s,
                                   [&] { refused = TicketQr::Save(*m_ticket, txtGName1->text()); });
    if (!stored)
        return;
    if (refused) {
        ShowMessage(*refused, MsgIcon::Critical);
        return;
    }
    m_saved = m_ticket->drawNo;
    ShowMessage(QString::number(m_ticket->drawNo) + u"회차에 "_s + QString::number(m_ticket->lines.size())
                    + u"개 복권번호가 [복권금고]에 저장되었습니다."_s,
                MsgIcon::Information);
    accept();
}
