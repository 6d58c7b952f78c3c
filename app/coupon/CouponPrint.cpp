#include "CouponPrint.h"

#include "Busy.h"
#include "CouponLayout.h"
#include "PrintSlots.h"

#include <QPainter>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using CouponLines = std::vector<std::optional<CouponLayout::Lines>>;

const QString kBusyText = u"복권발행 ..."_s;

CouponPages PagesOf(std::vector<CouponStore::CouponKey> keys, CouponLines coupons)
{
    CouponPages pages;
    pages.keys = std::move(keys);
    pages.pages.job.layout = kCouponSlots;
    pages.pages.job.title = u"복권쿠폰"_s;
    pages.pages.job.busyText = kBusyText;
    pages.pages.job.pdfPrefix = u"복권쿠폰_"_s;
    pages.pages.job.jobPerPage = true;
    pages.pages.items = int(coupons.size());
    // Shared, not copied, by every copy of the pages: a run of a thousand coupons is laid out once.
    pages.pages.paintSlot =
        [coupons = std::make_shared<const CouponLines>(std::move(coupons))](QPainter& painter, const QRect&, int item) {
            if (const auto& lines = (*coupons)[size_t(item)])
                DrawCoupon(painter, *lines);
        };
    return pages;
}

} // namespace

CouponPages ReadCouponPages(const std::vector<CouponStore::CouponKey>& keys)
{
    BusyGuard busy(kBusyText);
    // Everything is read before the first page is painted, so that neither the preview nor the printer
    // waits on the database.
    CouponLines coupons;
    coupons.reserve(keys.size());
    for (const CouponStore::CouponKey& key : keys) {
        const auto content = CouponLayout::ReadCoupon(key.drawNo, key.couponNo);
        coupons.push_back(content ? std::optional(CouponLayout::Build(*content)) : std::nullopt);
    }
    return PagesOf(keys, std::move(coupons));
}

CouponPages PlannedCouponPages(const CouponStore::PlannedIssue& plan)
{
    BusyGuard busy(kBusyText);
    std::vector<CouponStore::CouponKey> keys;
    CouponLines coupons;
    const auto bare = CouponLayout::ReadCoupon(plan.drawNo, 0);
    for (int i = 0; i < plan.coupons; ++i) {
        const CouponStore::CouponKey key {plan.drawNo, plan.firstCoupon + i};
        keys.push_back(key);
        if (!bare) {
            coupons.push_back(std::nullopt);
            continue;
        }
        CouponLayout::Content content = *bare;
        content.couponNo = key.couponNo;
        content.games = plan.gamesOf(i);
        coupons.push_back(CouponLayout::Build(content));
    }
    return PagesOf(std::move(keys), std::move(coupons));
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
