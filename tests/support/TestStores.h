#pragma once

#include "store/StoreSettings.h"
#include "store/TableCheckObserver.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class TDMdata;

// Fresh stores for tests: a local store in a temporary folder, and a new
// database on the throwaway PostgreSQL server that the test command starts
// (ORVANE_TEST_PG_HOST / _PORT / _USER). Without that server the
// PostgreSQL rows of a test are skipped, unless ORVANE_TEST_PG_REQUIRED=1,
// in which case they fail.
class TestStore
{
public:
    enum class Kind { SQLite, PostgreSQL };

    // Adds the column "engine" (int) with a row per engine to a QTest data
    // table; rowPrefix names the rows.
    static void addEngineRows(const char *rowPrefix = "");

    // A fresh, empty store of the engine named by the "engine" column.
    // Calls QSKIP/QFAIL itself when PostgreSQL is not available; check
    // isValid() and return.
    explicit TestStore(int engine);
    ~TestStore();

    bool isValid() const { return m_valid; }
    StoreSettings settings() const { return m_settings; }
    Kind kind() const { return m_kind; }
    QString folder() const { return m_settings.folder; }

    static bool postgresAvailable();
    static StoreSettings postgresServer(const QString &database);

private:
    Kind m_kind;
    bool m_valid = false;
    StoreSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Skips (or fails, when required) a PostgreSQL row; use right after
// constructing a TestStore.
#define ORVANE_REQUIRE_STORE(store)                                                                \
    do {                                                                                           \
        if (!(store).isValid()) {                                                                  \
            if (qEnvironmentVariableIntValue("ORVANE_TEST_PG_REQUIRED"))                           \
                QFAIL("PostgreSQL test server not reachable");                                     \
            QSKIP("no PostgreSQL test server (ORVANE_TEST_PG_HOST unset)");                        \
        }                                                                                          \
    } while (0)

// A table check that no one watches.
class SilentTableCheck : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

// Opens the store with these settings and runs the table check, checks
// times (a second check runs the upgrades that every store in use has had).
void openCheckedStore(TDMdata &dm, const StoreSettings &settings, int checks = 1);
