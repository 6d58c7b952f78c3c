#pragma once

#include "PrintOutcome.h"

class QPainter;

// Where composed pages go: the desktop's printer or a PDF file. One object serves one run.
class PageOutput
{
public:
    virtual ~PageOutput() = default;

    // Starts a page; the painter's origin is the page's top-left corner, in device pixels. nullptr when the
    // run cannot go on: outcome().error says why.
    virtual QPainter* beginPage() = 0;
    // Ends the page. A page that fails is noted in the outcome and the run goes on.
    virtual void endPage() = 0;
    // Ends the run and hands the pages over. An output dropped before this keeps nothing.
    virtual void finish() = 0;

    const PrintOutcome& outcome() const { return m_outcome; }

protected:
    PrintOutcome m_outcome;
};
