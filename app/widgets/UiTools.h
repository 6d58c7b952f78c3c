#pragma once

#include "Busy.h"
#include "SqlError.h"

#include <QString>
#include <QStringView>

class QLineEdit;
class QWidget;

// The desktop's busy indicator: the hourglass pointer, and the progress bar of whichever window carries
// one (the main window registers itself as the bar). Installed once for the whole program.
class DesktopBusy final : public BusyIndicator
{
public:
    static DesktopBusy& instance();
    // Makes this the indicator that BusyGuard drives.
    static void install();
    // Not owned; nullptr when the window goes.
    void setBar(BusyIndicator* bar) { m_bar = bar; }

    void showBusy(bool busy, const QString& caption) override;
    void setProgress(int percent) override;

private:
    BusyIndicator* m_bar = nullptr;
    bool m_cursor = false;
};

// Runs one user action of a window. A database or other failure is reported with the lead text and the
// error, and the window stays as it was: nothing may escape into Qt's event loop, which cannot unwind it.
// Returns whether the action ran to its end.
template <typename F> bool RunGuarded(const QString& failureLead, F&& action) noexcept;
// How RunGuarded reports: the lead, a blank line and what went wrong, with the critical icon.
void ReportFailure(const QString& failureLead, const QString& detail) noexcept;

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

template <typename F> bool RunGuarded(const QString& failureLead, F&& action) noexcept
{
    try {
        action();
        return true;
    } catch (const SqlError& error) {
        ReportFailure(failureLead, error.message());
    } catch (const std::exception& error) {
        ReportFailure(failureLead, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportFailure(failureLead, QString());
    }
    return false;
}
