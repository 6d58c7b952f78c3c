#include "Launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

class SystemLauncher final : public Launcher
{
public:
    bool openUrl(const QString& address) override
    {
        QUrl url = QUrl::fromUserInput(address);
        if (!url.isValid())
            return false;
#ifdef Q_OS_WIN
        return QProcess::startDetached(u"rundll32"_s, {u"url.dll,FileProtocolHandler"_s, url.toString()});
#elif defined(Q_OS_MACOS)
        return QProcess::startDetached(u"open"_s, {url.toString()});
#else
        return QProcess::startDetached(u"xdg-open"_s, {url.toString()});
#endif
    }

    bool openTextFile(const QString& path) override
    {
#ifdef Q_OS_WIN
        return QProcess::startDetached(u"notepad.exe"_s, {QDir::toNativeSeparators(path)});
#else
        return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString());
#endif
    }

    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments, QFileInfo(program).absolutePath());
    }

    int runProgram(const QString& program, const QStringList& arguments) override
    {
        return QProcess::execute(program, arguments);
    }
};

Launcher*& installed()
{
    static Launcher* launcher = nullptr;
    return launcher;
}

} // namespace

Launcher& Launcher::instance()
{
    static SystemLauncher system;
    Launcher* launcher = installed();
    return launcher ? *launcher : system;
}

void Launcher::install(Launcher* launcher) { installed() = launcher; }
