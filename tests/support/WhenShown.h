#pragma once

#include <QApplication>
#include <QWidget>

#include <functional>

// Acts on a modal window once it shows; the caller's exec() is running by then. A window that has not
// shown within ten seconds fails the test. A window that `act` leaves open after a failed assertion is
// closed, so that exec() returns and the test fails instead of hanging until ctest gives up on it.
void WhenShownMatching(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> act);

template <typename Dialog> void WhenShown(std::function<void(Dialog*)> act)
{
    WhenShownMatching([](QWidget* w) { return qobject_cast<Dialog*>(w) != nullptr; },
                      [act](QWidget* w) { act(qobject_cast<Dialog*>(w)); });
}
