#include "frmRun1.h"

#include "CouponStore.h"
#include "FilterPanel.h"
#include "GameExport.h"
#include "GameFilterStore.h"
#include "GameStats.h"
#include "Globals.h"
#include "Grid.h"
#include "Launcher.h"
#include "LottoPad.h"
#include "MessageService.h"
#include "NumberPicker.h"
#include "SafeStore.h"
#include "SqlError.h"
#include "TextExport.h"
#include "UiTools.h"
#include "frmChart1.h"
#include "frmSave1.h"
#include "frmSave21.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kKeyColumn = 8; // "합침": the row's 12-digit key, for sorting
constexpr int kDuplicateColumn = 7; // "중복수"
const QColor kSelectedRow(192, 192, 192);

QPushButton* button(const QString& caption, const QString& name) { return Named(new QPushButton(caption), name); }

QGroupBox* box(const QString& title, QLayout* content)
{
    auto* group = new QGroupBox(title);
    content->setContentsMargins(6, 6, 6, 6);
    group->setLayout(content);
    return group;
}

// The filters are the member's: kept in the member's own file, and never for the guest, who keeps nothing.
bool keepsFilters() { return gUserConn.isOpen() && gUserID != kGuestID; }

} // namespace

frmRun1::frmRun1(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(u"로또게임"_s);
    picTitle1 = Named(new QLabel(u"로또6/45 자동추첨기"_s), u"picTitle1"_s);
    picTitle1->setStyleSheet(u"background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1d3c8f, stop:1 #4a78c8);"
                             "color: white; font-weight: bold; font-size: 14px; padding: 5px 10px;"_s);

    auto* left = new QVBoxLayout;
    left->addWidget(buildCountBox());
    left->addWidget(buildPickers());
    left->addStretch(1);
    auto* padColumn = new QVBoxLayout;
    padColumn->addWidget(buildPad());
    fraFilter1 = new FilterPanel;
    padColumn->addWidget(fraFilter1);
    padColumn->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(padColumn);
    body->addWidget(buildList(), 0);
    body->addWidget(buildStats(), 1);

    // A small main window scrolls the workbench (the main window's client area does) rather than
    // squeezing it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    layout->addWidget(picTitle1);
    layout->addLayout(body, 1);

    // InitGameForm
    lblBokNo2->clear();
    g.fill(0);
    for (int n : {1, 2, 3, 4, 5})
        cboAutoNo1->addItem(QString::number(n));
    for (int n = 10; n <= 100; n += 10)
        cboAutoNo1->addItem(QString::number(n));
    cboAutoNo1->setCurrentText(QString::number(gGameCount));
    cboAutoNo1->setMaxVisibleItems(270 / (cboAutoNo1->fontMetrics().height() + 6));
    grdR1->setMaxRows(0);
    grdR1->setColumnHidden(kDuplicateColumn, true);
    grdR1->setColumnHidden(kKeyColumn, true);
    setListCommands(false);
    resetListCounts();
    ShowDrawFrequency();
    RunGuarded(u"지난 회차 당첨번호를 읽지 못하였습니다."_s, [this] {
        m_draws = DrawStats::ReadDraws();
        m_history = GameFilter::History::of(m_draws);
    });
    loadFilters();
    recountFilters();
    connect(fraFilter1, &FilterPanel::changed, this, [this] {
        recountFilters();
        keepFilters();
    });
}

