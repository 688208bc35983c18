#include "UserStatement.h"

#include "PostgresUserStatement.h"
#include "SqlText.h"
#include "SqliteUserStatement.h"
#include "StoreSettings.h"

std::unique_ptr<UserStatement> UserStatement::connect(const StoreSettings &settings, Mode mode)
{
    if (settings.mode == StoreSettings::Mode::Local)
        return std::make_unique<SqliteUserStatement>(settings, mode);
    return std::make_unique<PostgresUserStatement>(settings, mode);
}

QString UserStatement::withoutTrailingSemicolon(const QString &sql, SqlText::Syntax syntax)
{
    // The last ";" in code after which only blanks and comments follow.
    qsizetype cut = -1;
    bool onlyBlanksSince = false;
    qsizetype offset = 0;
    SqlText::forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            if (!isCode) {
                const bool comment = run.startsWith(u'-') || run.startsWith(u'/');
                if (!comment)
                    onlyBlanksSince = false;
            } else {
                for (qsizetype i = 0; i < run.size(); ++i) {
                    if (run[i] == u';') {
                        if (!onlyBlanksSince)
                            cut = offset + i;
                        onlyBlanksSince = true;
                    } else if (!run[i].isSpace()) {
                        onlyBlanksSince = false;
                    }
                }
            }
            offset += run.size();
        },
        syntax);
    if (cut < 0 || !onlyBlanksSince)
        return sql;
    return sql.left(cut);
}

QString UserStatement::nulText()
{
    return QStringLiteral("SQL文にNUL文字 (文字コード0) が含まれているため実行できません");
}

QString UserStatement::cancelText()
{
    return QStringLiteral("SQLの実行を中止しました");
}

QString UserStatement::timeLimitText(int seconds)
{
    return QStringLiteral("SQLの実行が%1秒を超えたため中止しました").arg(seconds);
}

QString UserStatement::tooLargeText(qint64 bytes)
{
    return QStringLiteral("%1バイトを超える値は読み込めません").arg(bytes);
}
