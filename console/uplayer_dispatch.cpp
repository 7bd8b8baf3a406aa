// The skin command dispatcher: one table from command name to action.
#include "console/uplayer.h"

void Tfplayer::AddCommand(const QString& name, std::function<void()> action, CommandKind kind) {
    commands_.insert(name, {std::move(action), kind});
}

void Tfplayer::AddPrefixCommand(const QString& prefix, std::function<void(const QString&)> action) {
    prefixCommands_.insert(prefix, std::move(action));
}

void Tfplayer::RegisterCommands() {
    RegisterBookingCommands();
    RegisterSongCommands();
}

namespace {

// Characters 3 to 6 of a prefix command, without leading or trailing blanks
// and control characters.
QString PrefixValue(const QString& command) {
    QString value = command.mid(2, 4);
    qsizetype start = 0;
    qsizetype end = value.size();
    while (start < end && value.at(start).unicode() <= 0x20) {
        ++start;
    }
    while (end > start && value.at(end - 1).unicode() <= 0x20) {
        --end;
    }
    return value.mid(start, end - start);
}

}  // namespace

void Tfplayer::MainSkinNewFSCommand(const QString& command, const QString& /*args*/) {
    Guarded(QStringLiteral("FSCommand "), [&] {
        // No exact name starts with a prefix, so at most one row applies.
        const auto prefix = prefixCommands_.constFind(command.left(2));
        if (prefix != prefixCommands_.constEnd()) {
            (*prefix)(PrefixValue(command));
            return;
        }
        const auto row = commands_.constFind(command);
        if (row == commands_.constEnd()) {
            return;
        }
        if (row->kind == CommandKind::Silent) {
            // A silent row ends at its failing step; what it did stays done.
            Silent(row->action);
        } else {
            row->action();
        }
    });
}