QWidget* frmRun1::buildCountBox()
{
    cboAutoNo1 = Named(new QComboBox, u"cboAutoNo1"_s);
    cboAutoNo1->setEditable(true);
    cboAutoNo1->setMinimumWidth(62);
    cboAutoNo1->installEventFilter(this);
    cboAutoNo1->lineEdit()->installEventFilter(this);
    cmdGame1 = button(u"1"_s, u"cmdGame1"_s);
    cmdGame5 = button(u"5"_s, u"cmdGame5"_s);
    cmdUp = button(u"+5"_s, u"cmdUp"_s);
    cmdDown = button(u"-5"_s, u"cmdDown"_s);
    for (QPushButton* b : {cmdGame1, cmdGame5, cmdUp, cmdDown})
        b->setFixedWidth(30);
    cmdStart1 = button(u"> 게임시작(&S)"_s, u"cmdStart1"_s);
    cmdStart1->setMinimumHeight(34);
    cmdStart1->setStyleSheet(u"QPushButton { font-weight: bold; color: #1d3c8f; }"_s);

    auto* row = new QHBoxLayout;
    row->addWidget(Named(new QLabel(u"게임횟수:"_s), u"Label1"_s));
    row->addWidget(cboAutoNo1, 1);
    for (QPushButton* b : {cmdGame1, cmdGame5, cmdUp, cmdDown})
        row->addWidget(b);
    // A seed gives the same games again; an empty box takes a new one each run, shown beside it.
    txtSeed1 = Named(new QLineEdit, u"txtSeed1"_s);
    txtSeed1->setAccessibleName(u"씨앗"_s);
    txtSeed1->setPlaceholderText(u"비우면 새로"_s);
    txtSeed1->setMaxLength(20);
    InstallFieldManners(txtSeed1);
    lblSeed1 = Named(new QLabel, u"lblSeed1"_s);
    lblSeed1->setAccessibleName(u"사용한 씨앗"_s);
    lblSeed1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* seedLabel = new QLabel(u"씨앗:"_s);
    seedLabel->setBuddy(txtSeed1);
    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(seedLabel);
    seedRow->addWidget(txtSeed1, 1);
    auto* layout = new QVBoxLayout;
    layout->addLayout(row);
    layout->addWidget(cmdStart1);
    layout->addLayout(seedRow);
    layout->addWidget(lblSeed1);

    auto focusCount = [this] { cboAutoNo1->setFocus(); };
    connect(cmdGame1, &QPushButton::clicked, this, [this, focusCount] {
        cboAutoNo1->setCurrentText(u"1"_s);
        focusCount();
    });
    connect(cmdGame5, &QPushButton::clicked, this, [this, focusCount] {
        cboAutoNo1->setCurrentText(u"5"_s);
        focusCount();
    });
    connect(cmdUp, &QPushButton::clicked, this, [this, focusCount] {
        cboAutoNo1->setCurrentText(GameRules::StepUp(cboAutoNo1->currentText()));
        focusCount();
    });
    connect(cmdDown, &QPushButton::clicked, this, [this, focusCount] {
        cboAutoNo1->setCurrentText(GameRules::StepDown(cboAutoNo1->currentText()));
        focusCount();
    });
    connect(cmdStart1, &QPushButton::clicked, this, &frmRun1::GenerateGames);
    return box(u"자동추첨"_s, layout);
}

QWidget* frmRun1::buildPickers()
{
    cmdNo001 = new NumberPicker(u"cmdNo001"_s);
    cmdNo002 = new NumberPicker(u"cmdNo002"_s);
    cmdClear = button(u"초기화"_s, u"cmdClear"_s);
    cmdClear2 = button(u"초기화"_s, u"cmdClear2"_s);
    connect(cmdNo001, &NumberPicker::numberClicked, this, &frmRun1::toggleExcluded);
    connect(cmdNo002, &NumberPicker::numberClicked, this, &frmRun1::toggleRequired);
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        cmdNo001->clear();
        recountFilters();
    });
    connect(cmdClear2, &QPushButton::clicked, this, [this] {
        cmdNo002->clear();
        recountFilters();
    });

    auto* excludedHead = new QHBoxLayout;
    auto* lblNoNum = Named(new QLabel(u"제외번호"_s), u"lblNoNum"_s);
    lblNoNum->setStyleSheet(u"font-weight: bold; color: #b03030;"_s);
    excludedHead->addWidget(lblNoNum);
    excludedHead->addStretch();
    excludedHead->addWidget(cmdClear);
    auto* requiredHead = new QHBoxLayout;
    auto* lblRequired = Named(new QLabel(u"필수번호"_s), u"lblNoNum2"_s);
    lblRequired->setStyleSheet(u"font-weight: bold; color: #1d3c8f;"_s);
    requiredHead->addWidget(lblRequired);
    requiredHead->addWidget(new QLabel(u"(5개까지 선택)"_s));
    requiredHead->addStretch();
    requiredHead->addWidget(cmdClear2);

    auto* layout = new QVBoxLayout;
    layout->addLayout(excludedHead);
    layout->addWidget(cmdNo001);
    layout->addSpacing(6);
    layout->addLayout(requiredHead);
    layout->addWidget(cmdNo002);
    return box(u"번호 선택"_s, layout);
}

