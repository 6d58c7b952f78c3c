#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

// Every window the main window opens by a function name or from the "관리자" menu, in one table: the
// window's name (its gFormOpen flag), its description for the caption, and how to make it. Windows that
// live inside the main window's client area are MDI children; the others are windows of their own.
struct ChildWindow
{
    QString function; // "로또게임", or empty for administration windows
    QString form; // "frmRun1"
    QString description; // shown in the main window's caption
    bool mdi;
    std::function<QWidget*()> create; // empty while the window is not part of the program yet
};

const std::vector<ChildWindow>& ChildWindows();
const ChildWindow* FindChildWindow(const QString& functionOrForm);
