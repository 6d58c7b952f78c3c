// The coupon window at scale: a coupon holding 100,000 issued games of a past draw — opening the window
// (ranks, counts, first page) and the next page — then an issue run of 1,000 coupons of 5 games (planned,
// its pages in the print preview, numbered, drawn into a PDF), and the painting of one coupon.
#include "BenchSupport.h"
#include "CouponLayout.h"
#include "CouponPrint.h"
#include "CouponStore.h"
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Installer.h"
#include "Launcher.h"
#include "LoginService.h"
#include "MessageService.h"
#include "PrintPreview.h"
#include "Query.h"
#include "frmPrint1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <numeric>
#include <random>

using namespace Qt::StringLiterals;

namespace {

void registerCoupon(qint64 drawNo)
{
    Execute(gUserConn,
            u"INSERT INTO Bok2 (BokNo,Part2,Title1,Title2,Comp1,Count1,No1Text,No2Text,No3Text,No4Text,No5Text,"
            "Text1,Text2,Bigo1) VALUES (?,'복권판매점','이번주 행운의 주인공은 바로 당신!','02-1234-5678',"
            "'행운복권방',0,'상품권 10만원','상품권 5만원','상품권 1만원','음료수','캔커피','매장 방문',"
            "'영업시간: 오전9시~오후10시','')"_s,
            {drawNo});
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int big = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    bench::QuietMessages quiet;
    MessageService::install(&quiet);
    bench::NoLauncher launcher;
    Launcher::install(&launcher);
    QTemporaryDir dir;
    Installer::demo(dir.path(), false, QDate(2025, 12, 8));
    OpenSystemDb();
    LoginService().login(u"shop7"_s, u"shop7"_s, false);
    SyncDrawResults();
    gCouponPageSize = 100;
    gUserLevel = u"2"_s;
    QTextStream out(stdout);
    std::mt19937 random(1200);

    QElapsedTimer t;
    t.start();
    registerCoupon(1200);
    CouponStore::AddGames(1200, bench::RandomGames(big, random));
    CouponStore::IssueCoupons(1200, big / 5, 5);
    CouponStore::FinishIssue();
    out << "set-up: " << big << " issued games of draw 1200: " << bench::LapMs(t) << " ms" << Qt::endl;

    {
        frmPrint1 window;
        window.resize(1200, 760);
        app.processEvents();
        out << "open the window on it (ranks of the past draw, counts, first page, preview): " << bench::LapMs(t)
            << " ms" << Qt::endl;
        window.NextPage();
        app.processEvents();
        out << "next page: " << bench::LapMs(t) << " ms" << Qt::endl;
        window.SelectCoupon(1);
        app.processEvents();
        out << "select it again (ranked already): " << bench::LapMs(t) << " ms" << Qt::endl;
    }

    registerCoupon(1201);
    CouponStore::AddGames(1201, bench::RandomGames(5000, random));
    bench::LapMs(t);
    const CouponStore::PlannedIssue plan = CouponStore::PlanIssue(1201, 1000, 5);
    const CouponPages pages = PlannedCouponPages(plan);
    out << "issue run of 1,000 coupons of 5 games planned and laid out: " << bench::LapMs(t) << " ms" << Qt::endl;
    {
        PrintPreview preview(pages.pages);
        preview.view()->updatePreview();
        out << "its " << preview.pageCount() << " pages in the print preview: " << bench::LapMs(t) << " ms" << Qt::endl;
    }
    const CouponStore::IssueRun run = CouponStore::IssueCoupons(plan);
    out << "numbered: " << bench::LapMs(t) << " ms" << (run.refusal ? u" refused: "_s + *run.refusal : QString())
        << Qt::endl;
    const PrintOutcome outcome = pages.print().outcome;
    out << "its pages drawn into a PDF (" << outcome.pages << " pages): " << bench::LapMs(t) << " ms " << outcome.error
        << Qt::endl;
    CouponStore::FinishIssue();

    const auto content = CouponLayout::ReadCoupon(1201, run.firstCoupon);
    const CouponLayout::Lines lines = CouponLayout::Build(*content);
    QImage preview(240, 520, QImage::Format_ARGB32_Premultiplied);
    constexpr int rounds = 200;
    bench::LapMs(t);
    for (int i = 0; i < rounds; ++i) {
        preview.fill(Qt::white);
        QPainter painter(&preview);
        painter.scale(240.0 / 3600, 240.0 / 3600);
        DrawCoupon(painter, lines);
    }
    out << "DrawCoupon into the preview, each: " << bench::LapMs(t) / rounds << " ms" << Qt::endl;
    for (int i = 0; i < rounds; ++i) {
        const auto c = CouponLayout::ReadCoupon(1201, run.firstCoupon + i);
        preview.fill(Qt::white);
        QPainter painter(&preview);
        painter.scale(240.0 / 3600, 240.0 / 3600);
        DrawCoupon(painter, CouponLayout::Build(*c));
    }
    out << "read, build and draw a coupon, each: " << bench::LapMs(t) / rounds << " ms" << Qt::endl;
    return 0;
}
