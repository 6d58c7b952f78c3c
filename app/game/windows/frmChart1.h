#pragma once

#include "DrawStats.h"

#include <QDialog>

class QCheckBox;
class QChartView;
class QComboBox;
class QLabel;
class QTabWidget;

// The winning numbers of past draws as charts: how often each number was drawn over a chosen range, the
// hot and cold ones marked, and how the sums and the odd/even splits of the results fell. The draws are
// read once when the window opens; the range and the bonus only count them again.
class frmChart1 : public QDialog
{
    Q_OBJECT
public:
    explicit frmChart1(QWidget* parent = nullptr);

    void ShowCharts();
    const DrawStats::Summary& summary() const { return m_summary; }

private:
    int chosenLast() const;
    void showNumbers();
    void showSums();
    void showOddEven();

    QComboBox* cboRange1;
    QCheckBox* chkBonus1;
    QLabel* lblRange1;
    QTabWidget* tabChart1;
    QChartView* chtNumbers1;
    QChartView* chtSums1;
    QChartView* chtOddEven1;
    QLabel* lblHot1;
    QLabel* lblCold1;

    std::vector<DrawStats::Draw> m_draws;
    DrawStats::Summary m_summary;
};
