#include "AdminForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QMdiSubWindow>

using namespace Qt::StringLiterals;

namespace AdminForm {

QLabel* Caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    QString name = text;
    buddy->setAccessibleName(name.remove(u':').simplified());
    return label;
}

QLabel* Title(const QString& text)
{
    auto* label = new QLabel(text);
    label->setStyleSheet(u"background: #1d3c8f; color: white; font-weight: bold; padding: 3px 8px;"_s);
    return label;
}

QHBoxLayout* SearchRow(QComboBox* year, QComboBox* month, QWidget* refresh)
{
    auto* row = new QHBoxLayout;
    row->addWidget(Caption(u"검색범위:"_s, year));
    month->setAccessibleName(u"검색범위 월"_s);
    year->setMaxVisibleItems(18);
    month->setMaxVisibleItems(13);
    row->addWidget(year);
    row->addWidget(month);
    row->addWidget(refresh);
    return row;
}

void CloseWindow(QWidget* window)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

} // namespace AdminForm
