#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class frmMain;
#include <vector>

// Every function of the program in one table: where it is offered (toolbar, menus), its caption, the
// window it opens (its gFormOpen name), the description shown in the main window's caption, and how the
// window is made. The menus, the toolbar, the dispatcher and the tests all read this table, so a new
// window is one row here and one factory.
struct FunctionEntry
{
    enum Place : unsigned {
        None = 0, // opened from elsewhere (the ticker's list)
        Toolbar = 1,
        FunctionsMenu = 2, // "기능(&F)"
        AdminMenu = 4, // "관리자", shown to the administrator only
        HelpMenu = 8, // "도움말(&H)"
    };

    QString function; // "로또게임"; empty for windows without a function name
    QString caption; // on the button or menu item
    unsigned places;
    QString menuItem; // the menu item's object name ("mnuOpen로또게임", "mnu11"); a button is "tbr" + function
    QString form; // "frmRun1"; empty when the item opens nothing
    QString description; // shown in the main window's caption
    bool mdi = true; // inside the main window's client area, or a window of its own
    // Makes the window and connects what it asks of the main window; empty while the window is not part
    // of the program yet.
    std::function<QWidget*(frmMain& shell)> create;
};

const std::vector<FunctionEntry>& FunctionTable();
// By function name or window name.
const FunctionEntry* FindFunction(const QString& functionOrForm);
