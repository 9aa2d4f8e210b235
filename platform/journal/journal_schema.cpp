// Version 1 holds the sessions. Version 2 adds each session's exact cost and
// a small table of totals per local day and currency, kept by triggers in the
// same statement (and so the same transaction) as every write of a session
// row; the history's views and the limits read that table instead of the rows.
// Version 3 adds the bytes received and sent, to the rows and to the totals.
// Version 4 counts in the totals the sessions whose bytes are not known.
#include "platform/journal/journal_schema.h"

#include <dlfcn.h>
#include <sqlite3.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include "core/history/history.h"

namespace tempodial {
namespace {

// The few SQLite calls the cost function needs, taken from the SQLite
// library that Qt's SQLite driver loaded with the journal (libqt6sql6-sqlite
// links the system's). The program does not link SQLite itself, so a start
// that never opens the journal never maps it.
struct SqliteCalls {
  decltype(&sqlite3_value_text) valueText;
  decltype(&sqlite3_value_bytes) valueBytes;
  decltype(&sqlite3_result_int64) resultInt64;
  decltype(&sqlite3_create_function_v2) createFunction;
};

template <typename Call>
bool find(void* library, const char* name, Call& call) {
  call = reinterpret_cast<Call>(dlsym(library, name));
  return call != nullptr;
}

// Null until the driver has loaded SQLite; found once, then kept.
const SqliteCalls* sqliteCalls() {
  static SqliteCalls calls{};
  static bool found = false;
  if (found) return &calls;
  void* library = dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return nullptr;
  found = find(library, "sqlite3_value_text", calls.valueText) &&
          find(library, "sqlite3_value_bytes", calls.valueBytes) &&
          find(library, "sqlite3_result_int64", calls.resultInt64) &&
          find(library, "sqlite3_create_function_v2", calls.createFunction);
  return found ? &calls : nullptr;
}

void costFunction(sqlite3_context* context, int, sqlite3_value** values) {
  const SqliteCalls& sqlite = *sqliteCalls();  // found before the function was installed
  auto text = [&sqlite](sqlite3_value* value) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite.valueText(value));
    return bytes == nullptr
               ? std::string_view()
               : std::string_view(bytes, static_cast<std::size_t>(sqlite.valueBytes(value)));
  };
  sqlite.resultInt64(context, sessionCost(text(values[0]), text(values[1])).micros);
}

// The local day a session counts on, as the totals' key.
#define LOCAL_DAY(row) "date(" row ".start_utc + " row ".utc_offset, 'unixepoch')"

// Adds one session's row to its day's totals.
#define COUNT_IN(row)                                                                      \
  "INSERT INTO day_totals (day, currency, sessions, seconds, cost, first_start) VALUES "   \
  "(" LOCAL_DAY(row) ", " row ".currency, 1, " row ".seconds, " row ".cost, " row          \
                     ".start_utc)"                                                         \
                     " ON CONFLICT (day, currency) DO UPDATE SET sessions = sessions + 1," \
                     " seconds = seconds + excluded.seconds, cost = cost + excluded.cost," \
                     " first_start = MIN(first_start, excluded.first_start);"

// Takes one session's row out of its day's totals; a day left with no
// session has no totals row.
#define COUNT_OUT(row)                                                                  \
  "UPDATE day_totals SET sessions = sessions - 1, seconds = seconds - " row             \
  ".seconds,"                                                                           \
  " cost = cost - " row ".cost WHERE day = " LOCAL_DAY(                                 \
      row) " AND currency = " row                                                       \
           ".currency;"                                                                 \
           " DELETE FROM day_totals WHERE day = " LOCAL_DAY(row) " AND currency = " row \
                                                                 ".currency"            \
                                                                 " AND sessions <= 0;"

// From version 3 the totals carry the bytes too; a session whose bytes are
// unknown adds none.
#define BYTES(row, column) "COALESCE(" row "." column ", 0)"
#define COUNT_IN_BYTES(row) \
  "INSERT INTO day_totals (day, currency, sessions, seconds, cost, first_start, received, sent)" \
  " VALUES (" LOCAL_DAY(row) ", " row ".currency, 1, " row ".seconds, " row ".cost, " row       \
  ".start_utc, " BYTES(row, "received_bytes") ", " BYTES(row, "sent_bytes") ")"               \
  " ON CONFLICT (day, currency) DO UPDATE SET sessions = sessions + 1,"                         \
  " seconds = seconds + excluded.seconds, cost = cost + excluded.cost,"                         \
  " first_start = MIN(first_start, excluded.first_start),"                                      \
  " received = received + excluded.received, sent = sent + excluded.sent;"
