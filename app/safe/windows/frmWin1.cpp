#include "frmWin1.h"

#include "UiTools.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* heading(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setStyleSheet(u"font-weight: bold; color: #1d3c8f; padding: 4px 0;"_s);
    return label;
}

} // namespace

frmWin1::frmWin1(const WinNotice::Content& content, const QDate& today, QWidget* parent)
    : QWidget(parent)
    , cmdClose1(Named(new QPushButton(u"닫기"_s), u"cmdClose1"))
{
    setWindowTitle(u"당첨 알림"_s);
    cmdClose1->setAccessibleName(u"닫기"_s);
    auto* layout = new QVBoxLayout(this);
    const auto addDraws = [&](const std::vector<ClaimStore::DrawWins>& draws, const QString& title) {
        if (draws.empty())
            return;
        layout->addWidget(heading(title));
        auto* rows = new QGridLayout;
        int r = 0;
        for (const ClaimStore::DrawWins& wins : draws) {
            auto* line
                = Named(new QLabel(WinNotice::WinLine(wins)), QString(u"lblWin1_"_s + QString::number(wins.drawNo)));
            line->setAccessibleName(line->text());
            auto* deadline = new QLabel(WinNotice::DeadlineText(wins, today));
            deadline->setStyleSheet(wins.deadline.isValid()
                                            && wins.deadline.daysLeft(today) <= WinNotice::kDeadlineWarningDays
                                        ? u"color: #b03030;"_s
                                        : u"color: #555555;"_s);
            auto* open
                = Named(new QPushButton(u"금고에서 보기"_s), QString(u"cmdBank1_"_s + QString::number(wins.drawNo)));
            open->setAccessibleName(u"제"_s + QString::number(wins.drawNo) + u"회 금고에서 보기"_s);
            const qint64 drawNo = wins.drawNo;
            connect(open, &QPushButton::clicked, this, [this, drawNo] { Q_EMIT openSafeRequested(drawNo); });
            rows->addWidget(line, r, 0);
            rows->addWidget(open, r, 1, 2, 1, Qt::AlignVCenter);
            rows->addWidget(deadline, r + 1, 0);
            r += 2;
        }
        rows->setColumnStretch(0, 1);
        layout->addLayout(rows);
    };
    addDraws(content.fresh, u"이번 추첨결과로 복권금고의 게임이 당첨되었습니다."_s);
    addDraws(content.expiring,
             u"지급기한이 "_s + QString::number(WinNotice::kDeadlineWarningDays)
                 + u"일 안에 끝나는 당첨금이 있습니다. 수령하셨으면 복권금고에서 [수령 표시]를 눌러 주십시오."_s);
    auto* hint = new QLabel(u"이 알림은 [설정]에서 끌 수 있습니다."_s);
    hint->setStyleSheet(u"color: #777777;"_s);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(cmdClose1);
    layout->addSpacing(6);
    layout->addLayout(bottom);
    connect(cmdClose1, &QPushButton::clicked, this, &QWidget::close);
    setMinimumWidth(560);
}