QWidget* frmRun1::buildPad()
{
    picPad1 = new LottoPad;
    lblBokNo2 = Named(new QLabel, u"lblBokNo2"_s);
    lblBokNo2->setAlignment(Qt::AlignCenter);
    lblBokNo2->setMinimumHeight(24);
    lblBokNo2->setStyleSheet(u"background: white; border: 1px solid #b0b0b0; font-weight: bold; font-size: 13px;"_s);
    cmdMove1 = button(u"복권번호 저장"_s, u"cmdMove1"_s);
    cmdDelete1 = button(u"지움"_s, u"cmdDelete1"_s);
    cmdMove1->setEnabled(false);
    connect(picPad1, &LottoPad::numberClicked, this, [this](int number) {
        picPad1->toggle(number);
        picPad1->markLabel(number)->repaint();
        ReadPad();
    });
    connect(cmdDelete1, &QPushButton::clicked, this, [this] {
        ClearPad();
        picPad1->setFocus();
    });
    connect(cmdMove1, &QPushButton::clicked, this, &frmRun1::AppendPadGame);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMove1, 1);
    buttons->addWidget(cmdDelete1);
    auto* layout = new QVBoxLayout;
    layout->addWidget(picPad1, 0, Qt::AlignHCenter);
    layout->addWidget(lblBokNo2);
    layout->addLayout(buttons);
    return box(u"직접 선택"_s, layout);
}

QWidget* frmRun1::buildList()
{
    grdR1 = Named(new Grid, u"grdR1"_s);
    grdR1->setHeaders({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"중복수"_s, u"합침"_s});
    for (int c = 1; c <= 6; ++c)
        grdR1->setColumnWidth(c, 30);
    grdR1->setColumnWidth(0, 44);
    grdR1->setSelectRows(true);
    grdR1->setMinimumWidth(236);
    connect(grdR1, &Grid::cellClicked, this, &frmRun1::SelectGameRow);
    lblRecCount = Named(new QLabel(u"[자료: 0]"_s), u"lblRecCount"_s);

    cmdSort1 = button(u"번호정렬"_s, u"cmdSort1"_s);
    cmdDuplicate1 = button(u"중복수 제거"_s, u"cmdDuplicate1"_s);
    cmdDelete2 = button(u"복권삭제"_s, u"cmdDelete2"_s);
    cmdSave1 = button(u"복권금고에 저장"_s, u"cmdSave1"_s);
    cmdSave2 = button(u"복권쿠폰에 저장"_s, u"cmdSave2"_s);
    cmdPrint = button(u"화일저장"_s, u"cmdPrint"_s);
    connect(cmdSort1, &QPushButton::clicked, this, &frmRun1::SortGameList);
    connect(cmdDuplicate1, &QPushButton::clicked, this, &frmRun1::RemoveDuplicateGames);
    connect(cmdDelete2, &QPushButton::clicked, this, &frmRun1::DeleteAllGames);
    connect(cmdSave1, &QPushButton::clicked, this, &frmRun1::SaveToSafe);
    connect(cmdSave2, &QPushButton::clicked, this, &frmRun1::SaveToCoupon);
    connect(cmdPrint, &QPushButton::clicked, this, &frmRun1::ExportGameList);

    auto* edit = new QHBoxLayout;
    for (QPushButton* b : {cmdSort1, cmdDuplicate1, cmdDelete2})
        edit->addWidget(b);
    auto* keep = new QHBoxLayout;
    for (QPushButton* b : {cmdSave1, cmdSave2, cmdPrint})
        keep->addWidget(b);
    auto* layout = new QVBoxLayout;
    layout->addWidget(lblRecCount);
    layout->addWidget(grdR1, 1);
    layout->addLayout(edit);
    layout->addLayout(keep);
    return box(u"게임 목록"_s, layout);
}

