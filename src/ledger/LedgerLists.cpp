#include "LedgerLists.h"

namespace LedgerLists {

QString statement(List list)
{
    switch (list) {
    case List::Drive:
        return QStringLiteral("SELECT Key, DRIVE, Capa, Capa_Tani, Used, Used_Tani, Free, "
                              "Free_Tani, Type, Biko FROM DRIVE\n"
                              "Where Key = :Key\n"
                              "Order BY Drive");
    case List::Printer:
        return QStringLiteral("SELECT Key, Printer, Biko FROM PRINTER\n"
                              "Where Key = :Key\n"
                              "ORDER BY Printer");
    case List::Appli:
        return QStringLiteral("SELECT Key, Appli, Ver, ProductID, License, InstallKey, Biko "
                              "FROM APPLI\n"
                              "Where Key = :Key\n"
                              "ORDER BY APPLI");
    case List::Share:
        return QStringLiteral("SELECT Key, SharedName, SharedPath, Biko FROM SHARE\n"
                              "Where Key = :Key\n"
                              "ORDER BY SharedName");
    case List::Adapter:
        return QStringLiteral("SELECT Key, Seq, IP, SubNet, Gateway, DHCP, DNS1, DNS2, WINS1, "
                              "WINS2, Mac, LAN_ADapter FROM LAN\n"
                              "Where Key = :Key\n"
                              "ORDER BY Seq");
    case List::Memory:
        return QStringLiteral("SELECT Seq, DeviceLocator, MB, Speed, Formfacturer, Type FROM "
                              "Pmemory\n"
                              "Where Key = :Key\n"
                              "ORDER BY Seq");
    }
    return {};
}

TableId table(List list)
{
    switch (list) {
    case List::Drive:
        return TableId::Drive;
    case List::Printer:
        return TableId::Printer;
    case List::Appli:
        return TableId::Appli;
    case List::Share:
        return TableId::Share;
    case List::Adapter:
        return TableId::LAN;
    case List::Memory:
        return TableId::PMEMORY;
    }
    return TableId::PC;
}

QString nameColumn(List list)
{
    return Schema::table(table(list)).primaryKey.value(1);
}

QString deleteStatement(List list)
{
    switch (list) {
    case List::Drive:
        return QStringLiteral("DELETE FROM DRIVE\nWHERE KEY = :KEY\nAND DRIVE = :DRIVE");
    case List::Printer:
        return QStringLiteral("DELETE FROM printer\nWHERE KEY = :KEY\nAND printer = :printer");
    case List::Appli:
        return QStringLiteral("DELETE FROM Appli\nWHERE KEY = :KEY\nAND Appli = :Appli");
    case List::Share:
        return QStringLiteral("DELETE FROM Share\nWHERE KEY = :KEY\nAND SharedName = :Share");
    case List::Adapter:
    case List::Memory:
        break;
    }
    return {};
}

QString deleteNameParameter(List list)
{
    switch (list) {
    case List::Drive:
        return QStringLiteral(":DRIVE");
    case List::Printer:
        return QStringLiteral(":printer");
    case List::Appli:
        return QStringLiteral(":Appli");
    case List::Share:
        return QStringLiteral(":Share");
    case List::Adapter:
    case List::Memory:
        break;
    }
    return {};
}

} // namespace LedgerLists
