#include "UiTools.h"

#include "Tools.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

BusyIndicator*& indicator()
{
    static BusyIndicator* current = nullptr;
    return current;
}

bool& busyCursor()
{
    static bool shown = false;
    return shown;
}

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

void SetBusyIndicator(BusyIndicator* busy) { indicator() = busy; }

void SetBusy(const QString& text, bool busy)
{
    if (busy && !busyCursor()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor() = true;
    } else if (!busy && busyCursor()) {
        QApplication::restoreOverrideCursor();
        busyCursor() = false;
    }
    if (BusyIndicator* target = indicator()) {
        target->setProgress(0);
        // The caption is followed by as many blanks as the text has bytes, which keeps it clear of the
        // bar's own percentage.
        target->showBusy(busy, text + QString(ByteLen(text), u' '));
    }
}

void SetProgress(int percent)
{
    if (BusyIndicator* target = indicator())
        target->setProgress(qBound(0, percent, 100));
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