QWidget* frmRun1::buildStats()
{
    grdR2 = Named(new Grid, u"grdR2"_s);
    grdR2->setHeaders({u"번호"_s, u"중복횟수"_s, u"비율"_s});
    grdR2->setColumnKind(1, Grid::ColumnKind::Number);
    grdR2->setColumnKind(2, Grid::ColumnKind::Number);
    grdR2->setColumnKind(3, Grid::ColumnKind::Number);
    grdR2->setColumnHidden(0, true);
    grdR2->setColumnWidth(1, 34);
    grdR2->setColumnWidth(2, 52);
    grdR2->setStretchColumn(3);
    grdR3 = Named(new Grid, u"grdR3"_s);
    grdR3->setHeaders({u"번호"_s, u"비율"_s, u"횟수"_s});
    grdR3->setColumnKind(1, Grid::ColumnKind::Number);
    grdR3->setColumnKind(3, Grid::ColumnKind::Number);
    grdR3->setColumnHidden(0, true);
    grdR3->setColumnWidth(1, 34);
    grdR3->setColumnWidth(3, 40);
    grdR3->setStretchColumn(2);
    grdR2->setMinimumWidth(150);
    grdR3->setMinimumWidth(236);

    auto* left = new QVBoxLayout;
    left->addWidget(grdR2);
    cmdChart1 = button(u"차트 보기"_s, u"cmdChart1"_s);
    connect(cmdChart1, &QPushButton::clicked, this, &frmRun1::ShowDrawCharts);
    auto* right = new QVBoxLayout;
    right->addWidget(grdR3);
    right->addWidget(cmdChart1);
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box(u"추첨번호"_s, left), 2);
    layout->addWidget(box(u"당첨번호 출현빈도"_s, right), 3);
    auto* holder = new QWidget;
    holder->setLayout(layout);
    return holder;
}

bool frmRun1::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == cboAutoNo1 || watched == cboAutoNo1->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            GenerateGames();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmRun1::toggleExcluded(int number)
{
    if (cmdNo001->isSelected(number)) {
        cmdNo001->setSelected(number, false);
    } else {
        cmdNo001->setSelected(number, true);
        if (cmdNo002->isSelected(number))
            cmdNo002->setSelected(number, false);
    }
    recountFilters();
}

void frmRun1::toggleRequired(int number)
{
    if (cmdNo002->isSelected(number)) {
        cmdNo002->setSelected(number, false);
        return;
    }
    if (cmdNo002->selectedCount() >= GameRules::kMaxRequired) {
        ShowMessage(u"필수번호는 5개까지 선택이 가능합니다."_s, MsgIcon::Critical);
        return;
    }
    cmdNo002->setSelected(number, true);
    if (cmdNo001->isSelected(number))
        cmdNo001->setSelected(number, false);
    recountFilters();
}

void frmRun1::recountFilters()
{
    const GameFilter::Settings settings = fraFilter1->settings();
    const qint64 passing = GameFilter::CountPassing(settings, cmdNo002->selection(), cmdNo001->selection(), m_history);
    fraFilter1->showCounts(passing, GameFilter::CountPastPasses(settings, m_draws, fraFilter1->kept().pastDraws));
}

void frmRun1::loadFilters()
{
    if (!keepsFilters())
        return;
    RunGuarded(u"번호 필터 설정을 읽지 못하였습니다."_s,
               [this] { fraFilter1->setKept(GameFilterStore::Load(gUserConn)); });
}

void frmRun1::keepFilters()
{
    if (!keepsFilters())
        return;
    RunGuarded(u"번호 필터 설정을 저장하지 못하였습니다."_s,
               [this] { GameFilterStore::Save(gUserConn, fraFilter1->kept()); });
}

void frmRun1::setListCommands(bool enabled)
{
    for (QPushButton* b : {cmdSave1, cmdSave2, cmdPrint, cmdDelete2, cmdSort1, cmdDuplicate1})
        b->setEnabled(enabled);
}

void frmRun1::resetListCounts()
{
    Grid::Batch batch(*grdR2);
    grdR2->setMaxRows(45);
    for (int i = 1; i <= 45; ++i) {
        grdR2->setText(1, i, QString::number(i));
        grdR2->setText(2, i, u"0"_s);
        grdR2->setText(3, i, u"0"_s);
    }
}

void frmRun1::showListCounts(const std::array<qint64, 46>& counts, qint64 games)
{
    Grid::Batch batch(*grdR2);
    grdR2->setMaxRows(45);
    grdR2->clearColors(); // the rows are rewritten in number order: a highlight left behind would be wrong
    for (int i = 1; i <= 45; ++i) {
        grdR2->setText(1, i, QString::number(i));
        grdR2->setText(2, i, QString::number(counts[size_t(i)]));
        grdR2->setText(3, i, counts[size_t(i)] ? GameStats::ListShare(counts[size_t(i)], games) : u"0"_s);
    }
}

void frmRun1::updateRecordCount() { lblRecCount->setText(u"[자료: "_s + QString::number(grdR1->maxRows()) + u']'); }

QString frmRun1::rowKey(int row) const
{
    QString key;
    for (int c = 1; c <= 6; ++c)
        key += grdR1->text(c, row);
    return key;
}

