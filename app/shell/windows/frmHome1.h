#pragma once

#include <QWidget>

class WebView;

// The service's web site inside the main window.
class frmHome1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmHome1(QWidget* parent = nullptr);

private:
    WebView* webView1;
};
