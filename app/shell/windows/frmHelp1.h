#pragma once

#include <QWidget>

class WebView;

// The help pages of the web site in a window of its own, which keeps its place and size between starts.
class frmHelp1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmHelp1(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    WebView* webHelp1;
};
