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

    // The function dispatcher of the toolbar and menus.
    void openFunction(const QString& function);
    void openForm(const QString& form);
    void BannerChange();
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

    QToolBar* tbrMenu1;
    QHash<QString, QAction*> m_buttons;
    QActionGroup* m_buttonGroup;
    QWidget* picPr;
    WebView* webPr;
    QWidget* picTop;
    QWidget* picHot1;
    QLabel* lblHot1List;
    QLabel* lblHot1;
    Grid* grdR1;
    QTimer* tmrHot1;
    QMdiArea* m_mdi;
    QWidget* picBottom;
    QStatusBar* stbStatus;
    QStackedWidget* m_panel1;
    QLabel* m_panel1Text;
    QProgressBar* prgCurJob;
    QLabel* m_panel2;
    QLabel* m_panel3;
    QLabel* txtHome;
    QMenu* mnu1;

    QString m_function;
    QString m_description;
    BannerRotation m_banner;
    TickerRotation m_ticker;
    bool m_closing = false;
    QHash<QString, QPointer<QWidget>> m_windows;
};
