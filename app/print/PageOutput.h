#pragma once

#include "PrintOutcome.h"

class QPainter;

// Where composed pages go: the desktop's printer or a PDF file. One object serves one run.
class PageOutput
{
public:
    virtual ~PageOutput() = default;

    // Starts a page; the painter's origin is the page's top-left corner, in device pixels. nullptr when the
    // page cannot start: outcome().error says why.
    virtual QPainter* beginPage() = 0;
    // Ends the page; false when it did not go out (noted in the outcome).
    virtual bool endPage() = 0;
    // Each page is a print job of its own: one that fails takes nothing else along, and the run goes on
    // with the next. Otherwise a page that cannot start ends the run.
    virtual bool pagesStandAlone() const { return false; }
    // Ends the run and hands the pages over. An output dropped before this keeps nothing.
    virtual void finish() = 0;

    const PrintOutcome& outcome() const { return m_outcome; }

protected:
    PrintOutcome m_outcome;
};