Game frmRun1::rowGame(int row) const
{
    Game game;
    for (int c = 1; c <= 6; ++c)
        game.numbers[size_t(c - 1)] = grdR1->text(c, row).toInt();
    return game;
}

void frmRun1::GenerateGames()
{
    setListCommands(false);
    const bool administrator = gUserID == u"chief"_s;
    const GameRules::Count count = GameRules::ReadCount(cboAutoNo1->currentText());
    if (cboAutoNo1->currentText() != count.text)
        cboAutoNo1->setCurrentText(count.text);
    const qint64 n = count.value.value_or(5);
    if (!GameRules::CountAllowed(n, administrator)) {
        ShowMessage(GameRules::CountRangeMessage(administrator), MsgIcon::Critical);
        cboAutoNo1->setCurrentText(u"5"_s);
        cboAutoNo1->setFocus();
        return;
    }
    const NumberSet excluded = cmdNo001->selection();
    if (excluded.count() > size_t(GameRules::kMaxExcluded)) {
        ShowMessage(u"자동추첨 제외숫자가 너무 많습니다. (최대 35개)"_s, MsgIcon::Critical);
        return;
    }
    const NumberSet required = cmdNo002->selection();
    const std::optional<std::uint64_t> seed
        = txtSeed1->text().trimmed().isEmpty() ? Seed::Fresh() : Seed::Read(txtSeed1->text());
    if (!seed) {
        ShowMessage(Seed::Problem(), MsgIcon::Critical);
        txtSeed1->setFocus();
        return;
    }
    const GameFilter::Settings filters = fraFilter1->settings();
    GameFilter::Generator generator(filters, required, excluded, m_history, *seed);
    if (generator.passing() == 0) {
        ShowMessage(GameFilter::NothingPassesMessage(filters), MsgIcon::Critical);
        return;
    }
    lblSeed1->setText(u"사용한 씨앗: "_s + Seed::Text(*seed));

    BusyGuard busy(u"복권번호 생성 ..."_s);
    resetListCounts();
    grdR2->repaint();
    grdR1->setMaxRows(0);
    grdR1->setMaxRows(int(n));
    BusyGuard::progress(0);

    GameStats::Counts counts {};
    QElapsedTimer sinceShown;
    sinceShown.start();
    {
        Grid::Batch batch(*grdR1);
        for (int k = 1; k <= n; ++k) {
            const Game game = generator.next();
            const QStringList cells = game.cells();
            for (int c = 0; c < 6; ++c)
                grdR1->setText(c + 1, k, cells[c]);
            for (int m : game.numbers)
                ++counts[size_t(m)];
            // The pad and the bar follow the run a few times a second; drawing every game would cost
            // more than drawing them all.
            if (sinceShown.elapsed() >= 40 || k == n) {
                sinceShown.restart();
                MarkPad(game);
                ReadPad();
                BusyGuard::progress(int(std::lround(double(k) / double(n) * 100.0)));
                picPad1->repaint();
            }
        }
        StripeRows(*grdR1);
    }
    showListCounts(counts, n);
    grdR2->sortRows(1, 45, {2, Qt::DescendingOrder}, Grid::SortKey {1, Qt::AscendingOrder});
    grdR1->setActiveCell(1, int(n));
    SelectGameRow(1, int(n));

    if (grdR1->maxRows() > 0)
        cmdDelete2->setEnabled(true);
    grdR1->setFocus();
    updateRecordCount();
    for (QPushButton* b : {cmdSave1, cmdSave2, cmdPrint, cmdSort1, cmdDuplicate1})
        b->setEnabled(true);
}

void frmRun1::SelectGameRow(int, int row)
{
    if (grdR1->maxRows() == 0 || row <= 0 || row > grdR1->maxRows())
        return;
    Grid::Batch batch(*grdR2);
    grdR2->clearColors();
    for (int c = 1; c <= 6; ++c) {
        g[size_t(c - 1)] = grdR1->text(c, row).toInt();
        const QString number = QString::number(g[size_t(c - 1)]);
        for (int r = 1; r <= grdR2->maxRows(); ++r) {
            if (grdR2->text(1, r) == number)
                grdR2->setRowColor(r, kSelectedRow);
        }
    }
    MarkPad(rowGame(row));
    ReadPad();
}

void frmRun1::MarkPad(const Game& game) { picPad1->mark(game); }

