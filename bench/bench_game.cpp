// The lotto game window driven headless: 32,767 games with 5 required and 35 excluded numbers, their
// sort and duplicate removal, and an ordinary member's 999 games. Then the number filters over the real
// draws: the count of passing games and past winners after a change (budget 150 ms), 999 games with a sum
// of 130 to 150 and three odd numbers (100 ms), and the administrator's 32,767 games under a filter that
// keeps 0.1 % of the games (1 s).
#include "BenchSupport.h"
#include "Database.h"
#include "DemoData.h"
#include "GameFilter.h"
#include "GameFilterStore.h"
#include "Globals.h"
#include "Installer.h"
#include "MessageService.h"
#include "Paths.h"
#include "Query.h"
#include "Transaction.h"
#include "frmRun1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
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
    {
        Transaction transaction(gSystemConn);
        Query insert(gSystemConn, u"INSERT INTO BokList (BokNo, No1, State1) VALUES (?, ?, '3')"_s);
        for (const DemoData::Draw& d : DemoData::draws())
            insert.run({d.drawNo, d.drawText()});
        transaction.commit();
    }
    QTextStream out(stdout);

    gUserID = u"chief"_s;
    // A member's own file, where each change of the filters is kept.
    gUserDbPath = InstallPaths::userDb(gUserID);
    QFile::copy(InstallPaths::userDbTemplate(), gUserDbPath);
    QFile::setPermissions(gUserDbPath, QFile::ReadOwner | QFile::WriteOwner);
    OpenUserDb();
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
    out << "removing their duplicates (" << window.gameCount() << " games left): " << bench::LapMs(t) << " ms"
        << Qt::endl;

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

    // The filters. Each change counts every one of the 8,145,060 games the numbers allow, and the past
    // winners of every draw, before the window shows it.
    bool within = true;
    const auto verdict = [&](double ms, double budget) {
        within = within && ms <= budget;
        return ms <= budget ? " (within " : " (OVER ";
    };
    const auto spin = [&](const char16_t* name) { return window.findChild<QSpinBox*>(QString::fromUtf16(name)); };
    auto* passing = window.findChild<QLabel*>(u"lblPass1"_s);
    auto* past = window.findChild<QLabel*>(u"lblPastPass1"_s);
    window.findChild<QComboBox*>(u"cboPastRange1"_s)->setCurrentIndex(2);
    double slowest = 0;
    const auto change = [&](const QString& what, auto&& act) {
        t.restart();
        act();
        app.processEvents();
        const double ms = bench::LapMs(t);
        slowest = std::max(slowest, ms);
        out << "  " << what << ": " << ms << " ms, " << passing->text() << ", " << past->text() << Qt::endl;
    };
    out << "counting after a change:" << Qt::endl;
    change(u"filters on"_s, [&] { window.findChild<QCheckBox*>(u"chkFilter1"_s)->setChecked(true); });
    change(u"past winners out"_s, [&] { window.findChild<QCheckBox*>(u"chkPast1"_s)->setChecked(true); });
    change(u"run at most 5"_s, [&] { spin(u"spnRun1")->setValue(5); });
    change(u"overlap at most 5"_s, [&] { spin(u"spnOverlap1")->setValue(5); });
    change(u"odd from 1"_s, [&] { spin(u"spnOddMin1")->setValue(1); });
    change(u"odd to 5"_s, [&] { spin(u"spnOddMax1")->setValue(5); });
    change(u"sum from 130"_s, [&] { spin(u"spnSumMin1")->setValue(130); });
    change(u"sum to 150"_s, [&] { spin(u"spnSumMax1")->setValue(150); });
    change(u"odd from 3"_s, [&] { spin(u"spnOddMin1")->setValue(3); });
    change(u"odd to 3"_s, [&] { spin(u"spnOddMax1")->setValue(3); });
    change(u"the last 100 draws"_s, [&] { window.findChild<QComboBox*>(u"cboPastRange1"_s)->setCurrentIndex(0); });
    change(u"1 required"_s, [&] { window.findChild<QPushButton*>(u"cmdNo002(0)"_s)->click(); });
    change(u"1 excluded"_s, [&] { window.findChild<QPushButton*>(u"cmdNo001(0)"_s)->click(); });
    // The count alone, every game walked, and the member's file written after it.
    {
        const GameFilter::History history = GameFilter::History::of(DrawStats::ReadDraws());
        GameFilter::Settings open;
        open.enabled = true;
        t.restart();
        const qint64 all = GameFilter::CountPassing(open, {}, {}, history);
        out << "  counting all " << all << " games alone: " << bench::LapMs(t) << " ms" << Qt::endl;
        t.restart();
        GameFilterStore::Save(gUserConn, {open, 0});
        out << "  keeping the filters in the member's file alone: " << bench::LapMs(t) << " ms" << Qt::endl;
    }
    out << "slowest count: " << slowest << " ms" << verdict(slowest, 150) << "150 ms)" << Qt::endl;

    window.findChild<QPushButton*>(u"cmdClear"_s)->click();
    window.findChild<QPushButton*>(u"cmdClear2"_s)->click();
    window.findChild<QCheckBox*>(u"chkPast1"_s)->setChecked(false);
    spin(u"spnRun1")->setValue(6);
    spin(u"spnOverlap1")->setValue(6);
    count->setCurrentText(u"999"_s);
    t.restart();
    window.GenerateGames();
    app.processEvents();
    double ms = bench::LapMs(t);
    out << "999 games, sum 130-150 and odd 3 (" << passing->text() << "): " << ms << " ms" << verdict(ms, 100)
        << "100 ms)" << Qt::endl;

    gUserID = u"chief"_s;
    spin(u"spnOddMin1")->setValue(0);
    spin(u"spnOddMax1")->setValue(6);
    spin(u"spnSumMin1")->setValue(21);
    spin(u"spnSumMax1")->setValue(51);
    count->setCurrentText(u"32767"_s);
    t.restart();
    window.GenerateGames();
    app.processEvents();
    ms = bench::LapMs(t);
    out << "32,767 games, sum 21-51 (" << passing->text() << "): " << ms << " ms" << verdict(ms, 1000) << "1 s)"
        << Qt::endl;

    // The generator alone, without the window's list.
    const GameFilter::History history = GameFilter::History::of(DrawStats::ReadDraws());
    GameFilter::Settings tight;
    tight.enabled = true;
    tight.sumMax = 51;
    t.restart();
    GameFilter::Generator generator(tight, {}, {}, history, 1);
    for (int i = 0; i < 32767; ++i)
        (void)generator.next();
    out << "  of which the generator: " << bench::LapMs(t) << " ms ("
        << (generator.drawsFromList() ? "drawn from the list" : "thrown back") << ")" << Qt::endl;
    GameFilter::Settings wide = tight;
    wide.sumMin = 130;
    wide.sumMax = 150;
    wide.oddMin = wide.oddMax = 3;
    t.restart();
    GameFilter::Generator wideGenerator(wide, {}, {}, history, 1);
    for (int i = 0; i < 999; ++i)
        (void)wideGenerator.next();
    out << "  999 games of sum 130-150 and odd 3, the generator alone: " << bench::LapMs(t) << " ms ("
        << (wideGenerator.drawsFromList() ? "drawn from the list" : "thrown back") << ")" << Qt::endl;
    return within ? 0 : 1;
}
