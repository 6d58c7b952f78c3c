#include "FilterPanel.h"

#include "UiTools.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The past-draw choices of the pass count: the last 100, the last 500, or every draw (0).
constexpr std::array<int, 3> kPastRanges {100, 500, 0};

} // namespace

FilterPanel::FilterPanel(QWidget* parent)
    : QGroupBox(u"번호 필터"_s, parent)
{
    setObjectName(u"fraFilter1"_s);
    chkFilter1 = Named(new QCheckBox(u"필터 사용"_s), u"chkFilter1"_s);
    chkFilter1->setAccessibleName(u"필터 사용"_s);
    spnSumMin1 = spin(u"합계 최소"_s, u"spnSumMin1"_s, 21, 255);
    spnSumMax1 = spin(u"합계 최대"_s, u"spnSumMax1"_s, 21, 255);
    spnOddMin1 = spin(u"홀수 최소"_s, u"spnOddMin1"_s, 0, 6);
    spnOddMax1 = spin(u"홀수 최대"_s, u"spnOddMax1"_s, 0, 6);
    spnHighMin1 = spin(u"높은 수 최소"_s, u"spnHighMin1"_s, 0, 6);
    spnHighMax1 = spin(u"높은 수 최대"_s, u"spnHighMax1"_s, 0, 6);
    spnRun1 = spin(u"연속 최대"_s, u"spnRun1"_s, 1, 6);
    spnEnding1 = spin(u"같은 끝수 최대"_s, u"spnEnding1"_s, 1, 5);
    spnOverlap1 = spin(u"지난 회차와 겹침 최대"_s, u"spnOverlap1"_s, 0, 6);
    chkPast1 = Named(new QCheckBox(u"역대 1등 번호 제외"_s), u"chkPast1"_s);
    chkPast1->setAccessibleName(u"역대 1등 번호 제외"_s);

    // Each row: what is bounded, and its least and most; a bound of its own stands under the most, its
    // caption spanning the row, so that the long captions do not widen the column of the pad.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    int row = 0;
    const auto range = [&](const QString& caption, QSpinBox* min, QSpinBox* max) {
        auto* label = new QLabel(caption);
        label->setBuddy(min);
        if (max) {
            grid->addWidget(label, row, 0);
            grid->addWidget(min, row, 1);
            grid->addWidget(new QLabel(u"~"_s), row, 2, Qt::AlignCenter);
            grid->addWidget(max, row, 3);
        } else {
            grid->addWidget(label, row, 0, 1, 3);
            grid->addWidget(min, row, 3);
        }
        ++row;
    };
    range(u"합계"_s, spnSumMin1, spnSumMax1);
    range(u"홀수"_s, spnOddMin1, spnOddMax1);
    range(u"높은 수(23~45)"_s, spnHighMin1, spnHighMax1);
    range(u"연속 최대"_s, spnRun1, nullptr);
    range(u"같은 끝수 최대"_s, spnEnding1, nullptr);
    range(u"지난 회차와 겹침 최대"_s, spnOverlap1, nullptr);
    grid->addWidget(chkPast1, row, 0, 1, 4);
    grid->setColumnStretch(4, 1);
    m_bounds = new QWidget;
    m_bounds->setLayout(grid);

    lblPass1 = Named(new QLabel, u"lblPass1"_s);
    lblPastPass1 = Named(new QLabel, u"lblPastPass1"_s);
    for (QLabel* label : {lblPass1, lblPastPass1})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cboPastRange1 = Named(new QComboBox, u"cboPastRange1"_s);
    cboPastRange1->addItems({u"최근 100회"_s, u"최근 500회"_s, u"전체"_s});
    cboPastRange1->setAccessibleName(u"지난 회차 범위"_s);
    auto* past = new QHBoxLayout;
    past->addWidget(lblPastPass1, 1);
    past->addWidget(cboPastRange1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(3);
    layout->addWidget(chkFilter1);
    layout->addWidget(m_bounds);
    layout->addWidget(lblPass1);
    layout->addLayout(past);

    const auto changedNow = [this] { Q_EMIT changed(); };
    connect(chkFilter1, &QCheckBox::toggled, this, [this, changedNow] {
        enableBounds();
        changedNow();
    });
    connect(chkPast1, &QCheckBox::toggled, this, changedNow);
    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, &QSpinBox::valueChanged, this, changedNow);
    connect(cboPastRange1, &QComboBox::currentIndexChanged, this, changedNow);
    setKept({});
}

QSpinBox* FilterPanel::spin(const QString& caption, const QString& name, int min, int max)
{
    auto* box = Named(new QSpinBox, name);
    box->setRange(min, max);
    box->setAccessibleName(caption);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(48);
    return box;
}

void FilterPanel::enableBounds() { m_bounds->setEnabled(chkFilter1->isChecked()); }

GameFilter::Settings FilterPanel::settings() const
{
    GameFilter::Settings s;
    s.enabled = chkFilter1->isChecked();
    s.sumMin = spnSumMin1->value();
    s.sumMax = spnSumMax1->value();
    s.oddMin = spnOddMin1->value();
    s.oddMax = spnOddMax1->value();
    s.highMin = spnHighMin1->value();
    s.highMax = spnHighMax1->value();
    s.runMax = spnRun1->value();
    s.endingMax = spnEnding1->value();
    s.skipPastWinners = chkPast1->isChecked();
    s.overlapMax = spnOverlap1->value();
    return s;
}

GameFilterStore::Kept FilterPanel::kept() const
{
    return {settings(), kPastRanges[size_t(std::max(0, cboPastRange1->currentIndex()))]};
}

void FilterPanel::setKept(const GameFilterStore::Kept& kept)
{
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* control : findChildren<QWidget*>())
        quiet.push_back(std::make_unique<QSignalBlocker>(control));
    const GameFilter::Settings& s = kept.settings;
    chkFilter1->setChecked(s.enabled);
    spnSumMin1->setValue(s.sumMin);
    spnSumMax1->setValue(s.sumMax);
    spnOddMin1->setValue(s.oddMin);
    spnOddMax1->setValue(s.oddMax);
    spnHighMin1->setValue(s.highMin);
    spnHighMax1->setValue(s.highMax);
    spnRun1->setValue(s.runMax);
    spnEnding1->setValue(s.endingMax);
    chkPast1->setChecked(s.skipPastWinners);
    spnOverlap1->setValue(s.overlapMax);
    const auto* range = std::find(kPastRanges.begin(), kPastRanges.end(), kept.pastDraws);
    cboPastRange1->setCurrentIndex(range == kPastRanges.end() ? 0 : int(range - kPastRanges.begin()));
    enableBounds();
}

void FilterPanel::showCounts(qint64 passing, const GameFilter::PastPasses& past)
{
    lblPass1->setText(GameFilter::PassingText(passing));
    lblPastPass1->setText(GameFilter::PastText(past));
}
