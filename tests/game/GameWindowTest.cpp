#include "Database.h"
#include "Globals.h"
#include "Grid.h"
#include "LottoPad.h"
#include "NumberPicker.h"
#include "Paths.h"
#include "Query.h"
#include "SeededRandom.h"
#include "TestEnvironment.h"
#include "Transaction.h"
#include "frmChart1.h"
#include "frmRun1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

using namespace Qt::StringLiterals;

class GameWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        OpenSystemDb();
        gUserID = u"player"_s;
        gGameCount = 5;
    }

    // The draws in the system database, as the synchronisation leaves them.
    void copyDemoDraws()
    {
        const Connection server = ConnectServer(ServerLocation::parse(u"sqlite:SERVER/VELTRA1.db"_s));
        Query draws(server, u"SELECT BokNo, LotNo FROM BokList"_s);
        draws.run();
        Transaction transaction(gSystemConn);
        Query insert(gSystemConn, u"INSERT INTO BokList (BokNo, No1, State1) VALUES (?, ?, '3')"_s);
        while (draws.next())
            insert.run({draws.integer(u"BokNo"_s), draws.text(u"LotNo"_s)});
        transaction.commit();
    }

    std::unique_ptr<frmRun1> open()
    {
        auto window = std::make_unique<frmRun1>();
        window->resize(1200, 700);
        return window;
    }
    template <typename T> static T* child(QWidget* w, const QString& name) { return w->findChild<T*>(name); }
    static Grid* grid(QWidget* w, const char16_t* name) { return child<Grid>(w, QString::fromUtf16(name)); }
    static QPushButton* button(QWidget* w, const char16_t* name)
    {
        return child<QPushButton>(w, QString::fromUtf16(name));
    }
    static void setCount(QWidget* w, const QString& text)
    {
        child<QComboBox>(w, u"cboAutoNo1"_s)->setCurrentText(text);
    }
    static QString count(QWidget* w) { return child<QComboBox>(w, u"cboAutoNo1"_s)->currentText(); }
    static QStringList listCommands()
    {
        return {u"cmdSave1"_s, u"cmdSave2"_s, u"cmdPrint"_s, u"cmdDelete2"_s, u"cmdSort1"_s, u"cmdDuplicate1"_s};
    }
    static int enabledCommands(QWidget* w)
    {
        int n = 0;
        for (const QString& name : listCommands())
            n += child<QPushButton>(w, name)->isEnabled() ? 1 : 0;
        return n;
    }
    static void addRow(Grid* list, const QString& dotted)
    {
        const int row = list->maxRows() + 1;
        list->setMaxRows(row);
        const QStringList cells = dotted.split(u'.');
        for (int c = 0; c < 6; ++c)
            list->setText(c + 1, row, cells[c]);
    }

    TestInstall install {TestInstall::Kind::Demo};
};

TEST_F(GameWindow, OpensEmptyWithTheCountSetting)
{
    gGameCount = 40;
    auto w = open();
    EXPECT_EQ(count(w.get()), u"40"_s);
    EXPECT_EQ(child<QComboBox>(w.get(), u"cboAutoNo1"_s)->count(), 15);
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 0);
    EXPECT_TRUE(grid(w.get(), u"grdR1")->isColumnHidden(7));
    EXPECT_EQ(enabledCommands(w.get()), 0);
    EXPECT_EQ(grid(w.get(), u"grdR2")->text(2, 45), u"0"_s);
    EXPECT_EQ(child<QLabel>(w.get(), u"picTitle1"_s)->text(), u"로또6/45 자동추첨기"_s);
}