void frmRun1::ClearPad()
{
    picPad1->clear();
    lblBokNo2->clear();
    cmdMove1->setEnabled(false);
}

void frmRun1::ReadPad()
{
    const QString text = picPad1->text();
    int counter = 0;
    for (int n = 1; n <= 45; ++n) {
        if (picPad1->isMarked(n))
            g[size_t(counter++)] = n;
    }
    lblBokNo2->setText(text);
    cmdMove1->setEnabled(text.size() == 17);
}

void frmRun1::AppendPadGame()
{
    if (!cmdDelete2->isEnabled())
        cmdDelete2->setEnabled(true);
    const std::optional<Game> game = Game::fromDotted(lblBokNo2->text().trimmed());
    if (!game)
        return;
    const int row = grdR1->maxRows() + 1;
    grdR1->setMaxRows(row);
    const QStringList cells = game->cells();
    for (int c = 0; c < 6; ++c)
        grdR1->setText(c + 1, row, cells[c]);
    grdR1->setActiveCell(1, row);
    StripeRows(*grdR1);
    // The recount rewrites and re-sorts the statistics: the new game is highlighted once they stand.
    RecountNumberStats();
    SelectGameRow(1, row);
    updateRecordCount();
}

void frmRun1::RecountNumberStats()
{
    BusyGuard busy(u"중복횟수 계산 ..."_s);
    GameStats::Counts counts {};
    const int n = grdR1->maxRows();
    for (int r = 1; r <= n; ++r)
        GameStats::CountText(rowKey(r), counts);
    BusyGuard::progress(100);
    showListCounts(counts, n);
    grdR2->sortRows(1, 45, {2, Qt::DescendingOrder}, Grid::SortKey {1, Qt::AscendingOrder});
}

void frmRun1::ShowDrawFrequency()
{
    GameStats::DrawFrequency frequency;
    try {
        frequency = GameStats::ReadDrawFrequency();
    } catch (const SqlError& error) {
        ShowMessage(u"당첨번호 출현빈도를 읽지 못하였습니다.\n\n"_s + error.message(), MsgIcon::Critical);
    }
    Grid::Batch batch(*grdR3);
    grdR3->setMaxRows(45);
    for (int i = 1; i <= 45; ++i) {
        grdR3->setText(1, i, QString::number(i));
        grdR3->setText(2, i, frequency.bar(i));
        grdR3->setText(3, i, QString::number(frequency.counts[size_t(i)]));
    }
    grdR3->sortRows(1, 45, {3, Qt::DescendingOrder}, Grid::SortKey {1, Qt::AscendingOrder});
}

void frmRun1::ShowDrawCharts()
{
    if (m_charts) {
        m_charts->raise();
        m_charts->activateWindow();
        return;
    }
    RunGuarded(u"당첨번호 통계 차트를 열지 못하였습니다."_s, [this] {
        m_charts = new frmChart1(this);
        m_charts->setAttribute(Qt::WA_DeleteOnClose);
        m_charts->show();
    });
}

void frmRun1::SortGameList()
{
    {
        BusyGuard busy(u"복권번호 정렬 ..."_s);
        const int rows = grdR1->maxRows();
        Grid::Batch batch(*grdR1);
        for (int r = 1; r <= rows; ++r)
            grdR1->setText(kKeyColumn, r, rowKey(r));
        BusyGuard::progress(100);
        grdR1->sortRows(1, rows, {kKeyColumn, Qt::AscendingOrder}, Grid::SortKey {1, Qt::AscendingOrder});
        grdR1->clearColors();
    }
    grdR1->setActiveCell(1, 1);
    StripeRows(*grdR1);
    SelectGameRow(1, 1);
}

