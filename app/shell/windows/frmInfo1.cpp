#include "frmInfo1.h"

#include "DisplaySettings.h"
#include "MessageService.h"
#include "Settings.h"
#include "UiTools.h"
#include "WinNotice.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmInfo1::frmInfo1(QWidget* parent)
    : QWidget(parent)
    , fraR1(Named(new QGroupBox, u"fraR1"))
    , fraR2(Named(new QGroupBox, u"fraR2"))
    , cmdSave1(Named(new QPushButton(u"저장"_s), u"cmdSave1"))
    , cmdRefresh(Named(new QPushButton(u"새로고침"_s), u"cmdRefresh"))
    , chkWin1(Named(new QCheckBox(u"시작할 때 당첨 알림 보기"_s), u"chkWin1"))
{
    setWindowTitle(u"설정"_s);

    auto* groups = new QHBoxLayout(fraR2);
    QFormLayout* form = nullptr;
    QString group;
    for (const DisplaySetting& setting : DisplaySettings::all()) {
        if (setting.group != group) {
            group = setting.group;
            auto* box = new QGroupBox(group);
            form = new QFormLayout(box);
            groups->addWidget(box, 0, Qt::AlignTop);
        }
        auto* combo = new QComboBox;
        combo->setObjectName(setting.combo);
        combo->setEditable(true); // a value may also be typed
        combo->addItems(setting.choices);
        combo->setCurrentText(QString::number(*setting.value));
        combo->setMinimumWidth(90);
        combo->view()->setMinimumHeight(0);
        combo->setMaxVisibleItems(270 / (combo->fontMetrics().height() + 6));
        form->addRow(setting.label, combo);
        m_boxes.append(combo);
    }
    auto* notice = new QGroupBox(u"당첨 알림"_s);
    auto* noticeLayout = new QVBoxLayout(notice);
    chkWin1->setAccessibleName(chkWin1->text());
    RunGuarded(u"설정값을 읽지 못하였습니다."_s, [this] { m_winShown = WinNotice::Enabled(); });
    chkWin1->setChecked(m_winShown);
    noticeLayout->addWidget(chkWin1);
    groups->addWidget(notice, 0, Qt::AlignTop);
    groups->addStretch(1);

    auto* buttons = new QHBoxLayout(fraR1);
    buttons->addWidget(new QLabel(u"각 창의 크기와 발행 수량을 정합니다. 새 값은 창을 다시 열 때 적용됩니다."_s), 1);
    buttons->addWidget(cmdSave1);
    buttons->addWidget(cmdRefresh);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraR1);
    layout->addWidget(fraR2, 1);
    connect(cmdSave1, &QPushButton::clicked, this, &frmInfo1::save);
}

void frmInfo1::save()
{
    const auto& settings = DisplaySettings::all();
    std::vector<int> values;
    // Every box is checked before anything is written: one bad value changes nothing.
    for (size_t i = 0; i < settings.size(); ++i) {
        const std::optional<int> value = DisplaySettings::Parse(settings[i], m_boxes[qsizetype(i)]->currentText());
        if (!value) {
            ShowMessage(DisplaySettings::RangeMessage(settings[i]), MsgIcon::Critical);
            m_boxes[qsizetype(i)]->setCurrentText(QString::number(*settings[i].value));
            m_boxes[qsizetype(i)]->setFocus();
            return;
        }
        values.push_back(*value);
    }
    if (!RunGuarded(u"설정값을 저장하지 못하였습니다. 바뀐 것은 없습니다."_s, [&] { DisplaySettings::Save(values); }))
        return;
    // Written only when changed: an install without the row keeps it on without a warning at every save.
    const bool shown = chkWin1->isChecked();
    if (shown != m_winShown
        && RunGuarded(u"당첨 알림 설정을 저장하지 못하였습니다."_s, [&] { WinNotice::SaveEnabled(shown); }))
        m_winShown = WinNotice::Enabled();
    chkWin1->setChecked(m_winShown);
}
