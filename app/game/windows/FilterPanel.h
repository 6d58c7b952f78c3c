#pragma once

#include "GameFilter.h"
#include "GameFilterStore.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

// The game window's number filters: the check box that turns them on, a box for each bound, and what they
// cost (the games that pass, and the past winners that would have passed).
class FilterPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit FilterPanel(QWidget* parent = nullptr);

    GameFilter::Settings settings() const;
    // What the member's file keeps: the settings and the draws the pass count looks back on.
    GameFilterStore::Kept kept() const;
    void setKept(const GameFilterStore::Kept& kept); // without changed()
    void showCounts(qint64 passing, const GameFilter::PastPasses& past);

Q_SIGNALS:
    void changed();

private:
    QSpinBox* spin(const QString& caption, const QString& name, int min, int max);
    void enableBounds();

    QCheckBox* chkFilter1;
    QSpinBox* spnSumMin1;
    QSpinBox* spnSumMax1;
    QSpinBox* spnOddMin1;
    QSpinBox* spnOddMax1;
    QSpinBox* spnHighMin1;
    QSpinBox* spnHighMax1;
    QSpinBox* spnRun1;
    QSpinBox* spnEnding1;
    QCheckBox* chkPast1;
    QSpinBox* spnOverlap1;
    QLabel* lblPass1;
    QLabel* lblPastPass1;
    QComboBox* cboPastRange1;
    QWidget* m_bounds;
};
