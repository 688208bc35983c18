#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

class TDMdata;

// Finding PCs that are probably one PC entered twice: a PC renamed,
// re-imaged or given a new key comes back from the collector as a new PC
// beside its old entry. Two PCs are a pair when they share evidence:
//
//   MAC address (PC.Mac or any LAN adapter row)   strong, 40 points
//   CPU serial number                             strong, 40 points
//   computer name or host name                    medium, 20 points
//   Windows product ID together with OEM model    medium, 20 points
//
// Each kind counts once per pair; the score is their sum. A value that
// says nothing of one PC is ignored: empty, malformed or placeholder
// values (an all-zero or broadcast MAC, a multicast or locally
// administered one, the addresses every Windows dial-up adapter or VMware
// host adapter has, a serial of zeros), and any value that more than
// MaxSharing PCs have (an adapter's fixed address, a volume licence on one
// model, a name like "USER-PC").
//
// Values are gathered in one pass and grouped by value, so the work grows
// with the number of PCs, not of pairs.
namespace PcDuplicates {

// A value shared by more PCs than this is not evidence of one PC.
constexpr int MaxSharing = 4;

constexpr int StrongPoints = 40;
constexpr int MediumPoints = 20;

struct Pair
{
    QString newerKey; // the later InvaroYMD (a PC never imported is older)
    QString olderKey;
    int score = 0;
    QStringList evidence; // in words, strongest first: "MAC 00-11-22-00-00-04"
    // One of the two has a removal date (撤去日): shown after the others.
    bool removed = false;
    QString removedKey; // the one removed (the newer one when both are)

    // The evidence in one line, with the removal noted at its end.
    QString evidenceText() const;
};

// A value ignored because too many PCs share it.
struct SharedValue
{
    QString text; // as in the evidence: "MAC 02-00-00-00-00-02"
    int pcs = 0;
};

struct Result
{
    // The pairs in the order shown: those without a removal date first,
    // each part by score, highest first, then by key.
    QVector<Pair> pairs;
    QVector<SharedValue> shared;
};

// The pairs of the store, without those marked 「別のPC」 (DistinctPcs).
// Throws StoreError.
Result find(TDMdata &dm);

// The canonical MAC address ("00-11-22-AA-BB-CC") of a stored text in any
// of the usual spellings; empty when it is not one PC's address.
QString macAddress(const QString &text);

} // namespace PcDuplicates