TEST_F(GameWindow, ARunFillsTheListTheStatisticsAndThePad)
{
    auto w = open();
    setCount(w.get(), u"20"_s);
    button(w.get(), u"cmdStart1")->click();
    Grid* list = grid(w.get(), u"grdR1");
    ASSERT_EQ(list->maxRows(), 20);
    EXPECT_EQ(child<QLabel>(w.get(), u"lblRecCount"_s)->text(), u"[자료: 20]"_s);
    EXPECT_EQ(enabledCommands(w.get()), 6);
    for (int r = 1; r <= 20; ++r) {
        QString key;
        for (int c = 1; c <= 6; ++c)
            key += list->text(c, r);
        EXPECT_TRUE(Game::fromKey(key)) << key.toStdString();
    }
    // Six numbers a game, shares adding to about 100, sorted by count then number.
    Grid* stats = grid(w.get(), u"grdR2");
    qint64 total = 0;
    double shares = 0;
    for (int r = 1; r <= 45; ++r) {
        total += stats->text(2, r).toLongLong();
        shares += stats->text(3, r).toDouble();
        if (r > 1) {
            const bool ordered = stats->text(2, r - 1).toInt() > stats->text(2, r).toInt()
                || (stats->text(2, r - 1) == stats->text(2, r)
                    && stats->text(1, r - 1).toInt() < stats->text(1, r).toInt());
            EXPECT_TRUE(ordered) << r;
        }
    }
    EXPECT_EQ(total, 120);
    EXPECT_NEAR(shares, 100.0, 0.1);
    // The last game is on the pad and its numbers are highlighted.
    QString lastDotted;
    for (int c = 1; c <= 6; ++c)
        lastDotted += (c > 1 ? u"."_s : QString()) + list->text(c, 20);
    EXPECT_EQ(child<QLabel>(w.get(), u"lblBokNo2"_s)->text(), lastDotted);
    EXPECT_TRUE(button(w.get(), u"cmdMove1")->isEnabled());
    int highlighted = 0;
    for (int r = 1; r <= 45; ++r)
        highlighted += stats->cellColor(1, r) == QColor(192, 192, 192) ? 1 : 0;
    EXPECT_EQ(highlighted, 6);
    EXPECT_EQ(list->cellColor(1, 7), QColor(246, 246, 246));
}

TEST_F(GameWindow, CountRules)
{
    auto w = open();
    setCount(w.get(), u"letters"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 5);
    EXPECT_EQ(count(w.get()), u"5"_s);

    setCount(w.get(), u"2.6"_s);
    QTest::keyClick(child<QComboBox>(w.get(), u"cboAutoNo1"_s), Qt::Key_Return); // Enter starts a run too
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 3);

    setCount(w.get(), u"1000"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(install.messages.last(), u"숫자가 올바르지 않습니다. (범위: 1부터 999까지)"_s);
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(count(w.get()), u"5"_s);
    EXPECT_EQ(enabledCommands(w.get()), 0); // a refused run leaves the commands off
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 3);

    button(w.get(), u"cmdUp")->click();
    EXPECT_EQ(count(w.get()), u"10"_s);
    button(w.get(), u"cmdGame1")->click();
    button(w.get(), u"cmdDown")->click();
    EXPECT_EQ(count(w.get()), u"5"_s);

    gUserID = u"chief"_s;
    setCount(w.get(), u"1000"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 1000);
    setCount(w.get(), u"40000"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(install.messages.last(), u"숫자가 올바르지 않습니다. (범위: 1부터 32767까지)"_s);
    setCount(w.get(), u"-3"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 1000);
}

