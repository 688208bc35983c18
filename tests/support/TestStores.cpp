#include "TestStores.h"

#include "store/UDMdata.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

namespace {

QString adminConnection()
{
    const QString name = QStringLiteral("orvane-test-admin");
    if (!QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const StoreSettings s = TestStore::postgresServer(QStringLiteral("postgres"));
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setDatabaseName(s.database);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    return name;
}

} // namespace

void TestStore::addEngineRows(const char *rowPrefix)
{
    QTest::addColumn<int>("engine");
    QTest::newRow(qPrintable(QStringLiteral("%1sqlite").arg(QLatin1String(rowPrefix))))
        << static_cast<int>(Kind::SQLite);
    QTest::newRow(qPrintable(QStringLiteral("%1postgresql").arg(QLatin1String(rowPrefix))))
        << static_cast<int>(Kind::PostgreSQL);
}

bool TestStore::postgresAvailable()
{
    return !qEnvironmentVariable("ORVANE_TEST_PG_HOST").isEmpty();
}

StoreSettings TestStore::postgresServer(const QString &database)
{
    StoreSettings s;
    s.mode = StoreSettings::Mode::Remote;
    s.host = qEnvironmentVariable("ORVANE_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("ORVANE_TEST_PG_PORT");
    if (s.port == 0)
        s.port = 5432;
    s.user = qEnvironmentVariable("ORVANE_TEST_PG_USER", QStringLiteral("postgres"));
    s.database = database;
    return s;
}

TestStore::TestStore(int engine) : m_kind(static_cast<Kind>(engine))
{
    if (m_kind == Kind::SQLite) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings.mode = StoreSettings::Mode::Local;
        m_settings.folder = m_dir->path();
        m_valid = m_dir->isValid();
        return;
    }
    if (!postgresAvailable())
        return;
    QSqlDatabase admin = QSqlDatabase::database(adminConnection());
    if (!admin.isOpen())
        return;
    const QString name
        = QStringLiteral("orvane_t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
    QSqlQuery q(admin);
    if (!q.exec(QStringLiteral("CREATE DATABASE %1").arg(name)))
        return;
    m_settings = postgresServer(name);
    m_valid = true;
}

TestStore::~TestStore()
{
    if (m_kind != Kind::PostgreSQL || !m_valid)
        return;
    QSqlDatabase admin = QSqlDatabase::database(adminConnection());
    QSqlQuery q(admin);
    q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
}

void openCheckedStore(TDMdata &dm, const StoreSettings &settings, int checks)
{
    dm.setSettings(settings);
    dm.open();
    SilentTableCheck check;
    for (int i = 0; i < checks; ++i)
        dm.checkTables(check);
}
