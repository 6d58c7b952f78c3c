#include "frmSave22.h"

#include "Globals.h"
#include "MessageService.h"
#include "UiTools.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using CouponRegistration::Field;
using CouponRegistration::Mode;

namespace {

QLabel* note(const QString& text, const QString& colour)
{
    auto* label = new QLabel(text);
    label->setAccessibleName(text);
    label->setWordWrap(true);
    label->setStyleSheet(u"color: "_s + colour + u';');
    return label;
}

} // namespace

frmSave22::frmSave22(Mode mode, qint64 drawNo, qint64 games, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_games(games)
{
    const QString modeText = mode == Mode::Register ? u"등록"_s : u"수정"_s;
    setObjectName(u"frmSave22"_s);
    setWindowTitle(u"쿠폰 ["_s + modeText + u']');
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto line = [](const QString& name) {
        auto* edit = Named(new QLineEdit, name);
        InstallFieldManners(edit);
        return edit;
    };
    txtBokNo = line(u"txtBokNo"_s);
    cboPart2 = Named(new QComboBox, u"cboPart2"_s);
    txtComp1 = line(u"txtComp1"_s);
    txtTitle1 = line(u"txtTitle1"_s);
    txtTitle2 = line(u"txtTitle2"_s);
    for (int k = 0; k < 5; ++k)
        txtNoText[size_t(k)] = line(u"txtNo"_s + QString::number(k + 1) + u"Text"_s);
    txtText1 = line(u"txtText1"_s);
    txtText2 = line(u"txtText2"_s);
    txtBigo1 = Named(new QPlainTextEdit, u"txtBigo1"_s);
    lblDate1 = Named(new QLabel(u"(추첨일: YYYY-MM-DD)"_s), u"lblDate1"_s);
    cmdSave1 = Named(new QPushButton(u"저장(&S)"_s), u"cmdSave1"_s);
    cmdCancel = Named(new QPushButton(u"취소"_s), u"cmdCancel"_s);
    cmdSave1->setAccessibleName(u"저장"_s);
    cmdCancel->setAccessibleName(u"취소"_s);
    cmdSave1->setDefault(false);
    cmdSave1->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    cboPart2->view()->setMinimumHeight(270);
    cboPart2->installEventFilter(this);
    txtBokNo->installEventFilter(this);
    txtBigo1->setTabChangesFocus(true);

    auto* fields = new QGridLayout;
    int row = 0;
    auto add = [&](const QString& caption, QWidget* control, QWidget* beside = nullptr) {
        auto* label = new QLabel(caption);
        label->setBuddy(control);
        control->setAccessibleName(caption.chopped(1).remove(u' '));
        fields->addWidget(label, row, 0);
        if (beside) {
            fields->addWidget(control, row, 1);
            fields->addWidget(beside, row, 2);
        } else {
            fields->addWidget(control, row, 1, 1, 2);
        }
        ++row;
    };
    txtBokNo->setMaximumWidth(70);
    add(u"추첨회차:"_s, txtBokNo, lblDate1);
    add(u"업  종:"_s, cboPart2);
    add(u"업소명:"_s, txtComp1);
    add(u"홍보글:"_s, txtTitle1);
    add(u"전화번호:"_s, txtTitle2);
    for (int k = 0; k < 5; ++k)
        add(QString::number(k + 1) + u"등경품:"_s, txtNoText[size_t(k)]);
    add(u"추가글1:"_s, txtText1);
    add(u"추가글2:"_s, txtText2);
    add(u"메  모:"_s, txtBigo1);
    txtBigo1->setMaximumHeight(70);
    fields->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        note(u"복권쿠폰은 회원이 직접 발행하는 복권으로 경품을 발행업체에서 지급합니다."_s, u"#1d3c8f"_s));
    layout->addWidget(note(u"(주의) 쿠폰내용은 인터넷을 통해 공개되므로 정확히 기재바랍니다."_s, u"#b03030"_s));
    layout->addLayout(fields);
    layout->addWidget(note(u"4등,5등의 경품내용을 입력하지 않으면 복권에 표시되지 않습니다."_s, u"#555555"_s));
    layout->addLayout(buttons);
    resize(440, sizeHint().height());

    connect(cmdSave1, &QPushButton::clicked, this, [this] { save(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_savedDraw.reset();
        reject();
    });

    RunGuarded(u"쿠폰 정보를 읽지 못하였습니다."_s, [&] {
        cboPart2->addItems(CouponRegistration::Kinds());
        cboPart2->setCurrentIndex(0);
        if (mode == Mode::Register) {
            txtBokNo->setText(QString::number(gCurrentDrawNo));
        } else {
            txtBokNo->setReadOnly(true);
            txtBokNo->setFocusPolicy(Qt::NoFocus);
            txtBokNo->setStyleSheet(u"background: rgb(224,224,224);"_s);
            txtBokNo->setText(QString::number(drawNo));
            if (const auto fields = CouponRegistration::Load(drawNo))
                showFields(*fields);
        }
    });
    lblDate1->setText(CouponRegistration::DrawDateLabel(CouponRegistration::DrawNoOrCurrent(txtBokNo->text())));
    (mode == Mode::Register ? txtBokNo : txtComp1)->setFocus();
    m_loaded = true;
}

QLineEdit* frmSave22::box(Field field) const
{
    switch (field) {
    case Field::BokNo:
        return txtBokNo;
    case Field::Comp1:
        return txtComp1;
    case Field::Title1:
        return txtTitle1;
    case Field::Title2:
        return txtTitle2;
    case Field::No1Text:
    case Field::No2Text:
    case Field::No3Text:
    case Field::No4Text:
    case Field::No5Text:
        return txtNoText[size_t(int(field) - int(Field::No1Text))];
    case Field::Text1:
        return txtText1;
    case Field::Text2:
        return txtText2;
    case Field::Part2:
    case Field::Bigo1:
        break;
    }
    return nullptr;
}

CouponRegistration::Fields frmSave22::typed() const
{
    CouponRegistration::Fields f;
    f.bokNo = txtBokNo->text();
    f.part2 = cboPart2->currentText();
    f.comp1 = txtComp1->text();
    f.title1 = txtTitle1->text();
    f.title2 = txtTitle2->text();
    for (size_t k = 0; k < 5; ++k)
        f.prizes[k] = txtNoText[k]->text();
    f.text1 = txtText1->text();
    f.text2 = txtText2->text();
    f.bigo1 = txtBigo1->toPlainText();
    return f;
}

void frmSave22::showFields(const CouponRegistration::Fields& f)
{
    txtBokNo->setText(f.bokNo);
    if (const int at = cboPart2->findText(f.part2); at >= 0)
        cboPart2->setCurrentIndex(at);
    else if (!f.part2.isEmpty()) {
        // A kind the service no longer lists stays the coupon's own until the member picks another.
        cboPart2->addItem(f.part2);
        cboPart2->setCurrentIndex(cboPart2->count() - 1);
    }
    txtComp1->setText(f.comp1);
    txtTitle1->setText(f.title1);
    txtTitle2->setText(f.title2);
    for (size_t k = 0; k < 5; ++k)
        txtNoText[k]->setText(f.prizes[k]);
    txtText1->setText(f.text1);
    txtText2->setText(f.text2);
    txtBigo1->setPlainText(f.bigo1);
}

void frmSave22::drawNoLeft()
{
    if (!m_loaded || m_mode != Mode::Register)
        return;
    const qint64 drawNo = CouponRegistration::DrawNoOrCurrent(txtBokNo->text());
    if (txtBokNo->text().trimmed() != QString::number(drawNo))
        txtBokNo->setText(QString::number(drawNo));
    lblDate1->setText(CouponRegistration::DrawDateLabel(drawNo));
}

void frmSave22::save()
{
    if (!m_loaded)
        return;
    RunGuarded(u"쿠폰을 저장하지 못하였습니다. 바뀐 것은 없습니다."_s, [this] {
        const CouponRegistration::Fields fields = CouponRegistration::Normalised(typed());
        // The member sees what will be kept, also when something is refused.
        CouponRegistration::Fields shown = fields;
        shown.bigo1 = txtBigo1->toPlainText();
        showFields(shown);
        if (const auto refusal = CouponRegistration::Validate(m_mode, fields)) {
            ShowMessage(refusal->message, MsgIcon::Critical);
            if (QLineEdit* target = box(refusal->focus); target && target->focusPolicy() != Qt::NoFocus)
                target->setFocus();
            return;
        }
        m_savedDraw = CouponRegistration::Save(m_mode, fields, m_games);
        accept();
    });
}

bool frmSave22::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtBokNo && event->type() == QEvent::FocusOut)
        drawNoLeft();
    if (watched == cboPart2 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return EnterToTab(cboPart2, 13);
    }
    return QDialog::eventFilter(watched, event);
}
