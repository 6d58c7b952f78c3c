#pragma once

#include <QWidget>

#include <functional>

class QLabel;

// The "< 이전 [2/5] 다음 >" line under a paged list: two labels that turn the page when clicked (released
// on), and the page shown between them. The window keeps its page and calls turn() from its own
// NextPage/PreviousPage: the label clicked shows pressed while the window reads the new page.
class PageTurner : public QWidget
{
    Q_OBJECT
public:
    explicit PageTurner(QWidget* parent = nullptr);

    // "[page/pages]"; the line is shown only when there is more than one page.
    void setPages(int page, int pages);
    void hidePages();

    // Runs the window's reading of the page with the label of that direction (+1 next, −1 previous)
    // shown pressed.
    void turn(int step, const std::function<void()>& read);

Q_SIGNALS:
    void nextRequested();
    void previousRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* lblPrev;
    QLabel* lblMax1;
    QLabel* lblNext;
};
