#pragma once

// The console against its database server stopped, and hung (frozen with
// SIGSTOP: it takes connections and never answers), at each guest step that
// uses the database. One row is one server fault at one step, run in a
// process of its own: the guest makes the step while the server is away,
// the server comes back, the console settles, the guest makes the step again.
#include <QString>
#include <vector>

namespace faultbench {

enum class ServerFault { Stopped, Hung };

enum class GuestStep { Search, Add, Delete, Priority, Call, Order, CheckIn, Clock };

struct DatabaseStepFault {
    const char* name;
    ServerFault fault;
    GuestStep step;
};

// The rows in the table's order: each step stopped, then hung.
const std::vector<DatabaseStepFault>& DatabaseStepFaults();
const DatabaseStepFault* FindDatabaseStepFault(const QString& name);

// The longest block the guest may meet at one step: one wait of the
// database connection's limit (10 s for a connect or a statement; a
// connection tries a server that does not answer once per action), and a
// second for the event loop's own granularity and the machine's load.
constexpr qint64 kDatabaseWaitLimitMs = 11000;
// Blocks closer together than this count as in a row: a guest who tries again
// as soon as the console answers meets the next one.
constexpr qint64 kFreeBetweenBlocksMs = 3000;

// Runs the row in this process and prints its "DBRESULT" line on standard
// output, the steps on standard error; returns the exit status.
int RunDatabaseStep(const DatabaseStepFault& fault, int index, const QString& serverFolder);

}  // namespace faultbench