#define COUNT_OUT_BYTES(row) \
  "UPDATE day_totals SET sessions = sessions - 1, seconds = seconds - " row ".seconds,"     \
  " cost = cost - " row ".cost, received = received - " BYTES(row, "received_bytes") ","   \
  " sent = sent - " BYTES(row, "sent_bytes") " WHERE day = " LOCAL_DAY(row)                 \
  " AND currency = " row ".currency;"                                                        \
  " DELETE FROM day_totals WHERE day = " LOCAL_DAY(row) " AND currency = " row ".currency" \
  " AND sessions <= 0;"

// From version 4 the totals also count the sessions whose bytes are not
// known, so that a period's sums can show as partial without reading its rows.
#define UNKNOWN(row) "(" row ".received_bytes IS NULL)"
#define COUNT_IN_UNKNOWN(row) \
  "INSERT INTO day_totals (day, currency, sessions, seconds, cost, first_start, received, sent," \
  " unknown_bytes) VALUES (" LOCAL_DAY(row) ", " row ".currency, 1, " row ".seconds, " row     \
  ".cost, " row ".start_utc, " BYTES(row, "received_bytes") ", " BYTES(row, "sent_bytes") ", " \
  UNKNOWN(row) ") ON CONFLICT (day, currency) DO UPDATE SET sessions = sessions + 1,"          \
  " seconds = seconds + excluded.seconds, cost = cost + excluded.cost,"                        \
  " first_start = MIN(first_start, excluded.first_start),"                                     \
  " received = received + excluded.received, sent = sent + excluded.sent,"                     \
  " unknown_bytes = unknown_bytes + excluded.unknown_bytes;"
#define COUNT_OUT_UNKNOWN(row) \
  "UPDATE day_totals SET sessions = sessions - 1, seconds = seconds - " row ".seconds,"     \
  " cost = cost - " row ".cost, received = received - " BYTES(row, "received_bytes") ","   \
  " sent = sent - " BYTES(row, "sent_bytes") ", unknown_bytes = unknown_bytes - "          \
  UNKNOWN(row) " WHERE day = " LOCAL_DAY(row) " AND currency = " row ".currency;"          \
  " DELETE FROM day_totals WHERE day = " LOCAL_DAY(row) " AND currency = " row ".currency" \
  " AND sessions <= 0;"

}  // namespace

