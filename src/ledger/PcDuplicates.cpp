#include "PcDuplicates.h"

#include "DistinctPcs.h"
#include "base/DateText.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QHash>
#include <QSqlQuery>
#include <algorithm>
#include <array>
#include <cctype>

namespace PcDuplicates {

namespace {

// The kinds of evidence, strongest first (the order of the words).
enum Kind { Mac, CpuSerial, Name, ProductModel, KindCount };

constexpr std::array<int, KindCount> Points {StrongPoints, StrongPoints, MediumPoints,
                                             MediumPoints};

// What the search reads of one PC.
struct Pc
{
    QString key;
    QString pcName;
    QString host;
    QDate invaro;
    QDate tekkyo;
};

// Per kind: each value (compared form) with the PCs that have it, by
// index; and the value as the words show it.
struct Values
{
    QHash<QString, QVector<int>> pcs;
    QHash<QString, QString> shown;

    void add(const QString &value, const QString &text, int pc)
    {
        QVector<int> &list = pcs[value];
        if (list.isEmpty())
            shown.insert(value, text);
        if (list.isEmpty() || list.constLast() != pc)
            list.append(pc);
    }
};

// The evidence two PCs share, per kind.
struct Shared
{
    std::array<QStringList, KindCount> words;
};

QString trimmedUpper(const QVariant &value)
{
    return value.toString().trimmed().toUpper();
}

// Whether a serial number is a stand-in for none.
bool isPlaceholderSerial(const QString &upper)
{
    static const QStringList words {QStringLiteral("NONE"),
                                    QStringLiteral("N/A"),
                                    QStringLiteral("NA"),
                                    QStringLiteral("NULL"),
                                    QStringLiteral("UNKNOWN"),
                                    QStringLiteral("NOT SPECIFIED"),
                                    QStringLiteral("NOT AVAILABLE"),
                                    QStringLiteral("TO BE FILLED BY O.E.M."),
                                    QStringLiteral("DEFAULT STRING"),
                                    QStringLiteral("SYSTEM SERIAL NUMBER")};
    if (words.contains(upper))
        return true;
    // Only zeros and separators.
    return std::all_of(upper.cbegin(), upper.cend(), [](QChar c) {
        return c == u'0' || c == u'-' || c == u' ' || c == u'.' || c == u':';
    });
}

// A product ID of zeros and dashes says nothing.
bool isPlaceholderProductId(const QString &upper)
{
    return std::all_of(upper.cbegin(), upper.cend(),
                       [](QChar c) { return c == u'0' || c == u'-' || c == u' '; });
}

QDate dateOf(const QVariant &value, const char *column)
{
    return StoreValue::fromStore(*Schema::table(TableId::PC).column(QLatin1String(column)), value)
        .toDate();
}

// Whether PC a is the newer of the two: its collector data is later; a PC
// never imported is older than any imported one; then the one in service;
// then the smaller key.
bool isNewer(const Pc &a, const Pc &b)
{
    if (a.invaro != b.invaro) {
        if (!a.invaro.isValid() || !b.invaro.isValid())
            return a.invaro.isValid();
        return a.invaro > b.invaro;
    }
    if (a.tekkyo.isValid() != b.tekkyo.isValid())
        return !a.tekkyo.isValid();
    return a.key < b.key;
}

// The words of a shared name: host name when both host names are it, else
// computer name.
QString nameWords(const Pc &newer, const Pc &older, const QString &value)
{
    if (newer.host.compare(value, Qt::CaseInsensitive) == 0
        && older.host.compare(value, Qt::CaseInsensitive) == 0)
        return QStringLiteral("ホスト名 ") + newer.host.trimmed();
    if (newer.pcName.compare(value, Qt::CaseInsensitive) == 0
        && older.pcName.compare(value, Qt::CaseInsensitive) == 0)
        return QStringLiteral("コンピュータ名 ") + newer.pcName.trimmed();
    return QStringLiteral("コンピュータ名 ") + value;
}

} // namespace

QString Pair::evidenceText() const
{
    QString text = evidence.join(QStringLiteral(", "));
    if (removed)
        text += QStringLiteral(" (撤去済み: %1)").arg(removedKey);
    return text;
}

QString macAddress(const QString &text)
{
    QString hex;
    for (const QChar c : text) {
        if (c == u':' || c == u'-' || c == u'.' || c == u' ')
            continue;
        if (c.unicode() > 0x7f || !std::isxdigit(c.toLatin1()))
            return QString();
        hex.append(c.toUpper());
    }
    if (hex.size() != 12)
        return QString();
    // Not one PC's: no address, the broadcast address, group (multicast)
    // addresses, locally administered ones (set by software: virtual
    // adapters, VPNs, random addresses; the same on many PCs or new at
    // each start), and the fixed ones of Windows' dial-up adapters
    // ("DEST", "RAS SYN") and VMware's host adapters.
    if (hex == QLatin1String("000000000000") || hex == QLatin1String("FFFFFFFFFFFF"))
        return QString();
    if (hex.left(2).toInt(nullptr, 16) & 0x03)
        return QString();
    static const QStringList fixed {QStringLiteral("204153594EFF"), QStringLiteral("005056C00001"),
                                    QStringLiteral("005056C00008")};
    if (hex.startsWith(QLatin1String("44455354")) || fixed.contains(hex))
        return QString();
    QStringList octets;
    for (int i = 0; i < 12; i += 2)
        octets << hex.mid(i, 2);
    return octets.join(u'-');
}

Result find(TDMdata &dm)
{
    QVector<Pc> pcs;
    QHash<QString, int> indexOf;
    std::array<Values, KindCount> values;

    QSqlQuery q = dm.exec(QStringLiteral("SELECT Key, PC_Name, Host, Mac, CPU_Serial, "
                                         "Win_ProductID, Win_OEM_Model, InvaroYMD, TekkyoYMD\n"
                                         "FROM PC"));
    while (q.next()) {
        const int i = int(pcs.size());
        Pc pc {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
               dateOf(q.value(7), "InvaroYMD"), dateOf(q.value(8), "TekkyoYMD")};
        indexOf.insert(pc.key, i);
        if (const QString mac = macAddress(q.value(3).toString()); !mac.isEmpty())
            values[Mac].add(mac, QStringLiteral("MAC ") + mac, i);
        if (const QString serial = trimmedUpper(q.value(4)); !isPlaceholderSerial(serial))
            values[CpuSerial].add(
                serial, QStringLiteral("CPUシリアル ") + q.value(4).toString().trimmed(), i);
        const QString productId = trimmedUpper(q.value(5));
        const QString model = trimmedUpper(q.value(6));
        if (!isPlaceholderProductId(productId) && !model.isEmpty())
            values[ProductModel].add(
                productId + u'\t' + model,
                QStringLiteral("プロダクトID %1 と機種 %2")
                    .arg(q.value(5).toString().trimmed(), q.value(6).toString().trimmed()),
                i);
        // A computer name and a host name are one name, told apart only
        // in the words.
        const QString name = pc.pcName.trimmed().toLower();
        const QString host = pc.host.trimmed().toLower();
        if (!name.isEmpty())
            values[Name].add(name, QStringLiteral("コンピュータ名 ") + name, i);
        if (!host.isEmpty() && host != name)
            values[Name].add(host, QStringLiteral("ホスト名 ") + host, i);
        pcs.append(std::move(pc));
    }
    q.finish();

    QSqlQuery lan = dm.exec(QStringLiteral("SELECT Key, Mac FROM LAN\nWHERE Mac IS NOT NULL"));
    while (lan.next()) {
        const auto it = indexOf.constFind(lan.value(0).toString());
        if (it == indexOf.cend())
            continue; // an adapter row of no PC
        if (const QString mac = macAddress(lan.value(1).toString()); !mac.isEmpty())
            values[Mac].add(mac, QStringLiteral("MAC ") + mac, *it);
    }
    lan.finish();

    const QSet<DistinctPcs::Pair> marked = DistinctPcs::read(dm);

    Result result;
    // The pairs by their two indexes, smaller first.
    QHash<quint64, Shared> shared;
    for (int kind = 0; kind < KindCount; ++kind) {
        for (auto it = values[kind].pcs.begin(); it != values[kind].pcs.end(); ++it) {
            QVector<int> &list = it.value();
            if (list.size() < 2)
                continue;
            std::sort(list.begin(), list.end());
            list.erase(std::unique(list.begin(), list.end()), list.end());
            if (list.size() < 2)
                continue;
            if (list.size() > MaxSharing) {
                result.shared.append({values[kind].shown.value(it.key()), int(list.size())});
                continue;
            }
            for (int a = 0; a < list.size(); ++a) {
                for (int b = a + 1; b < list.size(); ++b) {
                    const quint64 id = (quint64(quint32(list[a])) << 32) | quint32(list[b]);
                    shared[id].words[kind].append(it.key());
                }
            }
        }
    }

    for (auto it = shared.cbegin(); it != shared.cend(); ++it) {
        const Pc &a = pcs[int(it.key() >> 32)];
        const Pc &b = pcs[int(it.key() & 0xffffffffu)];
        if (marked.contains(DistinctPcs::pair(a.key, b.key)))
            continue;
        const bool aNewer = isNewer(a, b);
        const Pc &newer = aNewer ? a : b;
        const Pc &older = aNewer ? b : a;
        Pair pair;
        pair.newerKey = newer.key;
        pair.olderKey = older.key;
        for (int kind = 0; kind < KindCount; ++kind) {
            QStringList found = it.value().words[kind];
            if (found.isEmpty())
                continue;
            pair.score += Points[kind];
            found.sort();
            for (const QString &value : std::as_const(found))
                pair.evidence << (kind == Name ? nameWords(newer, older, value)
                                               : values[kind].shown.value(value));
        }
        pair.evidence.removeDuplicates();
        pair.removed = newer.tekkyo.isValid() || older.tekkyo.isValid();
        if (pair.removed)
            pair.removedKey = newer.tekkyo.isValid() ? newer.key : older.key;
        result.pairs.append(std::move(pair));
    }
    std::sort(result.pairs.begin(), result.pairs.end(), [](const Pair &x, const Pair &y) {
        if (x.removed != y.removed)
            return !x.removed;
        if (x.score != y.score)
            return x.score > y.score;
        if (x.newerKey != y.newerKey)
            return x.newerKey < y.newerKey;
        return x.olderKey < y.olderKey;
    });
    std::sort(result.shared.begin(), result.shared.end(),
              [](const SharedValue &x, const SharedValue &y) {
                  return x.pcs != y.pcs ? x.pcs > y.pcs : x.text < y.text;
              });
    return result;
}

} // namespace PcDuplicates
