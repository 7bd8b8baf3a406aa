#include "bench/databasesteps.h"

#include "bench/databasestep_run.h"

namespace faultbench {

const std::vector<DatabaseStepFault>& DatabaseStepFaults() {
    static const std::vector<DatabaseStepFault> rows = [] {
        const struct {
            const char* name;
            GuestStep step;
        } steps[] = {{"search", GuestStep::Search},    {"add", GuestStep::Add},
                     {"delete", GuestStep::Delete},    {"priority", GuestStep::Priority},
                     {"call", GuestStep::Call},        {"order", GuestStep::Order},
                     {"check-in", GuestStep::CheckIn}, {"clock", GuestStep::Clock}};
        // The names live as long as the program.
        static std::vector<QByteArray> names;
        std::vector<DatabaseStepFault> made;
        for (const ServerFault fault : {ServerFault::Stopped, ServerFault::Hung}) {
            for (const auto& step : steps) {
                names.push_back(
                    QByteArray(fault == ServerFault::Stopped ? "stopped at " : "hung at ") +
                    step.name);
            }
        }
        size_t i = 0;
        for (const ServerFault fault : {ServerFault::Stopped, ServerFault::Hung}) {
            for (const auto& step : steps) {
                made.push_back({names[i++].constData(), fault, step.step});
            }
        }
        return made;
    }();
    return rows;
}

const DatabaseStepFault* FindDatabaseStepFault(const QString& name) {
    for (const DatabaseStepFault& fault : DatabaseStepFaults()) {
        if (name == QLatin1String(fault.name)) {
            return &fault;
        }
    }
    return nullptr;
}

int RunDatabaseStep(const DatabaseStepFault& fault, int index, const QString& serverFolder) {
    dbstep::TDatabaseStepRun run(fault, index, serverFolder);
    return run.Run();
}

}  // namespace faultbench
