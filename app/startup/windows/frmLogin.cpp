#include "frmLogin.h"

#include "Artwork.h"
#include "Clock.h"
#include "Launcher.h"
#include "LoginService.h"
#include "MessageService.h"
#include "ProgramEnd.h"
#include "Settings.h"
#include "SqlError.h"
#include "Tools.h"
#include "UiTools.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QLabel* linkLabel(const QString& text, const char16_t* name)
{
    auto* label = Named(new QLabel(text), name);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(u"color: #1d3c8f;"_s);
    return label;
}
} // namespace

frmLogin::frmLogin(QWidget* parent)
    : QDialog(parent)
    , picPad(Named(new QLabel, u"picPad"))
    , lblDate1(Named(new QLabel, u"lblDate1"))
    , Label1(Named(new QLabel(u"아이디:"_s), u"Label1"))
    , txtID1(Named(new QLineEdit, u"txtID1"))
    , Label2(Named(new QLabel(u"암  호:"_s), u"Label2"))
    , txtPwd(Named(new QLineEdit, u"txtPwd"))
    , chkSave1(Named(new QCheckBox(u"아이디 저장"_s), u"chkSave1"))
    , cmdStart1(Named(new QPushButton(u"로그인"_s), u"cmdStart1"))
    , cmdExit(Named(new QPushButton(u"마침"_s), u"cmdExit"))
    , cmdUserAdd(linkLabel(u"[회원가입]"_s, u"cmdUserAdd"))
    , cmdPwdSeek(linkLabel(u"[아이디/암호 찾기]"_s, u"cmdPwdSeek"))
    , Label3(Named(new QLabel(u"'손님'아이디로  둘러보기가 가능합니다. (기능 제한됨)"_s), u"Label3"))
    , Label4(Named(new QLabel(u"(!) 수리볼은 반드시 인터넷에 연결되어야 동작합니다."_s), u"Label4"))
{
    setObjectName(u"frmLogin"_s);
    setWindowTitle(u"로그인"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const int width = 5460 / 15;
    picPad->setPixmap(Artwork::loginBanner(QSize(width, 96)));
    picPad->setFixedSize(width, 96);
    const QDate today = Clock::today();
    lblDate1->setText(today.toString(u"yyyy년MM월dd일"_s) + u'(' + KoreanWeekday(today) + u')');
    lblDate1->setAlignment(Qt::AlignRight);
    txtID1->setMaxLength(20);
    txtPwd->setMaxLength(20);
    txtPwd->setEchoMode(QLineEdit::Password);
    cmdStart1->setDefault(false);
    cmdStart1->setAutoDefault(false);
    cmdExit->setAutoDefault(false);
    cmdStart1->setMinimumHeight(52);
    Label3->setStyleSheet(u"color: #555;"_s);
    Label4->setStyleSheet(u"color: #b03030;"_s);

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(txtID1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(txtPwd, 1, 1);
    fields->addWidget(cmdStart1, 0, 2, 2, 1);
    fields->addWidget(chkSave1, 2, 1);
    fields->addWidget(cmdExit, 2, 2);
    fields->setColumnStretch(1, 1);

    auto* links = new QHBoxLayout;
    links->addWidget(cmdUserAdd);
    links->addWidget(cmdPwdSeek);
    links->addStretch();

    auto* body = new QVBoxLayout;
    body->setContentsMargins(14, 6, 14, 10);
    body->addWidget(lblDate1);
    body->addLayout(fields);
    body->addLayout(links);
    body->addWidget(Label3);
    body->addWidget(Label4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(picPad);
    layout->addLayout(body);
    setFixedWidth(width);

    const QString lastId = ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s);
    if (lastId != u"NO"_s) {
        chkSave1->setChecked(true);
        txtID1->setText(lastId);
    }

    InstallFieldManners(txtID1);
    InstallFieldManners(txtPwd);
    txtPwd->installEventFilter(this); // installed last, so it sees Enter and Esc first
    connect(cmdStart1, &QPushButton::clicked, this, &frmLogin::runLogin);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    cmdUserAdd->installEventFilter(this);
    cmdPwdSeek->installEventFilter(this);
    (txtID1->text().isEmpty() ? txtID1 : txtPwd)->setFocus();
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == cmdUserAdd || watched == cmdPwdSeek) && event->type() == QEvent::MouseButtonRelease) {
        openRegister();
        return true;
    }
    if (watched == txtPwd) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (cmdStart1->isEnabled())
                    runLogin();
                if (isVisible())
                    EnterToTab(txtPwd, 13);
                return true;
            }
            if (key == Qt::Key_Escape) {
                EnterToTab(txtPwd, 27);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLogin::keyPressEvent(QKeyEvent* event)
{
    // Esc belongs to the two fields (back to the previous one). Anywhere else it would close the form,
    // and with it the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Enter on a focused button does what a click does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
            event->accept();
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void frmLogin::runLogin()
{
    txtID1->setText(LoginService::CleanId(txtID1->text()));
    txtPwd->setText(txtPwd->text().trimmed());
    cmdStart1->setEnabled(false);
    LoginService::Result result;
    try {
        result = LoginService().login(txtID1->text(), txtPwd->text(), chkSave1->isChecked());
    } catch (const SqlError& error) {
        // A statement the server refused: say so and let the member try again.
        ShowMessage(u"로그인 중 오류가 발생하였습니다.\n\n"_s + error.message(), MsgIcon::Critical);
    }
    cmdStart1->setEnabled(true);
    if (result.outcome == LoginService::Outcome::LoggedIn) {
        accept();
        return;
    }
    if (result.focus == LoginService::Focus::Id)
        txtID1->setFocus();
    else if (result.focus == LoginService::Focus::Password)
        txtPwd->setFocus();
}

void frmLogin::openRegister()
{
    Launcher::instance().openUrl(LoginService::RegisterAddress());
    EndProgram();
}
