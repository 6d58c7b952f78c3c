#include "UiTools.h"

#include "MessageService.h"
#include "Tools.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

class FieldManners final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box)
            return false;
        if (event->type() == QEvent::FocusIn) {
            // After the mouse press has placed the cursor, or the selection would be lost at once.
            QTimer::singleShot(0, box, [box] { SelectAllText(box); });
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                return EnterToTab(box, 13);
            if (key->key() == Qt::Key_Escape)
                return EnterToTab(box, 27);
        }
        return false;
    }
};

} // namespace

DesktopBusy& DesktopBusy::instance()
{
    static DesktopBusy busy;
    return busy;
}

void DesktopBusy::install() { SetBusyIndicator(&instance()); }

void DesktopBusy::showBusy(bool busy, const QString& caption)
{
    if (busy && !m_cursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursor = true;
    } else if (!busy && m_cursor) {
        QApplication::restoreOverrideCursor();
        m_cursor = false;
    }
    if (m_bar)
        m_bar->showBusy(busy, caption);
}

void DesktopBusy::setProgress(int percent)
{
    if (m_bar)
        m_bar->setProgress(percent);
}

void ReportFailure(const QString& failureLead, const QString& detail) noexcept
{
    try {
        ShowMessage(detail.isEmpty() ? failureLead : failureLead + u"\n\n"_s + detail, MsgIcon::Critical);
    } catch (...) {
        // Nothing is left to tell the member with; the window stays as it is.
    }
}

void ReportPrintFailure(const QString& detail) noexcept
{
    try {
        ShowMessage(u"(오류) "_s + detail);
    } catch (...) {
        // As ReportFailure: nothing is left to tell it with.
    }
}

void SelectAllText(QLineEdit* box)
{
    if (box)
        box->setSelection(0, int(box->text().size()));
}

bool EnterToTab(QWidget* from, int key)
{
    if (!from || (key != 13 && key != 27))
        return false;
    QKeyEvent tab(QEvent::KeyPress,
                  key == 13 ? Qt::Key_Tab : Qt::Key_Backtab,
                  key == 13 ? Qt::NoModifier : Qt::ShiftModifier);
    QCoreApplication::sendEvent(from, &tab);
    return true;
}

void InstallFieldManners(QLineEdit* box)
{
    static FieldManners* manners = new FieldManners(qApp);
    box->installEventFilter(manners);
}
