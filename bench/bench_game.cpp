// The lotto game window driven headless: 32,767 games with 5 required and 35 excluded numbers, their
// sort and duplicate removal, and an ordinary member's 999 games.
#include "BenchSupport.h"
#include "Database.h"
#include "Globals.h"
#include "Installer.h"
#include "MessageService.h"
#include "frmRun1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    bench::QuietMessages yes; // says OK to the duplicate question
    MessageService::install(&yes);
    QTemporaryDir dir;
    Installer::Options options;
    options.root = dir.path();
    Installer::install(options);
    OpenSystemDb();
    QTextStream out(stdout);

    gUserID = u"chief"_s;
    frmRun1 window;
    window.resize(1200, 700);
    window.show();
    for (int n = 1; n <= 5; ++n)
        window.findChild<QPushButton*>(u"cmdNo002("_s + QString::number(n - 1) + u')')->click();
    for (int n = 11; n <= 45; ++n)
        window.findChild<QPushButton*>(u"cmdNo001("_s + QString::number(n - 1) + u')')->click();
    auto* count = window.findChild<QComboBox*>(u"cboAutoNo1"_s);

    QElapsedTimer t;
    count->setCurrentText(u"32767"_s);
    t.start();
    window.GenerateGames();
    app.processEvents();
    out << "32,767 games (5 required, 35 excluded) with statistics: " << bench::LapMs(t) << " ms" << Qt::endl;
    window.SortGameList();
    app.processEvents();
    out << "sorting them: " << bench::LapMs(t) << " ms" << Qt::endl;
    window.RemoveDuplicateGames();
    app.processEvents();
    out << "removing their duplicates (" << window.gameCount() << " games left): " << bench::LapMs(t) << " ms" << Qt::endl;

    window.findChild<QPushButton*>(u"cmdClear"_s)->click();
    window.findChild<QPushButton*>(u"cmdClear2"_s)->click();
    count->setCurrentText(u"32767"_s);
    t.restart();
    window.GenerateGames();
    app.processEvents();
    out << "32,767 free games: " << bench::LapMs(t) << " ms; ";
    window.SortGameList();
    out << "sort " << bench::LapMs(t) << " ms; ";
    window.RemoveDuplicateGames();
    out << "duplicates " << bench::LapMs(t) << " ms" << Qt::endl;

    gUserID = u"player"_s;
    count->setCurrentText(u"999"_s);
    t.restart();
    window.GenerateGames();
    app.processEvents();
    out << "999 games: " << bench::LapMs(t) << " ms" << Qt::endl;
    return 0;
}
