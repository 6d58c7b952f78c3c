#include "GameFilterStore.h"

#include "Query.h"
#include "Transaction.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace GameFilterStore {

namespace {

// Each kept value: its row's name, its range, and where it lives.
struct Field
{
    QString name;
    int min;
    int max;
    int Kept::*plain = nullptr;
    int GameFilter::Settings::*number = nullptr;
    bool GameFilter::Settings::*flag = nullptr;
};

const std::vector<Field>& fields()
{
    using S = GameFilter::Settings;
    static const std::vector<Field> list = {
        {u"필터 사용"_s, 0, 1, nullptr, nullptr, &S::enabled},
        {u"합계 최소"_s, 21, 255, nullptr, &S::sumMin},
        {u"합계 최대"_s, 21, 255, nullptr, &S::sumMax},
        {u"홀수 최소"_s, 0, 6, nullptr, &S::oddMin},
        {u"홀수 최대"_s, 0, 6, nullptr, &S::oddMax},
        {u"높은 수 최소"_s, 0, 6, nullptr, &S::highMin},
        {u"높은 수 최대"_s, 0, 6, nullptr, &S::highMax},
        {u"연속 최대"_s, 1, 6, nullptr, &S::runMax},
        {u"같은 끝수 최대"_s, 1, 5, nullptr, &S::endingMax},
        {u"역대 1등 번호 제외"_s, 0, 1, nullptr, nullptr, &S::skipPastWinners},
        {u"지난 회차와 겹침 최대"_s, 0, 6, nullptr, &S::overlapMax},
        {u"지난 회차 범위"_s, 0, 100000, &Kept::pastDraws},
    };
    return list;
}

int get(const Kept& kept, const Field& f)
{
    if (f.plain)
        return kept.*f.plain;
    if (f.number)
        return kept.settings.*f.number;
    return kept.settings.*f.flag ? 1 : 0;
}

void put(Kept& kept, const Field& f, int value)
{
    value = std::clamp(value, f.min, f.max);
    if (f.plain)
        kept.*f.plain = value;
    else if (f.number)
        kept.settings.*f.number = value;
    else
        kept.settings.*f.flag = value != 0;
}

} // namespace

Kept Load(const Connection& connection)
{
    QHash<QString, qint64> stored;
    Query q(connection, u"SELECT Name1, Value1 FROM Filter1"_s);
    q.run();
    while (q.next())
        stored.insert(q.text(u"Name1"_s), q.integer(u"Value1"_s));
    Kept kept;
    for (const Field& f : fields()) {
        const auto it = stored.constFind(f.name);
        if (it != stored.cend())
            put(kept, f, int(std::clamp<qint64>(it.value(), f.min, f.max)));
    }
    return kept;
}

void Save(const Connection& connection, const Kept& kept)
{
    Transaction transaction(connection);
    Execute(connection, u"DELETE FROM Filter1"_s);
    Query insert(connection, u"INSERT INTO Filter1 (Name1, Value1) VALUES (?, ?)"_s);
    for (const Field& f : fields())
        insert.run({f.name, get(kept, f)});
    transaction.commit();
}

} // namespace GameFilterStore
