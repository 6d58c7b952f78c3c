#pragma once

#include <QString>
#include <QStringView>

class QLineEdit;
class QWidget;

// What a long loop shows: the main window implements this with its progress bar and status text.
class BusyIndicator
{
public:
    virtual ~BusyIndicator() = default;
    virtual void showBusy(bool busy, const QString& caption) = 0;
    virtual void setProgress(int percent) = 0;
};

// The main window registers itself; nullptr when it goes.
void SetBusyIndicator(BusyIndicator* indicator);

// Busy: the hourglass pointer, the progress bar reset to 0 and shown with the text as its caption.
// Not busy: the normal pointer, the bar hidden.
void SetBusy(const QString& text, bool busy);
// The progress bar of the current loop, 0 to 100.
void SetProgress(int percent);

void SelectAllText(QLineEdit* box);
// Enter (13) moves the focus to the next control, Esc (27) to the previous one. Returns whether the key
// moved the focus.
bool EnterToTab(QWidget* from, int key);

// The usual manners of a text box on a form: its text selected when it gets the focus, Enter and Esc
// moving between fields.
void InstallFieldManners(QLineEdit* box);

// A control with the name the windows and the tests know it by.
template <typename T> T* Named(T* widget, QStringView name)
{
    widget->setObjectName(name.toString());
    return widget;
}
