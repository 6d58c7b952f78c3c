#include "frmChart1.h"

#include "UiTools.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QColor kHot(0xd0, 0x38, 0x38);
const QColor kCold(0x2f, 0x6f, 0xd0);
const QColor kPlain(0x9a, 0xa4, 0xb4);

struct RangeChoice
{
    const char16_t* caption;
    int last; // 0: every draw
};
constexpr RangeChoice kRanges[] = {{u"최근 10회", 10}, {u"최근 50회", 50}, {u"최근 100회", 100}, {u"전체", 0}};

QChartView* chartView(QStringView name, const QString& caption)
{
    auto* view = Named(new QChartView, name);
    view->setAccessibleName(caption);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(640, 320);
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    view->chart()->setMargins(QMargins(4, 4, 4, 4));
    return view;
}

QBarSet* barSet(const QString& name, const QColor& color)
{
    auto* set = new QBarSet(name);
    set->setColor(color);
    set->setBorderColor(color.darker(120));
    return set;
}

// Puts the series on a fresh chart with its categories below and a count axis that ends on a whole step.
void showSeries(QChartView* view, QAbstractBarSeries* series, const QStringList& categories, qint64 top)
{
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    QFont small = x->labelsFont();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 2.0));
    x->setLabelsFont(small);
    auto* y = new QValueAxis;
    y->setLabelFormat(u"%d"_s);
    y->setRange(0, double(std::max<qint64>(top, 1)));
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

// The count over each bar, where a short bar still has room for it.
void showCounts(QBarSeries* series, QBarSet* set)
{
    set->setLabelColor(QColor(0x30, 0x30, 0x30));
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsVisible(true);
}

QString numberList(const std::vector<int>& numbers)
{
    QStringList parts;
    for (int n : numbers)
        parts.append(QString::number(n));
    return parts.isEmpty() ? u"없음"_s : parts.join(u", "_s);
}

} // namespace

