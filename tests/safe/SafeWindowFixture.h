#pragma once

#include "Grid.h"
#include "SafeFixture.h"
#include "frmBank1.h"

#include <QLabel>

#include <memory>

inline QStringList manyGames(int n, const QString& tail = QStringLiteral("2021222324"))
{
    QStringList games;
    for (int i = 0; i < n; ++i)
        games.append(QString::number(10 + i % 9) + tail);
    return games;
}

// Every row the safe keeps, as one text: what an action that failed must leave exactly as it was.
inline QString SafeRows()
{
    return SqlValue(gUserConn,
                    QStringLiteral("SELECT IFNULL((SELECT group_concat(BokNo||':'||GNo1||':'||No1||':'||Top1||':'||Kum1"
                                   "||':'||SNo1, ',') FROM (SELECT * FROM List1 ORDER BY BokNo, SNo1)), '') || '|' || "
                                   "IFNULL((SELECT group_concat(BokNo||':'||Count1||':'||Tag1||':'||Bigo1, ',') FROM "
                                   "(SELECT * FROM Bok1 ORDER BY BokNo)), '') || '|' || "
                                   "IFNULL((SELECT group_concat(GNo1||':'||GName1, ',') FROM "
                                   "(SELECT * FROM Group1 ORDER BY GNo1)), '')"));
}

class SafeWindow : public SafeTest
{
protected:
    std::unique_ptr<frmBank1> open()
    {
        auto w = std::make_unique<frmBank1>();
        w->resize(1200, 700);
        return w;
    }
    static Grid* draws(frmBank1& w) { return w.findChild<Grid*>(QStringLiteral("grdR1")); }
    static Grid* groups(frmBank1& w) { return w.findChild<Grid*>(QStringLiteral("grdR3")); }
    static Grid* tickets(frmBank1& w) { return w.findChild<Grid*>(QStringLiteral("grdR2")); }
    static QString label(frmBank1& w, const QString& name) { return w.findChild<QLabel*>(name)->text(); }
    static int drawRow(frmBank1& w, qint64 drawNo)
    {
        for (int r = 1; r <= draws(w)->maxRows(); ++r) {
            if (draws(w)->text(1, r).toLongLong() == drawNo)
                return r;
        }
        ADD_FAILURE() << "no draw " << drawNo;
        return 0;
    }
    static int groupRow(frmBank1& w, const QString& name)
    {
        for (int r = 1; r <= groups(w)->maxRows(); ++r) {
            if (groups(w)->text(1, r) == name)
                return r;
        }
        ADD_FAILURE() << "no group " << name.toStdString();
        return 0;
    }
    // Selects the draw in the draw list as a click would.
    static void pickDraw(frmBank1& w, qint64 drawNo)
    {
        const int row = drawRow(w, drawNo);
        draws(w)->setActiveCell(1, row);
        Q_EMIT draws(w)->cellClicked(1, row);
    }
    static void pickGroup(frmBank1& w, const QString& name)
    {
        const int row = groupRow(w, name);
        groups(w)->setActiveCell(1, row);
        Q_EMIT groups(w)->cellClicked(1, row);
    }
};
