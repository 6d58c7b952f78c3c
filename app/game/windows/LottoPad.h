#pragma once

#include "GameRules.h"

#include <QWidget>

class QLabel;

// The pad: a picture of a Lotto 6/45 entry card with 45 marks over its numbers. A mark blacks out its
// number; at most six are set. Marks lie where the card prints their numbers: number i + 1 in row ⌊i/7⌋
// and column i mod 7.
class LottoPad : public QWidget
{
    Q_OBJECT
public:
    explicit LottoPad(QWidget* parent = nullptr);

    bool isMarked(int number) const;
    int markedCount() const { return m_marked; }
    // Clicking: unmarks a mark, or marks a seventh-free number; a seventh is ignored.
    void toggle(int number);
    void clear();
    void mark(const Game& game);
    // The marked numbers in ascending order, "03.11.19.24.38.45" when six are set.
    QString text() const;
    QLabel* markLabel(int number) const { return m_labels[size_t(number - 1)]; }

    static QRect markRect(int index); // in pixels inside the pad

Q_SIGNALS:
    void numberClicked(int number);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMarked(int number, bool marked);

    std::array<QLabel*, 45> m_labels {};
    std::array<bool, 46> m_marks {};
    int m_marked = 0;
};
