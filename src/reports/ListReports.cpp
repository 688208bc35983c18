#include "ListReports.h"

#include "BandedReport.h"
#include "store/UDMdata.h"

using namespace Banded;

namespace {

const TAlignment Right = TAlignment::taRightJustify;

// The footer of a count: its caption, the count and "台".
Band countFooter(const QString &caption)
{
    return {6.3,
            {text(234.9, 0, caption, gothicPt(11, true)), count(256.1, 269.6, 0, pt(11)),
             text(270.9, 0, QStringLiteral("台"), pt(11))}};
}

ReportDef buKaBetuDef()
{
    ReportDef def;
    def.title = QStringLiteral("部課別一覧");
    def.marginTop = 25;
    // The print time at the top right ends at the right margin.
    def.pageHeader = Band {
        15.6,
        {dateTime(254.6, def.bandWidth(), 0.4, Right, pt(10)),
         text(112.2, 0, QStringLiteral("部・課別パソコン一覧"), gothicPt(16, true)),
         text(10.6, 10.6, QStringLiteral("Ｋｅｙ")), text(46.6, 10.6, QStringLiteral("メーカ")),
         text(74.1, 10.6, QStringLiteral("機種")), text(101.6, 10.6, QStringLiteral("型番")),
         text(131.2, 10.6, QStringLiteral("シリアル№")),
         text(163.0, 10.6, QStringLiteral("ｺﾝﾋﾟｭｰﾀ名")),
         text(194.7, 10.6, QStringLiteral("ＯＳタイプ")),
         text(247.7, 10.6, QStringLiteral("利用者")), line(0, 14.8, 275.2)}};
    def.groups = {
        {QStringLiteral("Bu"),
         {6.3, {column(0, 0, QStringLiteral("Bu"), pt(11))}},
         countFooter(QStringLiteral("部合計"))},
        {QStringLiteral("Ka"),
         {6.3, {column(4.2, 0, QStringLiteral("Ka"), pt(11))}},
         countFooter(QStringLiteral("課合計"))},
    };
    def.detail = {
        4.2,
        {column(10.6, 0, QStringLiteral("Key")), column(46.6, 0, QStringLiteral("Maker")),
         column(74.1, 0, QStringLiteral("Kisyu")), column(101.6, 0, QStringLiteral("Kataban")),
         column(131.2, 0, QStringLiteral("SerialNo")), column(163.0, 0, QStringLiteral("PC_Name")),
         column(194.7, 0, QStringLiteral("Win_Type")),
         column(247.7, 0, QStringLiteral("Riyosya"))}};
    def.summary = countFooter(QStringLiteral("総合計"));
    return def;
}

ReportDef kyoyuItiranDef()
{
    ReportDef def;
    def.title = QStringLiteral("部課別一覧");
    def.marginTop = 25;
    def.pageHeader
        = Band {15.6,
                {dateTime(257.5, def.bandWidth(), 0.4, Right, pt(10)),
                 text(108.0, 0, QStringLiteral("共　有　情　報　一　覧"), gothicPt(16, true))}};
    def.groups = {
        {QStringLiteral("Bu"),
         {4.2, {text(0, 0, QStringLiteral("部：")), column(6.3, 0, QStringLiteral("Bu"))}},
         std::nullopt},
        {QStringLiteral("Ka"),
         {8.5,
          {text(6.3, 0, QStringLiteral("課：")), column(12.7, 0, QStringLiteral("Ka")),
           text(12.7, 4.2, QStringLiteral("Ｋｅｙ")), text(38.1, 4.2, QStringLiteral("ｺﾝﾋﾟｭｰﾀ名")),
           text(65.6, 4.2, QStringLiteral("利用者")), text(86.8, 4.2, QStringLiteral("メーカ")),
           text(108.0, 4.2, QStringLiteral("機種")),
           text(137.6, 4.2, QStringLiteral("シリアル№"))}},
         std::nullopt},
        {QStringLiteral("Key"),
         {8.5,
          {column(12.7, 0, QStringLiteral("Key")), column(38.1, 0, QStringLiteral("PC_Name")),
           column(65.6, 0, QStringLiteral("Riyosya")), column(86.8, 0, QStringLiteral("Maker")),
           column(108.0, 0, QStringLiteral("Kisyu")), column(137.6, 0, QStringLiteral("SerialNo")),
           text(21.2, 4.2, QStringLiteral("共有名")), text(74.1, 4.2, QStringLiteral("パス"))}},
         std::nullopt},
    };
    def.detail = {4.2,
                  {column(21.2, 0, QStringLiteral("Sharedname")),
                   column(74.1, 0, QStringLiteral("SharedPath"))}};
    // A page that goes on with a PC's shares says whose they are and what
    // the columns hold.
    for (Banded::Group &group : def.groups)
        group.repeatOnNewPage = true;
    return def;
}

ReportDef appliDef()
{
    ReportDef def;
    def.title = QStringLiteral("アプリケーション導入状況");
    def.marginTop = 20;
    def.pageHeader = Band {
        26.2,
        {dateTime(256.6, 277.5, 0, Right, pt(11)),
         text(95.2, 2.1, QStringLiteral("アプリケーション導入状況一覧"), pt(18, true)),
         text(0, 12.7, QStringLiteral("アプリケーション名："), pt(14)),
         parameter(42.3, 12.7, QStringLiteral("Appli"), pt(14)),
         text(10.6, 21.2, QStringLiteral("部"), pt(11)),
         text(40.2, 21.2, QStringLiteral("課"), pt(11)),
         text(67.7, 21.2, QStringLiteral("利用者"), pt(11)),
         text(99.5, 21.2, QStringLiteral("コンピュータ名"), pt(11)),
         text(143.9, 21.2, QStringLiteral("プロダクトID"), pt(11)),
         text(196.8, 21.2, QStringLiteral("インストールキー"), pt(11)), line(0, 25.4, 277.0)}};
    def.groups = {
        {QStringLiteral("Appli"),
         {1.3, {}},
         Band {7.1, {count(258.2, 271.7, 0, pt(11)), text(273.1, 0, QStringLiteral("台"), pt(11))}},
         true}};
    def.detail = {6.3,
                  {column(10.6, 2.1, QStringLiteral("Bu"), pt(11)),
                   column(40.2, 2.1, QStringLiteral("Ka"), pt(11)),
                   column(67.7, 2.1, QStringLiteral("Riyosya"), pt(11)),
                   column(99.5, 2.1, QStringLiteral("PC_Name"), pt(11)),
                   column(143.9, 2.1, QStringLiteral("ProductID"), pt(11)),
                   column(196.8, 2.1, QStringLiteral("InstallKey"), pt(11))}};
    def.pageFooter = Band {6.6,
                           {line(0, 0.3, def.bandWidth()),
                            pageNumber(129.1, 150.8, 1.3, TAlignment::taCenter, pt(11))}};
    return def;
}

} // namespace

