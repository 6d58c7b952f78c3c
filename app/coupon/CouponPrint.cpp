#include "CouponPrint.h"

#include "Busy.h"
#include "CouponLayout.h"
#include "PrintSlots.h"

#include <QPainter>

using namespace Qt::StringLiterals;

CouponPrintRun PrintIssuedCoupons() { return PrintCoupons(CouponStore::BeingPrinted()); }

CouponPrintRun PrintCoupons(const std::vector<CouponStore::CouponKey>& keys)
{
    BusyGuard busy(u"복권발행 ..."_s);
    // Everything is read before the first page starts, so that the printer never waits on the database.
    std::vector<std::optional<CouponLayout::Lines>> coupons;
    coupons.reserve(keys.size());
    for (const CouponStore::CouponKey& key : keys) {
        const auto content = CouponLayout::ReadCoupon(key.drawNo, key.couponNo);
        coupons.push_back(content ? std::optional(CouponLayout::Build(*content)) : std::nullopt);
    }
    PrintJob job;
    job.layout = kCouponSlots;
    job.title = u"복권쿠폰"_s;
    job.pdfPrefix = u"복권쿠폰_"_s;
    job.jobPerPage = true;
    const int count = int(coupons.size());
    const PrintOutcome outcome = PrintSlots(job, count, [&](QPainter& painter, const QRect&, int item) {
        BusyGuard::progress(int((item + 1) * 100 / count));
        if (const auto& lines = coupons[size_t(item)])
            DrawCoupon(painter, *lines);
    });
    return CouponPrintRun::of(outcome, keys);
}

QString PrintFailureText(const CouponPrintRun& run)
{
    return PrintFailureText(
        run,
        u"인쇄하지 못한 복권: "_s,
        u"목록에서 이 복권을 선택하고 [다시 인쇄]를 누르면 같은 발행번호로 다시 인쇄합니다."_s,
        [](const CouponStore::CouponKey& k) { return CouponStore::IssueNumber(k.drawNo, k.couponNo); },
        [](const CouponStore::CouponKey& a, const CouponStore::CouponKey& b) {
            return a.drawNo == b.drawNo && b.couponNo == a.couponNo + 1;
        });
}