frmChart1::frmChart1(QWidget* parent)
    : QDialog(parent)
    , cboRange1(Named(new QComboBox, u"cboRange1"))
    , chkBonus1(Named(new QCheckBox(u"보너스 번호 포함"_s), u"chkBonus1"))
    , lblRange1(Named(new QLabel, u"lblRange1"))
    , tabChart1(Named(new QTabWidget, u"tabChart1"))
    , chtNumbers1(chartView(u"chtNumbers1", u"번호별 출현횟수"_s))
    , chtSums1(chartView(u"chtSums1", u"당첨번호 합계"_s))
    , chtOddEven1(chartView(u"chtOddEven1", u"홀짝 비율"_s))
    , lblHot1(Named(new QLabel, u"lblHot1"))
    , lblCold1(Named(new QLabel, u"lblCold1"))
{
    setObjectName(u"frmChart1"_s);
    setWindowTitle(u"당첨번호 통계 차트"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    cboRange1->setAccessibleName(u"범위"_s);
    chkBonus1->setAccessibleName(chkBonus1->text());
    for (const RangeChoice& r : kRanges)
        cboRange1->addItem(QString::fromUtf16(r.caption), r.last);
    cboRange1->setCurrentIndex(int(std::size(kRanges)) - 1);
    lblRange1->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    lblHot1->setStyleSheet(u"color: #b02828; font-weight: bold;"_s);
    lblCold1->setStyleSheet(u"color: #2458a8; font-weight: bold;"_s);

    auto* numbers = new QWidget;
    auto* numbersLayout = new QVBoxLayout(numbers);
    numbersLayout->addWidget(chtNumbers1, 1);
    numbersLayout->addWidget(lblHot1);
    numbersLayout->addWidget(lblCold1);
    tabChart1->addTab(numbers, u"번호별 출현횟수"_s);
    tabChart1->addTab(chtSums1, u"당첨번호 합계"_s);
    tabChart1->addTab(chtOddEven1, u"홀짝 비율"_s);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(u"범위:"_s));
    controls->addWidget(cboRange1);
    controls->addWidget(chkBonus1);
    controls->addStretch(1);
    controls->addWidget(lblRange1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(tabChart1, 1);
    resize(860, 520);

    m_draws = DrawStats::ReadDraws();
    ShowCharts();
    connect(cboRange1, &QComboBox::currentIndexChanged, this, &frmChart1::ShowCharts);
    connect(chkBonus1, &QCheckBox::toggled, this, &frmChart1::ShowCharts);
}

int frmChart1::chosenLast() const { return cboRange1->currentData().toInt(); }

void frmChart1::ShowCharts()
{
    m_summary = DrawStats::Summarise(m_draws, chosenLast(), chkBonus1->isChecked());
    if (m_summary.draws == 0) {
        lblRange1->setText(u"추첨된 회차가 없습니다."_s);
    } else {
        lblRange1->setText(QString::number(m_summary.firstDraw) + u"회 ~ "_s + QString::number(m_summary.lastDraw)
                           + u"회 ("_s + QString::number(m_summary.draws) + u"회)"_s);
    }
    lblHot1->setText(u"핫 번호(많이 나온 번호): "_s + numberList(m_summary.numbers(DrawStats::Mark::Hot)));
    lblCold1->setText(u"콜드 번호(적게 나온 번호): "_s + numberList(m_summary.numbers(DrawStats::Mark::Cold)));
    showNumbers();
    showSums();
    showOddEven();
}

void frmChart1::showNumbers()
{
    // One stacked bar per number, in the set of its mark: each bar takes its mark's colour and the legend
    // names the colours.
    QBarSet* hot = barSet(u"핫 번호"_s, kHot);
    QBarSet* plain = barSet(u"보통"_s, kPlain);
    QBarSet* cold = barSet(u"콜드 번호"_s, kCold);
    QStringList categories;
    qint64 top = 0;
    for (int n = 1; n <= 45; ++n) {
        const qint64 c = m_summary.counts[size_t(n)];
        const DrawStats::Mark mark = m_summary.marks[size_t(n)];
        hot->append(mark == DrawStats::Mark::Hot ? double(c) : 0.0);
        plain->append(mark == DrawStats::Mark::None ? double(c) : 0.0);
        cold->append(mark == DrawStats::Mark::Cold ? double(c) : 0.0);
        categories.append(QString::number(n));
        top = std::max(top, c);
    }
    auto* series = new QStackedBarSeries;
    series->append({hot, plain, cold});
    series->setBarWidth(0.8);
    chtNumbers1->chart()->setTitle(chkBonus1->isChecked() ? u"번호별 출현횟수 (보너스 포함)"_s : u"번호별 출현횟수"_s);
    showSeries(chtNumbers1, series, categories, top);
}

void frmChart1::showSums()
{
    QBarSet* set = barSet(u"회차 수"_s, QColor(0x3c, 0x8d, 0x5a));
    QStringList categories;
    qint64 top = 0;
    for (int i = 0; i < DrawStats::kSumBins; ++i) {
        set->append(double(m_summary.sums[size_t(i)]));
        categories.append(DrawStats::SumLabel(i));
        top = std::max(top, m_summary.sums[size_t(i)]);
    }
    auto* series = new QBarSeries;
    series->append(set);
    showCounts(series, set);
    chtSums1->chart()->setTitle(u"당첨번호 여섯 수의 합계"_s);
    showSeries(chtSums1, series, categories, top);
}

void frmChart1::showOddEven()
{
    QBarSet* set = barSet(u"회차 수"_s, QColor(0x8a, 0x5c, 0xc4));
    QStringList categories;
    qint64 top = 0;
    for (int odd = 0; odd <= 6; ++odd) {
        set->append(double(m_summary.odd[size_t(odd)]));
        categories.append(u"홀"_s + QString::number(odd) + u" : 짝"_s + QString::number(6 - odd));
        top = std::max(top, m_summary.odd[size_t(odd)]);
    }
    auto* series = new QBarSeries;
    series->append(set);
    showCounts(series, set);
    chtOddEven1->chart()->setTitle(u"당첨번호의 홀짝 비율"_s);
    showSeries(chtOddEven1, series, categories, top);
}
