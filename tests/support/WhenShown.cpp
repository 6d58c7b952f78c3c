#include "WhenShown.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void look(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> act, QDeadlineTimer deadline)
{
    QTimer::singleShot(0, [matches = std::move(matches), act = std::move(act), deadline]() mutable {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || !matches(w))
                continue;
            QPointer<QWidget> shown(w);
            const bool failedBefore = ::testing::Test::HasFailure();
            act(w);
            if (shown && shown->isVisible() && ::testing::Test::HasFailure() && !failedBefore)
                shown->close();
            return;
        }
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "the window the test waits for did not show";
            return;
        }
        look(std::move(matches), std::move(act), deadline);
    });
}

} // namespace

void WhenShownMatching(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> act)
{
    look(std::move(matches), std::move(act), QDeadlineTimer(10'000));
}
