#pragma once

#include <QString>
#include <QWidget>

// A web page inside a window: Qt WebEngine where the build has it, a plain rich-text view otherwise.
class WebView : public QWidget
{
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);

    // A page that cannot be loaded emits loadFailed, in either kind of view.
    void navigate(const QString& address);
    // An empty page.
    void clear();
    QString address() const { return m_address; }
    // True when pages are shown as plain rich text: no web engine in the build, SURIBALL_WEBVIEW=plain, or
    // a program running as root, where the engine's sandbox refuses to start (see plainOnly's comment).
    static bool plainOnly();
    // Why pages would be plain text: "setting" (SURIBALL_WEBVIEW=plain), "root", or empty for the engine.
    static QString PlainViewReason(const QString& setting, bool root, bool sandboxDisabled);

Q_SIGNALS:
    void loadFailed(int errorCode, const QString& description);

private:
    QString m_address;
    QWidget* m_engine = nullptr;
    class QTextBrowser* m_plain = nullptr;
};
