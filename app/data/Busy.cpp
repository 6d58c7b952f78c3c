#include "Busy.h"

#include "Tools.h"

#include <QtGlobal>

namespace {

BusyIndicator* s_indicator = nullptr;
int s_depth = 0;

// Busy: the progress bar reset to 0 and shown with the text as its caption. The caption is followed by
// as many blanks as the text has bytes, which keeps it clear of the bar's own percentage.
void SetBusy(const QString& text, bool busy)
{
    if (!s_indicator)
        return;
    s_indicator->setProgress(0);
    s_indicator->showBusy(busy, text + QString(ByteLen(text), u' '));
}

} // namespace

void SetBusyIndicator(BusyIndicator* indicator) { s_indicator = indicator; }

BusyGuard::BusyGuard(const QString& caption)
{
    ++s_depth;
    SetBusy(caption, true);
}

BusyGuard::~BusyGuard()
{
    if (--s_depth == 0)
        SetBusy(QString(), false);
}

void BusyGuard::progress(int percent)
{
    if (s_indicator)
        s_indicator->setProgress(qBound(0, percent, 100));
}

ProgressCallback BusyGuard::callback()
{
    return [](int percent) { progress(percent); };
}

bool BusyGuard::active() { return s_depth > 0; }
