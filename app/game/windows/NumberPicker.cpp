#include "NumberPicker.h"

#include <QGridLayout>
#include <QPushButton>

using namespace Qt::StringLiterals;

NumberPicker::NumberPicker(const QString& name, QWidget* parent)
    : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (int i = 0; i < 45; ++i) {
        auto* b = new QPushButton(QString::number(i + 1));
        b->setObjectName(name + u'(' + QString::number(i) + u')');
        b->setFixedSize(24, 22);
        b->setFocusPolicy(Qt::NoFocus);
        m_buttons[size_t(i)] = b;
        grid->addWidget(b, i / 9, i % 9);
        connect(b, &QPushButton::clicked, this, [this, i] { Q_EMIT numberClicked(i + 1); });
        setSelected(i + 1, false);
    }
}

QPushButton* NumberPicker::button(int number) const { return m_buttons[size_t(number - 1)]; }

bool NumberPicker::isSelected(int number) const { return button(number)->font().bold(); }

void NumberPicker::setSelected(int number, bool selected)
{
    QPushButton* b = button(number);
    QFont font = b->font();
    font.setBold(selected);
    b->setFont(font);
    b->setStyleSheet(selected ? u"QPushButton { background: rgb(192,192,192); border: 1px solid #707070; }"_s
                              : u"QPushButton { background: rgb(224,224,224); border: 1px solid #b0b0b0; }"_s);
}

NumberSet NumberPicker::selection() const
{
    NumberSet set;
    for (int n = 1; n <= 45; ++n) {
        if (isSelected(n))
            set.set(size_t(n));
    }
    return set;
}

int NumberPicker::selectedCount() const { return int(selection().count()); }

void NumberPicker::clear()
{
    for (int n = 1; n <= 45; ++n)
        setSelected(n, false);
}
