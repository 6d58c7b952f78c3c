#pragma once

#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "LoginService.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "frmMain.h"

#include <QApplication>

#include <memory>

// A demo install on which a member has logged in and the draws are in step, as the main window finds
// the program when it opens.
class ShellTest : public ::testing::Test
{
protected:
    void logIn(const QString& id)
    {
        OpenSystemDb();
        ASSERT_EQ(LoginService().login(id, id, false).outcome, LoginService::Outcome::LoggedIn);
        SyncDrawResults();
        install.messages.clear();
    }

    // Opened as the start routine opens it; the daily notice stays away unless asked for.
    frmMain* openMain(const QString& id = QStringLiteral("player"), bool notice = false)
    {
        logIn(id);
        if (!notice)
            WriteIfo(QString(), QStringLiteral("SYSTEM"), QStringLiteral("HOTVIEWDATE"), QStringLiteral("2025-12-08"));
        main = std::make_unique<frmMain>();
        main->start();
        return main.get();
    }

    void TearDown() override
    {
        main.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            w->deleteLater();
        QApplication::processEvents();
    }

    TestInstall install {TestInstall::Kind::Demo};
    std::unique_ptr<frmMain> main;
};