TEST_F(GameWindow, TheAdministratorsLimitIsTheListsRowCount)
{
    gUserID = u"chief"_s;
    auto w = open();
    setCount(w.get(), u"32768"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(install.messages.last(), u"숫자가 올바르지 않습니다. (범위: 1부터 32767까지)"_s);
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 0);
    install.messages.clear();
    setCount(w.get(), u"32767"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_TRUE(install.messages.shown().isEmpty());
    EXPECT_EQ(grid(w.get(), u"grdR1")->maxRows(), 32767);
    EXPECT_EQ(child<QLabel>(w.get(), u"lblRecCount"_s)->text(), u"[자료: 32767]"_s);
}

TEST_F(GameWindow, RequiredAndExcludedNumbers)
{
    auto w = open();
    auto pick = [&](const char16_t* array, int number) {
        child<QPushButton>(w.get(), QString::fromUtf16(array) + u'(' + QString::number(number - 1) + u')')->click();
    };
    auto bold = [&](const char16_t* array, int number) {
        return child<QPushButton>(w.get(), QString::fromUtf16(array) + u'(' + QString::number(number - 1) + u')')
            ->font()
            .bold();
    };
    pick(u"cmdNo001", 7);
    EXPECT_TRUE(bold(u"cmdNo001", 7));
    pick(u"cmdNo002", 7); // required now, so no longer excluded
    EXPECT_TRUE(bold(u"cmdNo002", 7));
    EXPECT_FALSE(bold(u"cmdNo001", 7));
    pick(u"cmdNo001", 7);
    EXPECT_FALSE(bold(u"cmdNo002", 7));

    for (int n : {1, 2, 3, 4, 5})
        pick(u"cmdNo002", n);
    pick(u"cmdNo002", 6);
    EXPECT_FALSE(bold(u"cmdNo002", 6));
    EXPECT_EQ(install.messages.last(), u"필수번호는 5개까지 선택이 가능합니다."_s);

    setCount(w.get(), u"50"_s);
    button(w.get(), u"cmdStart1")->click();
    Grid* list = grid(w.get(), u"grdR1");
    for (int r = 1; r <= 50; ++r) {
        EXPECT_EQ(list->text(1, r) + list->text(2, r) + list->text(3, r) + list->text(4, r) + list->text(5, r),
                  u"0102030405"_s);
        EXPECT_NE(list->text(6, r), u"07"_s);
    }

    button(w.get(), u"cmdClear2")->click();
    EXPECT_FALSE(bold(u"cmdNo002", 1));
    for (int n = 8; n <= 42; ++n)
        pick(u"cmdNo001", n); // 36 with 7
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(install.messages.last(), u"자동추첨 제외숫자가 너무 많습니다. (최대 35개)"_s);
    EXPECT_EQ(list->maxRows(), 50);
    button(w.get(), u"cmdClear")->click();
    EXPECT_FALSE(bold(u"cmdNo001", 8));
}

TEST_F(GameWindow, ThePad)
{
    auto w = open();
    auto* pad = child<LottoPad>(w.get(), u"picPad1"_s);
    QLabel* text = child<QLabel>(w.get(), u"lblBokNo2"_s);
    auto click = [&](int number) {
        QTest::mousePress(child<QLabel>(w.get(), u"lblBokNo("_s + QString::number(number - 1) + u')'), Qt::LeftButton);
    };
    click(45);
    click(3);
    EXPECT_EQ(text->text(), u"03.45"_s);
    for (int n : {11, 19, 24, 38})
        click(n);
    EXPECT_EQ(text->text(), u"03.11.19.24.38.45"_s);
    EXPECT_TRUE(button(w.get(), u"cmdMove1")->isEnabled());
    click(1); // a seventh mark is ignored
    EXPECT_FALSE(pad->isMarked(1));
    EXPECT_EQ(pad->markedCount(), 6);
    click(24);
    EXPECT_EQ(text->text().size(), 14);
    EXPECT_FALSE(button(w.get(), u"cmdMove1")->isEnabled());
    click(24);

    button(w.get(), u"cmdMove1")->click();
    Grid* list = grid(w.get(), u"grdR1");
    ASSERT_EQ(list->maxRows(), 1);
    EXPECT_EQ(list->text(1, 1) + list->text(6, 1), u"0345"_s);
    EXPECT_TRUE(button(w.get(), u"cmdDelete2")->isEnabled());
    EXPECT_FALSE(button(w.get(), u"cmdSave1")->isEnabled()); // a list made by hand is not saved yet
    // One game: its six numbers show 1 and 16.67.
    Grid* stats = grid(w.get(), u"grdR2");
    EXPECT_EQ(stats->text(1, 1) + u'/' + stats->text(2, 1) + u'/' + stats->text(3, 1), u"3/1/16.67"_s);
    EXPECT_EQ(stats->text(2, 7), u"0"_s);

    button(w.get(), u"cmdDelete1")->click();
    EXPECT_TRUE(text->text().isEmpty());
    EXPECT_EQ(pad->markedCount(), 0);
    for (int n : {1, 2, 3, 4, 5, 7})
        click(n);
    button(w.get(), u"cmdMove1")->click();
    // Twelve numbers now: 3 is in both games, 1 in one.
    EXPECT_EQ(stats->text(1, 1) + u'/' + stats->text(3, 1), u"3/16.67"_s);
    EXPECT_EQ(stats->text(1, 2) + u'/' + stats->text(3, 2), u"1/8.33"_s);

    // A header click changes nothing.
    Q_EMIT list->cellClicked(1, 0);
    EXPECT_EQ(text->text(), u"01.02.03.04.05.07"_s);
    Q_EMIT list->cellClicked(2, 1);
    EXPECT_EQ(text->text(), u"03.11.19.24.38.45"_s);
}

// The statistics are re-sorted by the recount; the game just added must be highlighted where its numbers
// end up, not where they stood before.
TEST_F(GameWindow, AnAppendedGameIsHighlightedOnItsOwnNumbers)
{
    auto w = open();
    auto click = [&](int number) {
        QTest::mousePress(child<QLabel>(w.get(), u"lblBokNo("_s + QString::number(number - 1) + u')'), Qt::LeftButton);
    };
    for (int n : {40, 41, 42, 43, 44, 45})
        click(n);
    button(w.get(), u"cmdMove1")->click();
    button(w.get(), u"cmdDelete1")->click();
    for (int n : {1, 2, 3, 4, 5, 6})
        click(n);
    button(w.get(), u"cmdMove1")->click();
    Grid* stats = grid(w.get(), u"grdR2");
    QStringList highlighted;
    for (int r = 1; r <= 45; ++r) {
        if (stats->cellColor(1, r) == QColor(192, 192, 192))
            highlighted.append(stats->text(1, r));
    }
    EXPECT_EQ(highlighted, (QStringList {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}));
}

TEST_F(GameWindow, SortRemoveDuplicatesAndDeleteAll)
{
    auto w = open();
    button(w.get(), u"cmdStart1")->click(); // enables the list commands
    Grid* list = grid(w.get(), u"grdR1");
    list->setMaxRows(0);
    for (const QString& game : {u"01.02.03.04.06.07"_s,
                                u"01.02.03.04.05.06"_s,
                                u"01.02.03.04.05.45"_s,
                                u"01.02.03.04.05.06"_s,
                                u"10.20.30.40.41.42"_s,
                                u"10.20.30.40.41.42"_s,
                                u"10.20.30.40.41.42"_s})
        addRow(list, game);

    install.messages.answerNext(MsgAnswer::Cancel);
    button(w.get(), u"cmdDuplicate1")->click();
    EXPECT_EQ(install.messages.last(), u"중복된 복권번호 5개를 찾았습니다. 한개만 남기고 삭제 할까요?"_s);
    EXPECT_EQ(install.messages.shown().last().buttons, MsgButtons::OkCancel);
    EXPECT_EQ(list->maxRows(), 7);
    // Sorted anyway: (1,2,3,4,5,6) twice, then (…,5,45) before (…,6,7).
    EXPECT_EQ(list->text(6, 1) + list->text(6, 2) + list->text(6, 3) + list->text(6, 4), u"06064507"_s);
    EXPECT_EQ(list->text(7, 1), u"2"_s);
    EXPECT_EQ(list->text(7, 5), u"3"_s);

    button(w.get(), u"cmdDuplicate1")->click(); // OK this time
    ASSERT_EQ(list->maxRows(), 4);
    QStringList keys;
    for (int r = 1; r <= 4; ++r)
        keys.append(list->text(8, r));
    EXPECT_EQ(keys, (QStringList {u"010203040506"_s, u"010203040545"_s, u"010203040607"_s, u"102030404142"_s}));
    EXPECT_EQ(child<QLabel>(w.get(), u"lblRecCount"_s)->text(), u"[자료: 4]"_s);
    EXPECT_EQ(grid(w.get(), u"grdR2")->text(2, 1), u"3"_s); // 1, 2, 3 and 4 are in three games

    button(w.get(), u"cmdDuplicate1")->click();
    EXPECT_EQ(install.messages.last(), u"중복된 복권번호가 발견되지 않았습니다."_s);

    button(w.get(), u"cmdDelete2")->click();
    EXPECT_EQ(list->maxRows(), 0);
    EXPECT_EQ(child<QLabel>(w.get(), u"lblRecCount"_s)->text(), u"[자료: 0]"_s);
    EXPECT_EQ(enabledCommands(w.get()), 0);
    Grid* stats = grid(w.get(), u"grdR2");
    for (int r = 1; r <= 45; ++r) {
        EXPECT_EQ(stats->text(1, r), QString::number(r));
        EXPECT_EQ(stats->text(2, r), u"0"_s);
    }
    button(w.get(), u"cmdDuplicate1")->click(); // an empty list: nothing happens
}

TEST_F(GameWindow, TheRealDrawFrequencies)
{
    copyDemoDraws();
    auto w = open();
    Grid* frequency = grid(w.get(), u"grdR3");
    // Over draws 1 to 1200 (7,200 numbers; draw 1201 has none yet and adds six to the total).
    EXPECT_EQ(frequency->text(1, 1), u"34"_s);
    EXPECT_EQ(frequency->text(3, 1), u"181"_s);
    EXPECT_EQ(frequency->text(2, 1), u"2.5%:***************"_s);
    qint64 total = 0;
    for (int r = 1; r <= 45; ++r)
        total += frequency->text(3, r).toLongLong();
    EXPECT_EQ(total, 7200);
}

TEST_F(GameWindow, NoDrawsShowCountsWithoutShares)
{
    auto w = open();
    Grid* frequency = grid(w.get(), u"grdR3");
    EXPECT_EQ(frequency->text(1, 1), u"1"_s);
    EXPECT_EQ(frequency->text(3, 1), u"0"_s);
    EXPECT_EQ(frequency->text(2, 1), QString());
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST_F(GameWindow, ChartsCountTheChosenDrawsLikeTheFrequencyList)
{
    copyDemoDraws();
    auto w = open();
    w->show();
    button(w.get(), u"cmdChart1")->click();
    auto* charts = w->findChild<frmChart1*>();
    ASSERT_NE(charts, nullptr);
    EXPECT_TRUE(charts->isVisible());
    // Every draw by default, without the bonus: the same counts as the list beside the game list.
    EXPECT_EQ(child<QLabel>(charts, u"lblRange1"_s)->text(), u"1회 ~ 1200회 (1200회)"_s);
    Grid* frequency = grid(w.get(), u"grdR3");
    for (int r = 1; r <= 45; ++r) {
        const int n = frequency->text(1, r).toInt();
        EXPECT_EQ(charts->summary().counts[size_t(n)], frequency->text(3, r).toLongLong()) << n;
    }
    EXPECT_EQ(charts->summary().marks[34], DrawStats::Mark::Hot); // the most frequent number

    child<QComboBox>(charts, u"cboRange1"_s)->setCurrentIndex(0);
    EXPECT_EQ(charts->summary().draws, 10);
    EXPECT_EQ(charts->summary().firstDraw, 1191);
    child<QCheckBox>(charts, u"chkBonus1"_s)->setChecked(true);
    qint64 numbers = 0;
    for (qint64 c : charts->summary().counts)
        numbers += c;
    EXPECT_EQ(numbers, 70);
    qint64 sums = 0;
    for (qint64 c : charts->summary().sums)
        sums += c;
    EXPECT_EQ(sums, 10);

    // A second click brings the open window forward rather than opening another.
    button(w.get(), u"cmdChart1")->click();
    EXPECT_EQ(w->findChildren<frmChart1*>().size(), 1);
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

namespace {
QSpinBox* box(QWidget* w, const char16_t* name) { return w->findChild<QSpinBox*>(QString::fromUtf16(name)); }
QString label(QWidget* w, const char16_t* name) { return w->findChild<QLabel*>(QString::fromUtf16(name))->text(); }
QStringList listKeys(Grid* list)
{
    QStringList keys;
    for (int r = 1; r <= list->maxRows(); ++r) {
        QString key;
        for (int c = 1; c <= 6; ++c)
            key += list->text(c, r);
        keys.append(key);
    }
    return keys;
}
} // namespace

TEST_F(GameWindow, FiltersShowWhatTheyCostAndHoldBackTheGames)
{
    copyDemoDraws();
    auto w = open();
    EXPECT_EQ(label(w.get(), u"lblPass1"), u"통과 조합: 8,145,060 / 8,145,060 (100.00 %)"_s);
    EXPECT_EQ(label(w.get(), u"lblPastPass1"), u"지난 회차 통과: 100 / 100"_s);
    EXPECT_FALSE(box(w.get(), u"spnSumMin1")->isEnabled()); // off until asked for

    child<QCheckBox>(w.get(), u"chkFilter1"_s)->setChecked(true);
    box(w.get(), u"spnSumMin1")->setValue(130);
    box(w.get(), u"spnSumMax1")->setValue(150);
    EXPECT_EQ(label(w.get(), u"lblPass1"), u"통과 조합: 2,175,031 / 8,145,060 (26.70 %)"_s);
    EXPECT_EQ(label(w.get(), u"lblPastPass1"), u"지난 회차 통과: 33 / 100"_s);
    child<QComboBox>(w.get(), u"cboPastRange1"_s)->setCurrentIndex(2);
    EXPECT_EQ(label(w.get(), u"lblPastPass1"), u"지난 회차 통과: 315 / 1,200"_s);
    // The required and excluded numbers count too: 45 in every game leaves no sum below 130 short.
    child<QPushButton>(w.get(), u"cmdNo002(44)"_s)->click();
    const QString with45 = label(w.get(), u"lblPass1");
    EXPECT_NE(with45, u"통과 조합: 2,175,031 / 8,145,060 (26.70 %)"_s);
    button(w.get(), u"cmdClear2")->click();
    EXPECT_EQ(label(w.get(), u"lblPass1"), u"통과 조합: 2,175,031 / 8,145,060 (26.70 %)"_s);

    setCount(w.get(), u"300"_s);
    button(w.get(), u"cmdStart1")->click();
    Grid* list = grid(w.get(), u"grdR1");
    ASSERT_EQ(list->maxRows(), 300);
    for (const QString& key : listKeys(list)) {
        const Game game = *Game::fromKey(key);
        const int sum = std::accumulate(game.numbers.begin(), game.numbers.end(), 0);
        ASSERT_TRUE(sum >= 130 && sum <= 150) << key.toStdString();
    }

    // Bounds that cross leave nothing: the run says why and the list stays as it was.
    box(w.get(), u"spnSumMin1")->setValue(200);
    EXPECT_EQ(label(w.get(), u"lblPass1"), u"통과 조합: 0 / 8,145,060 (0.00 %)"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_TRUE(install.messages.last().contains(u"합계 최소(200)가 합계 최대(150)보다 큽니다."_s));
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(list->maxRows(), 300);
    EXPECT_EQ(button(w.get(), u"cmdStart1")->text(), u"> 게임시작(&S)"_s);

    // Off again, the bounds are not looked at.
    child<QCheckBox>(w.get(), u"chkFilter1"_s)->setChecked(false);
    EXPECT_EQ(label(w.get(), u"lblPass1"), u"통과 조합: 8,145,060 / 8,145,060 (100.00 %)"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(list->maxRows(), 300);
    EXPECT_EQ(enabledCommands(w.get()), 6);
}

TEST_F(GameWindow, ASeedGivesTheSameGamesAgain)
{
    auto w = open();
    auto* seed = child<QLineEdit>(w.get(), u"txtSeed1"_s);
    Grid* list = grid(w.get(), u"grdR1");
    setCount(w.get(), u"20"_s);
    seed->setText(u"20251208"_s);
    button(w.get(), u"cmdStart1")->click();
    const QStringList first = listKeys(list);
    EXPECT_EQ(first.first(), u"020710222728"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(listKeys(list), first);
    EXPECT_EQ(label(w.get(), u"lblSeed1"), u"사용한 씨앗: 20251208"_s);

    // Empty: a new seed from the clock, shown so that the run can be made again.
    seed->clear();
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(label(w.get(), u"lblSeed1"), u"사용한 씨앗: "_s + Seed::Text(Seed::Fresh()));
    const QStringList fresh = listKeys(list);
    seed->setText(Seed::Text(Seed::Fresh()));
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(listKeys(list), fresh);

    seed->setText(u"씨앗"_s);
    button(w.get(), u"cmdStart1")->click();
    EXPECT_EQ(install.messages.last(), Seed::Problem());
    EXPECT_EQ(listKeys(list), fresh);
    EXPECT_EQ(enabledCommands(w.get()), 0);
}

TEST_F(GameWindow, TheFiltersAreTheMembersOwn)
{
    gUserDbPath = InstallPaths::userDb(gUserID);
    ASSERT_TRUE(QFile::copy(InstallPaths::userDbTemplate(), gUserDbPath));
    QFile::setPermissions(gUserDbPath, QFile::ReadOwner | QFile::WriteOwner);
    OpenUserDb();
    {
        auto w = open();
        child<QCheckBox>(w.get(), u"chkFilter1"_s)->setChecked(true);
        box(w.get(), u"spnOddMin1")->setValue(2);
        box(w.get(), u"spnEnding1")->setValue(1);
        child<QCheckBox>(w.get(), u"chkPast1"_s)->setChecked(true);
        child<QComboBox>(w.get(), u"cboPastRange1"_s)->setCurrentIndex(1);
    }
    CloseUserDb();
    OpenUserDb(); // as at the next start
    {
        auto w = open();
        EXPECT_TRUE(child<QCheckBox>(w.get(), u"chkFilter1"_s)->isChecked());
        EXPECT_EQ(box(w.get(), u"spnOddMin1")->value(), 2);
        EXPECT_EQ(box(w.get(), u"spnEnding1")->value(), 1);
        EXPECT_EQ(box(w.get(), u"spnSumMax1")->value(), 255);
        EXPECT_TRUE(child<QCheckBox>(w.get(), u"chkPast1"_s)->isChecked());
        EXPECT_EQ(child<QComboBox>(w.get(), u"cboPastRange1"_s)->currentIndex(), 1);
    }
    // The guest keeps nothing.
    gUserID = kGuestID;
    {
        auto w = open();
        EXPECT_FALSE(child<QCheckBox>(w.get(), u"chkFilter1"_s)->isChecked());
        box(w.get(), u"spnOddMin1")->setValue(4);
    }
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Value1 FROM Filter1 WHERE Name1 = '홀수 최소'"_s), u"2"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty());
}
