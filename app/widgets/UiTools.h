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

// A list read again after a change that is already committed. Its failure says what is true: the work is
// done and kept, only the screen could not follow.
template <typename F> bool RefreshAfterWrite(F&& refresh) noexcept;
inline const QString kRefreshFailed = QStringLiteral(
    "작업은 끝났고 그 내용은 저장되어 있습니다. 다만 목록을 다시 읽지 못하였습니다. [새로고침]을 눌러 주십시오.");

// A print run: a failure the printing did not expect (the database, above all) is told as "(오류) " and
// what went wrong, without an icon, as printing always told it.
template <typename F> bool RunPrintGuarded(F&& action) noexcept;
void ReportPrintFailure(const QString& detail) noexcept;

// The one catch of the guards above: report(detail) for whatever the action threw.
template <typename F, typename R> bool RunCatching(F&& action, R&& report) noexcept;

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

template <typename F, typename R> bool RunCatching(F&& action, R&& report) noexcept
{
    try {
        action();
        return true;
    } catch (const SqlError& error) {
        report(error.message());
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report(QString());
    }
    return false;
}

template <typename F> bool RunGuarded(const QString& failureLead, F&& action) noexcept
{
    return RunCatching(std::forward<F>(action), [&](const QString& detail) { ReportFailure(failureLead, detail); });
}

template <typename F> bool RefreshAfterWrite(F&& refresh) noexcept
{
    return RunGuarded(kRefreshFailed, std::forward<F>(refresh));
}

template <typename F> bool RunPrintGuarded(F&& action) noexcept
{
    return RunCatching(std::forward<F>(action), [](const QString& detail) { ReportPrintFailure(detail); });
}
