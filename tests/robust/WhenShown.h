#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Acts on the modal dialog once it shows (the caller's exec() is running by then).
template <typename Dialog> void WhenShown(std::function<void(Dialog*)> act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<Dialog*>(w); d && d->isVisible()) {
                act(d);
                return;
            }
        }
        WhenShown<Dialog>(act);
    });
}