const std::vector<std::vector<const char*>>& journalSteps() {
  static const std::vector<std::vector<const char*>> steps{
      {
          "CREATE TABLE IF NOT EXISTS sessions ("
          " id INTEGER PRIMARY KEY,"
          " start_utc INTEGER NOT NULL,"   // seconds since 1970, UTC
          " utc_offset INTEGER NOT NULL,"  // seconds east of UTC at the start
          " end_utc INTEGER NOT NULL,"     // the end, or the last moment known to run
          " seconds INTEGER NOT NULL,"     // seconds the clock counted
          " cost_start TEXT NOT NULL,"
          " cost_end TEXT NOT NULL,"
          " tariff TEXT NOT NULL,"
          " rate REAL NOT NULL,"
          " currency TEXT NOT NULL,"
          " hours TEXT NOT NULL,"  // the counters as they last stood
          " minutes TEXT NOT NULL,"
          " secs TEXT NOT NULL,"
          " end_kind TEXT,"  // NULL while running; stopped, exit or interrupted
          " restore_asked INTEGER NOT NULL DEFAULT 0)",
          "CREATE INDEX IF NOT EXISTS sessions_by_start ON sessions(start_utc)",
      },
      {
          // Millionths of the currency: tempodial_cost(cost_start, cost_end).
          "ALTER TABLE sessions ADD COLUMN cost INTEGER NOT NULL DEFAULT 0",
          "UPDATE sessions SET cost = tempodial_cost(cost_start, cost_end)",
          "CREATE TABLE day_totals ("
          " day TEXT NOT NULL,"  // the local date of the sessions' starts
          " currency TEXT NOT NULL,"
          " sessions INTEGER NOT NULL,"
          " seconds INTEGER NOT NULL,"
          " cost INTEGER NOT NULL,"         // millionths of the currency
          " first_start INTEGER NOT NULL,"  // orders the currencies as they first came
          " PRIMARY KEY (day, currency)) WITHOUT ROWID",
          "INSERT INTO day_totals (day, currency, sessions, seconds, cost, first_start)"
          " SELECT date(start_utc + utc_offset, 'unixepoch'), currency, COUNT(*), SUM(seconds),"
          " SUM(cost), MIN(start_utc) FROM sessions GROUP BY 1, 2",
          "CREATE TRIGGER day_totals_insert AFTER INSERT ON sessions BEGIN " COUNT_IN("NEW") " END",
          "CREATE TRIGGER day_totals_delete AFTER DELETE ON sessions BEGIN " COUNT_OUT(
              "OLD") " END",
          "CREATE TRIGGER day_totals_update"
          " AFTER UPDATE OF start_utc, utc_offset, seconds, currency, cost ON sessions "
          "BEGIN " COUNT_OUT("OLD") COUNT_IN("NEW") " END",
      },
      {
          // The bytes of each run; older runs keep NULL, as nothing is known
          // of them.
          "ALTER TABLE sessions ADD COLUMN received_bytes INTEGER",
          "ALTER TABLE sessions ADD COLUMN sent_bytes INTEGER",
          "ALTER TABLE day_totals ADD COLUMN received INTEGER NOT NULL DEFAULT 0",
          "ALTER TABLE day_totals ADD COLUMN sent INTEGER NOT NULL DEFAULT 0",
          "DROP TRIGGER day_totals_insert",
          "DROP TRIGGER day_totals_delete",
          "DROP TRIGGER day_totals_update",
          "CREATE TRIGGER day_totals_insert AFTER INSERT ON sessions BEGIN " COUNT_IN_BYTES(
              "NEW") " END",
          "CREATE TRIGGER day_totals_delete AFTER DELETE ON sessions BEGIN " COUNT_OUT_BYTES(
              "OLD") " END",
          "CREATE TRIGGER day_totals_update AFTER UPDATE OF start_utc, utc_offset, seconds,"
          " currency, cost, received_bytes, sent_bytes ON sessions "
          "BEGIN " COUNT_OUT_BYTES("OLD") COUNT_IN_BYTES("NEW") " END",
      },
      {
          // How many of each day's sessions have no bytes, counted in one
          // pass over the rows.
          "ALTER TABLE day_totals ADD COLUMN unknown_bytes INTEGER NOT NULL DEFAULT 0",
          "UPDATE day_totals SET unknown_bytes = unknown.sessions FROM"
          " (SELECT date(start_utc + utc_offset, 'unixepoch') AS day, currency,"
          " COUNT(*) AS sessions FROM sessions WHERE received_bytes IS NULL GROUP BY 1, 2)"
          " AS unknown WHERE day_totals.day = unknown.day"
          " AND day_totals.currency = unknown.currency",
          "DROP TRIGGER day_totals_insert",
          "DROP TRIGGER day_totals_delete",
          "DROP TRIGGER day_totals_update",
          "CREATE TRIGGER day_totals_insert AFTER INSERT ON sessions BEGIN " COUNT_IN_UNKNOWN(
              "NEW") " END",
          "CREATE TRIGGER day_totals_delete AFTER DELETE ON sessions BEGIN " COUNT_OUT_UNKNOWN(
              "OLD") " END",
          "CREATE TRIGGER day_totals_update AFTER UPDATE OF start_utc, utc_offset, seconds,"
          " currency, cost, received_bytes, sent_bytes ON sessions "
          "BEGIN " COUNT_OUT_UNKNOWN("OLD") COUNT_IN_UNKNOWN("NEW") " END",
      },
  };
  return steps;
}

bool installCostFunction(const QSqlDatabase& db) {
  const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return false;
  sqlite3* sqlite = *static_cast<sqlite3* const*>(handle.constData());
  const SqliteCalls* calls = sqliteCalls();
  return sqlite != nullptr && calls != nullptr &&
         calls->createFunction(sqlite, "tempodial_cost", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                               nullptr, costFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace tempodial
