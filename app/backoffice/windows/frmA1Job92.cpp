#include "frmA1Job92.h"

#include "AdminForm.h"
#include "Backoffice.h"
#include "UiTools.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Faces of the service's buttons: colours, weight and size of each sample.
const char16_t* const kStyles[] = {
    u"background: #1d3c8f; color: white; font-weight: bold; font-size: 11pt; border-radius: 4px;",
    u"background: #ffd75a; color: #1d3c8f; font-weight: bold; font-size: 11pt; border: 1px solid #c9a227;",
    u"background: white; color: #1d3c8f; font-size: 11pt; border: 2px solid #1d3c8f; border-radius: 10px;",
    u"background: #d7263d; color: white; font-weight: bold; font-size: 12pt;",
    u"background: #2e7d32; color: white; font-size: 11pt; border-radius: 14px;",
    u"background: #f2f2f2; color: #333333; font-size: 10pt; border: 1px solid #999999;",
    u"background: #333333; color: #ffd75a; font-weight: bold; font-size: 13pt;",
    u"background: #e8eefb; color: #1d3c8f; font-style: italic; font-size: 11pt; border: 1px dashed #8aa0d0;",
    u"background: #6a1b9a; color: white; font-weight: bold; font-size: 14pt; border-radius: 6px;",
};

} // namespace

frmA1Job92::frmA1Job92(QWidget* parent)
    : QWidget(parent)
{
    Backoffice::RequireAdministrator();
    setWindowTitle(u"92: 버튼모음"_s);
    txtText1 = Named(new QLineEdit(u"회원가입"_s), u"txtText1");
    InstallFieldManners(txtText1);
    auto* text = new QHBoxLayout;
    text->addWidget(AdminForm::Caption(u"글 내용:"_s, txtText1));
    text->addWidget(txtText1, 1);

    auto* board = new QGridLayout;
    board->setSpacing(14);
    for (int i = 0; i < 9; ++i) {
        auto* label = Named(new QLabel(u"회원가입"_s), QString(u"lblT"_s + QString::number(i + 1)));
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumSize(160, 48);
        label->setStyleSheet(QString::fromUtf16(kStyles[i]) + u" padding: 6px 12px;"_s);
        label->setAccessibleName(u"보기 "_s + QString::number(i + 1));
        lblT[size_t(i)] = label;
        board->addWidget(label, i / 3, i % 3);
    }
    connect(txtText1, &QLineEdit::textChanged, this, [this](const QString& value) {
        for (QLabel* label : lblT)
            label->setText(value);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(text);
    layout->addSpacing(12);
    layout->addLayout(board);
    layout->addStretch(1);
}
