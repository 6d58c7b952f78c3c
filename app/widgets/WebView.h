#pragma once

#include <QString>
#include <QWidget>

// A web page inside a window: Qt WebEngine where the build has it, a plain rich-text view otherwise.
class WebView : public QWidget
{
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);

    void navigate(const QString& address);
    QString address() const { return m_address; }
    // True when pages are shown as plain rich text (no web engine in the build, or SURIBALL_WEBVIEW=plain).
    static bool plainOnly();

Q_SIGNALS:
    void loadFailed(int errorCode, const QString& description);

private:
    QString m_address;
    QWidget* m_engine = nullptr;
    class QTextBrowser* m_plain = nullptr;
};
