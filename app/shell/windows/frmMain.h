#pragma once

#include "ShellRotation.h"
#include "UiTools.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class Grid;
class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QStatusBar;
class QTimer;
class QToolBar;
class WebView;

// The main window: the toolbar of functions, the ticker, the banner, the status strip with the progress
// bar, the home link and, for the administrator, the "관리자" menu. Each function's window is opened
// once and brought to the front when asked for again.
class frmMain : public QMainWindow, public BusyIndicator
{
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // The opening after the start routine: shown maximised, the lotto game opened, the daily notice.
    void start();
    // A main window made and started, which deletes itself when closed.
    static frmMain* Open();

    // The function dispatcher of the toolbar and menus.
    void openFunction(const QString& function);
    void openForm(const QString& form);
    void BannerChange();
    // Every child in the client area takes its whole size again.
    void FormResize();
    // The open window of that name, or null.
    QWidget* openWindow(const QString& form) const;
    QString currentFunction() const { return m_function; }

    static frmMain* instance();

    void showBusy(bool busy, const QString& caption) override;
    void setProgress(int percent) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildTicker();
    void buildMenus();
    void buildStatus();
    void loadTicker();
    void tickerStep();
    void pressFunction(const QString& function);
    void closing();

    QToolBar* tbrMenu1 = nullptr;
    QHash<QString, QAction*> m_buttons;
    QActionGroup* m_buttonGroup = nullptr;
    QWidget* picPr = nullptr;
    WebView* webPr = nullptr;
    QWidget* picTop = nullptr;
    QWidget* picHot1 = nullptr;
    QLabel* lblHot1List = nullptr;
    QLabel* lblHot1 = nullptr;
    Grid* grdR1 = nullptr;
    QTimer* tmrHot1 = nullptr;
    QMdiArea* m_mdi = nullptr;
    QWidget* picBottom = nullptr;
    QStatusBar* stbStatus = nullptr;
    QStackedWidget* m_panel1 = nullptr;
    QLabel* m_panel1Text = nullptr;
    QProgressBar* prgCurJob = nullptr;
    QLabel* m_panel2 = nullptr;
    QLabel* m_panel3 = nullptr;
    QLabel* txtHome = nullptr;
    QMenu* mnu1 = nullptr;

    QString m_function;
    QString m_description;
    BannerRotation m_banner;
    TickerRotation m_ticker;
    bool m_closing = false;
    bool m_pressing = false; // the dispatcher is setting the buttons itself
    QString m_untriggered; // a button toggled without its action firing (the accessibility interface)
    bool m_bannerFailed = false;
    QHash<QString, QPointer<QWidget>> m_windows;
};
