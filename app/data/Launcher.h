#pragma once

#include <QString>
#include <QStringList>

// The one way the program hands work to other programs: the web browser, the text editor, the updater
// and the setup tool. Only runProgram waits. Tests install a recorder instead.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual bool openUrl(const QString& address) = 0;
    // Opens a text file in the desktop's text editor (Notepad on Windows).
    virtual bool openTextFile(const QString& path) = 0;
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Runs a program to its end; its exit code, or -1 when it could not be started or crashed.
    virtual int runProgram(const QString& program, const QStringList& arguments) = 0;

    static Launcher& instance();
    // Not owned; nullptr goes back to the system launcher.
    static void install(Launcher* launcher);
};