namespace ListReports {

std::unique_ptr<BandedReport> buKaBetu(TDMdata &dm)
{
    ReportStatement statement;
    statement.lines << QStringLiteral("Select * from PC") << QStringLiteral("ORDER BY BU, KA, KEY");
    return std::make_unique<BandedReport>(dm, buKaBetuDef(), statement,
                                          QVector<TableId> {TableId::PC});
}

std::unique_ptr<BandedReport> kyoyuItiran(TDMdata &dm, bool printerShares)
{
    // Key alone would be ambiguous (both tables have it), also in the ORDER
    // BY, which takes the name of the selected column.
    ReportStatement statement;
    statement.lines << QStringLiteral(
        "select Bu, Ka, P.Key AS Key, Riyosya, PC_Name, Maker, Kisyu, "
        "SerialNo, Sharedname, SharedPath")
                    << QStringLiteral("from PC P, SHARE S")
                    << QStringLiteral("where P.key = S.key");
    if (!printerShares)
        statement.lines << QStringLiteral("and S.SharedName not in ('print$', 'PRINTER$')");
    statement.lines << QStringLiteral("ORDER BY BU, KA, KEY");
    return std::make_unique<BandedReport>(dm, kyoyuItiranDef(), statement,
                                          QVector<TableId> {TableId::PC, TableId::Share});
}

std::unique_ptr<BandedReport> appli(TDMdata &dm, const QString &appli)
{
    ReportStatement statement;
    statement.lines << QStringLiteral(
        "SELECT PC.Key, Bu, Ka, Riyosya, PC_Name, Host, ProductID, InstallKey, Appli")
                    << QStringLiteral("FROM PC, Appli")
                    << QStringLiteral("WHERE PC.Key = Appli.Key")
                    << QStringLiteral("AND Appli.Appli = :Appli")
                    << QStringLiteral("AND PC.TEKKYOYMD is Null")
                    << QStringLiteral("Order By Appli, PC.Bu, PC.Ka, PC.Riyosya, PC.PC_Name");
    statement.params.insert(QStringLiteral("Appli"), appli);
    return std::make_unique<BandedReport>(dm, appliDef(), statement,
                                          QVector<TableId> {TableId::PC, TableId::Appli});
}

bool appliKnown(TDMdata &dm, const QString &appli)
{
    QSqlQuery query = dm.exec(QStringLiteral("SELECT 1 FROM Appli\nWHERE Appli = :Appli"),
                              {{QStringLiteral(":Appli"), appli}});
    const bool known = query.next();
    query.finish();
    return known;
}

} // namespace ListReports
