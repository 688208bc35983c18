#include "DriveSpace.h"

std::optional<DriveSpace> DriveSpace::changed(Column column, qint64 value) const
{
    DriveSpace s = *this;
    switch (column) {
    case Column::Capa:
        s.capa = value;
        if (s.capa < s.used)
            s.used = s.capa;
        if (s.used + s.free != s.capa)
            s.free = s.capa - s.used;
        return s;
    case Column::Used:
    case Column::Free: {
        // The other value set in turn runs its own rule, which refuses it
        // when it exceeds the total; then this value is refused too.
        qint64 &mine = column == Column::Used ? s.used : s.free;
        qint64 &other = column == Column::Used ? s.free : s.used;
        if (value > s.capa)
            return std::nullopt;
        mine = value;
        if (s.used + s.free != s.capa) {
            if (s.capa - mine > s.capa)
                return std::nullopt;
            other = s.capa - mine;
        }
        return s;
    }
    }
    return std::nullopt;
}

QString DriveSpace::refusedText()
{
    return QStringLiteral("全容量以下の値を入力してください");
}
