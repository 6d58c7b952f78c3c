#pragma once

// The worker program of the kill tests, started, read and killed.

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>

// How long one kind of kill may go on: a slow machine does fewer kills rather than time out.
inline constexpr qint64 kBudgetMs = 20000;

struct WorkerRun
{
    bool ready = false;
    int lines = 0; // progress lines after "ready"
    QStringList texts; // and what they said
    QString errors; // what the member would have been told: nothing, while a loop runs
    QString stderrText;
};

class Worker
{
public:
    Worker(const QString& action, const QString& userId, quint32 seed)
        : Worker(action, userId, QString::number(seed))
    {
    }
    // The updater's run, dying at the first event whose text starts with `dieAt`.
    Worker(const QString& action, const QString& userId, const QString& dieAt)
    {
        m_process.setProgram(QStringLiteral(SURIBALL_KILL_WORKER));
        m_process.setArguments({action, userId, dieAt});
        m_process.start();
    }
    ~Worker()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    // Reads output until `lines` progress lines have come (0: until "ready"), or the worker ended.
    bool waitFor(int lines)
    {
        QElapsedTimer waited;
        waited.start();
        while (!(m_run.ready && m_run.lines >= lines)) {
            if (m_process.state() == QProcess::NotRunning || waited.elapsed() > 30000)
                return false;
            m_process.waitForReadyRead(200);
            take();
        }
        return true;
    }

    // Waits for the worker to end by itself.
    WorkerRun ended()
    {
        m_process.waitForFinished(60000);
        return killNow();
    }

    WorkerRun killNow()
    {
        if (m_process.state() != QProcess::NotRunning)
            ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(10000);
        take();
        m_run.errors = m_messages;
        m_run.stderrText = QString::fromUtf8(m_process.readAllStandardError());
        return m_run;
    }

private:
    void take()
    {
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line == "ready")
                m_run.ready = true;
            else if (line.startsWith("message") || line.startsWith("error"))
                m_messages += QString::fromUtf8(line) + u'\n';
            else if (m_run.ready && !line.isEmpty()) {
                ++m_run.lines;
                m_run.texts.append(QString::fromUtf8(line));
            }
        }
    }

    QProcess m_process;
    WorkerRun m_run;
    QString m_messages;
};