void frmRun1::RemoveDuplicateGames()
{
    const int rows = grdR1->maxRows();
    if (rows == 0)
        return;
    GameRules::Duplicates found;
    {
        BusyGuard busy(u"중복 복권번호 찾기 ..."_s);
        QStringList keys;
        keys.reserve(rows);
        for (int r = 1; r <= rows; ++r)
            keys.append(rowKey(r));
        found = GameRules::FindDuplicates(keys);
        {
            Grid::Batch batch(*grdR1);
            for (int r = 1; r <= rows; ++r)
                grdR1->setText(kDuplicateColumn, r, QString::number(found.perRow[size_t(r - 1)]));
        }
        BusyGuard::progress(100);
        SortGameList();
    }
    if (found.rowsInRepeats == 0) {
        ShowMessage(u"중복된 복권번호가 발견되지 않았습니다."_s, MsgIcon::Information);
        return;
    }
    if (ShowMessage(u"중복된 복권번호 "_s + QString::number(found.rowsInRepeats)
                        + u"개를 찾았습니다. 한개만 남기고 삭제 할까요?"_s,
                    MsgIcon::None,
                    MsgButtons::OkCancel)
        != MsgAnswer::Ok) {
        return;
    }
    {
        BusyGuard busy(u"중복 복권번호 삭제 ..."_s);
        QStringList sortedKeys;
        QList<QStringList> kept;
        for (int r = 1; r <= rows; ++r)
            sortedKeys.append(grdR1->text(kKeyColumn, r));
        for (int index : GameRules::FirstOfEachRun(sortedKeys)) {
            QStringList cells;
            for (int c = 1; c <= kKeyColumn; ++c)
                cells.append(grdR1->text(c, index + 1));
            kept.append(cells);
        }
        grdR1->setRows(kept);
    }
    grdR1->clearColors();
    StripeRows(*grdR1);
    RecountNumberStats();
    updateRecordCount();
    SelectGameRow(1, 1);
}

void frmRun1::DeleteAllGames()
{
    ClearPad();
    grdR1->setMaxRows(0);
    updateRecordCount();
    resetListCounts();
    grdR2->clearColors();
    setListCommands(false);
}

std::vector<Game> frmRun1::games() const
{
    std::vector<Game> list;
    list.reserve(size_t(grdR1->maxRows()));
    for (int r = 1; r <= grdR1->maxRows(); ++r)
        list.push_back(rowGame(r));
    return list;
}

int frmRun1::gameCount() const { return grdR1->maxRows(); }

namespace {
QStringList gameTexts(const std::vector<Game>& games)
{
    QStringList texts;
    texts.reserve(qsizetype(games.size()));
    for (const Game& game : games)
        texts.append(game.key());
    return texts;
}
} // namespace

template <typename Dialog, typename Store> void frmRun1::keepGames(const QString& place, Store&& store)
{
    const int n = grdR1->maxRows();
    if (n == 0) {
        ShowMessage(u"저장할 복권번호가 없습니다."_s, MsgIcon::Critical);
        return;
    }
    const QString failure = u"복권번호를 저장하지 못하였습니다. 저장된 것은 없습니다."_s;
    // Only the dialog's opening is caught here: nothing can be caught across exec(), so the dialog's own
    // actions report their failures themselves.
    std::unique_ptr<Dialog> dialog;
    if (!RunGuarded(failure, [&] { dialog = std::make_unique<Dialog>(n, this); }))
        return;
    dialog->exec();
    const std::optional<qint64> drawNo = dialog->chosenDraw();
    if (!drawNo)
        return;
    std::optional<QString> refused;
    const bool stored = RunGuarded(failure, [&] {
        BusyGuard busy(u"복권번호 저장 ..."_s);
        refused = store(*dialog, gameTexts(games()));
    });
    dialog.reset();
    if (!stored)
        return;
    if (refused) {
        ShowMessage(*refused, MsgIcon::Critical);
        return;
    }
    ShowMessage(QString::number(*drawNo) + u"회차에 "_s + QString::number(n) + u"개 복권번호가 ["_s + place
                    + u"]에 저장되었습니다."_s,
                MsgIcon::Information);
}

void frmRun1::SaveToSafe()
{
    keepGames<frmSave1>(u"복권금고"_s, [](const frmSave1& dialog, const QStringList& games) {
        const frmSave1::Choice& choice = *dialog.choice();
        return SafeStore::SaveGames(choice.drawNo, games, choice.memo, choice.group, BusyGuard::callback());
    });
}

void frmRun1::SaveToCoupon()
{
    keepGames<frmSave21>(u"발행복권"_s, [](const frmSave21& dialog, const QStringList& games) {
        return CouponStore::AddGames(*dialog.chosenDraw(), games, BusyGuard::callback());
    });
}

void frmRun1::ExportGameList()
{
    if (grdR1->maxRows() == 0) {
        ShowMessage(u"텍스트화일 저장할 복권이 없습니다."_s);
        return;
    }
    TextExport file(TextExport::PathFor(u"로또게임_"_s));
    {
        BusyGuard busy(u"텍스트화일 저장 ..."_s);
        WriteGameList(file, games());
    }
    file.publish();
}
