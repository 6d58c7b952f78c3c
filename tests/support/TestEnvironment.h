#pragma once

#include "Busy.h"
#include "Connection.h"
#include "Launcher.h"
#include "MessageService.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

// Messages are recorded and answered from a script instead of being shown.
class ScriptedMessages final : public MessageService
{
public:
    struct Shown
    {
        QString text;
        MsgIcon icon;
        MsgButtons buttons;
        QString caption;
    };

    ScriptedMessages() { MessageService::install(this); }
    ~ScriptedMessages() override { MessageService::install(nullptr); }

    MsgAnswer show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& caption) override;
    void answerNext(MsgAnswer answer) { m_answers.push_back(answer); }

    // The password box: answered from its own script, cancelled when the script is empty.
    std::optional<QString> askPassword(const QString& text, const QString& caption) override;
    void typePassword(const std::optional<QString>& password) { m_passwords.push_back(password); }
    const QStringList& passwordPrompts() const { return m_prompts; }

    const QList<Shown>& shown() const { return m_shown; }
    QString last() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    std::deque<MsgAnswer> m_answers;
    std::deque<std::optional<QString>> m_passwords;
    QStringList m_prompts;
};

// What the program asked other programs to do.
class RecordingLauncher final : public Launcher
{
public:
    RecordingLauncher() { Launcher::install(this); }
    ~RecordingLauncher() override { Launcher::install(nullptr); }

    bool openUrl(const QString& address) override;
    bool openTextFile(const QString& path) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    // Recorded with the others; what it does is the test's (runs): by default it ends with 0.
    int runProgram(const QString& program, const QStringList& arguments) override;

    QStringList urls, textFiles, programs; // programs: path and arguments joined by blanks
    bool programsStart = true; // false: every program fails to start, as a missing one would
    std::function<int(const QStringList& arguments)> runs;
};

// Thrown instead of leaving the process when the program would end.
struct ProgramEnded
{
    int exitCode;
};

// A fresh install root with every service of the program replaced: scripted messages, a recording
// launcher, a clock standing at 2025-12-08 10:00, and an end of program that throws ProgramEnded.
// The process-wide values and connections are reset on both ends.
class TestInstall
{
public:
    enum class Kind { Plain, Demo };
    explicit TestInstall(Kind kind = Kind::Plain);
    ~TestInstall();

    QString root() const { return m_dir.path(); }
    QString path(const QString& relative) const;
    ScriptedMessages messages;
    RecordingLauncher launcher;

private:
    QTemporaryDir m_dir;
};

// Runs `act` once, the first time work with the given busy caption begins: the world changed at one
// precise step of a window's action (a table gone just before a list is read again). Installed while it
// lives.
class WhenBusy final : public BusyIndicator
{
public:
    WhenBusy(QString caption, std::function<void()> act);
    ~WhenBusy() override;
    void showBusy(bool busy, const QString& caption) override;
    void setProgress(int) override { }

private:
    QString m_caption;
    std::function<void()> m_act;
};

// A table taken out of the way (renamed) when `away()` is called, and put back when this goes, whatever
// the test's assertions did in between: the catalog stays whole for the tests after it.
class TableAway
{
public:
    TableAway(Connection owner, QString table);
    ~TableAway();
    void away();

private:
    Connection m_owner;
    QString m_table;
    bool m_away = false;
};

// The server backends every server test runs against.
enum class Backend { SQLite, PostgreSQL };
std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

// Makes a fresh server catalog on the backend and points the current install at it. Returns false
// (and the test should skip) when the PostgreSQL backend is not set up: the README's test command sets
// SURIBALL_TEST_PG to the host of its private server.
bool PrepareServer(Backend backend, bool demo);
// An administrator's connection to the PostgreSQL catalog, for checks behind the program's back.
Connection PostgresAdminConnection(const QString& database);
// The member logged in on the server as the login does it, without the form and the member's file:
// gUserID set, and on PostgreSQL a session opened and gServerConn acting for it. The demo members'
// passwords are their IDs.
void LogInOnServer(const QString& id);
// The server catalog as its owner sees it: the stand-in's file, or the PostgreSQL catalog as its
// administrator. For changes the shared account may not make.
Connection ServerOwnerConnection(Backend backend);
// The publisher's own login to the catalog (the stand-in's file on SQLite), whose password the test
// catalogs are made with.
inline constexpr char16_t kTestPublisherPassword[] = u"publisher-for-tests";
Connection PublisherConnection(Backend backend);
// A connection of the shared account to the PostgreSQL test server as any install makes it, reaching
// the server at host: 127.0.0.1 or ::1, which the server sees as two client addresses.
Connection SharedAccountConnection(const QString& host = QStringLiteral("127.0.0.1"));

#define SURIBALL_REQUIRE_SERVER(backend, demo)                                                                         \
    do {                                                                                                               \
        if (!PrepareServer((backend), (demo)))                                                                         \
            GTEST_SKIP() << "PostgreSQL test server not configured (SURIBALL_TEST_PG)";                                \
    } while (false)

// The first column of the first row of a query, as text (empty when there is no row).
QString SqlValue(const Connection& connection, const QString& sql, const QVariantList& values = {});

// Writes raw bytes to a file, replacing it.
void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

// gtest prints QStrings readably.
void PrintTo(const QString& text, std::ostream* os);
