#pragma once

#include "PageComposer.h"
#include "PrintJob.h"
#include "PrintOutcome.h"

#include <QStringList>

#include <vector>

// Prints itemCount items, six to a page, on the default printer, or into one PDF file in DATA where
// there is none (that file is then opened). Nothing to print sends nothing and writes no file. Exceptions
// of the slot painter pass through; a PDF begun by then is not kept.
PrintOutcome PrintSlots(const PrintJob& job, int itemCount, const PageComposer::SlotPainter& paintSlot);

// A run's pages as they will come out: the job, its items and how each is painted, everything read
// beforehand. The preview paints exactly these pages and the printer gets the same.
struct SlotPages
{
    PrintJob job;
    int items = 0;
    PageComposer::SlotPainter paintSlot;

    int pages() const { return PagesFor(items); }
    // Page `page` (from 0) as it is printed; the painter's origin is the page's corner.
    void paintPage(QPainter& painter, int page) const;
    // Sends every page through PrintSlots, the progress bar following the items.
    PrintOutcome print() const;
};

// A run as its caller keeps it: the outcome, and the caller's own keys of the items that did not come
// out (a coupon, a ticket serial), so that exactly those can be printed again.
template <typename Key> struct KeyedPrint
{
    PrintOutcome outcome;
    std::vector<Key> missed;

    // keys[i] is the key of item i of the run.
    static KeyedPrint of(PrintOutcome outcome, const std::vector<Key>& keys)
    {
        KeyedPrint run {std::move(outcome), {}};
        for (int item : run.outcome.missedItems) {
            if (item >= 0 && size_t(item) < keys.size())
                run.missed.push_back(keys[size_t(item)]);
        }
        return run;
    }
};

// Pages whose items are the caller's own keys (keys[i] is item i's), printed with the keys of what did
// not come out.
template <typename Key> struct KeyedPages
{
    std::vector<Key> keys;
    SlotPages pages;

    KeyedPrint<Key> print() const { return KeyedPrint<Key>::of(pages.print(), keys); }
};

// What went wrong with a run, and, where pages did not come out, the keys to print again: missedLead, the
// keys as runs (see RunsText), then the hint on a line of its own.
template <typename Key, typename Name, typename Follows>
QString PrintFailureText(const KeyedPrint<Key>& run,
                         const QString& missedLead,
                         const QString& hint,
                         Name name,
                         Follows follows);

// Numbers as runs: "3 ~ 8, 12, 15 ~ 16", each number named by `name`; next(a, b) says whether b follows a.
template <typename Key, typename Name, typename Follows>
QString RunsText(const std::vector<Key>& keys, Name name, Follows follows)
{
    QStringList parts;
    for (size_t i = 0; i < keys.size();) {
        size_t j = i;
        while (j + 1 < keys.size() && follows(keys[j], keys[j + 1]))
            ++j;
        parts.append(j == i ? name(keys[i]) : name(keys[i]) + QStringLiteral(" ~ ") + name(keys[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

template <typename Key, typename Name, typename Follows>
QString
PrintFailureText(const KeyedPrint<Key>& run, const QString& missedLead, const QString& hint, Name name, Follows follows)
{
    QString text = run.outcome.error;
    if (!run.missed.empty())
        text += QStringLiteral("\r\n\r\n") + missedLead + RunsText(run.missed, name, follows) + QStringLiteral("\r\n")
            + hint;
    return text;
}
