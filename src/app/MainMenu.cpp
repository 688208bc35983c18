#include "MainMenu.h"

#include <QMenu>

namespace {

QAction *item(QMenu *menu, const QString &caption, const QString &name)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

MainMenu::MainMenu(QWidget *parent) : QMenuBar(parent)
{
    setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    dbSetting = item(file, QStringLiteral("DB接続..."), QStringLiteral("DBSetting1"));
    importInvaro = item(file, QStringLiteral("Invaroﾃﾞｰﾀ読み込み(&R)"), QStringLiteral("Import1"));
    QMenu *exports = file->addMenu(QStringLiteral("ｴｸｽﾎﾟｰﾄ"));
    exportPc = item(exports, QStringLiteral("PC情報(&P)"), QStringLiteral("ExportPC1"));
    exportDrive = item(exports, QStringLiteral("ﾄﾞﾗｲﾌﾞ情報(&D)"), QStringLiteral("ExportDrive1"));
    exportPrinter
        = item(exports, QStringLiteral("ﾌﾟﾘﾝﾀ情報(&E)"), QStringLiteral("ExportPrinter1"));
    exportAppli = item(exports, QStringLiteral("ｱﾌﾟﾘ情報(&A)"), QStringLiteral("ExportAppli1"));
    file->addSeparator();
    exit = item(file, QStringLiteral("終了(&X)"), QStringLiteral("Exit1"));

    QMenu *dataMenu = addMenu(QStringLiteral("ﾃﾞｰﾀ(&D)"));
    pcTable = item(dataMenu, QStringLiteral("PCﾃｰﾌﾞﾙ(&P)"), QStringLiteral("PCTable1"));
    appliUpd = item(dataMenu, QStringLiteral("ｱﾌﾟﾘﾃﾞｰﾀ修正"), QStringLiteral("AppliUpd1"));
    history = item(dataMenu, QStringLiteral("変更履歴..."), QStringLiteral("History1"));
    duplicates = item(dataMenu, QStringLiteral("重複したPC..."), QStringLiteral("Duplicates1"));
    dataMenu->addSeparator();
    sqlWindow = item(dataMenu, QStringLiteral("SQLｳｨﾝﾄﾞｳ...(&Q)"), QStringLiteral("SQL1"));

    QMenu *tools = addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
    option = item(tools, QStringLiteral("ｵﾌﾟｼｮﾝ(&O)..."), QStringLiteral("Option1"));
    search = item(tools, QStringLiteral("検索..."), QStringLiteral("Search1"));
    search->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));

    QMenu *helpMenu = addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help = item(helpMenu, QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("Help1"));
    readMe = item(helpMenu, QStringLiteral("お読みください"), QStringLiteral("ReadMe1"));
    helpMenu->addSeparator();
    version = item(helpMenu, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報..."), QStringLiteral("Version1"));
}
