// The skin command dispatcher: one table from command name to action.
#include <stdexcept>

#include "console/uplayer.h"

// Two rows for one command, or a name hidden behind a prefix row, would make
// the table disagree with the skin's vocabulary: that is a mistake in the
// code, found by the first console a test makes.
void Tfplayer::AddCommand(const QString& name, std::function<void()> action, CommandKind kind) {
    if (commands_.contains(name) || prefixCommands_.contains(name.left(2))) {
        throw std::logic_error("skin command registered twice or hidden behind a prefix: " +
                               name.toStdString());
    }
    commands_.insert(name, {std::move(action), kind});
}

void Tfplayer::AddPrefixCommand(const QString& prefix, std::function<void(const QString&)> action) {
    if (prefix.size() != 2 || prefixCommands_.contains(prefix)) {
        throw std::logic_error("bad or repeated prefix command: " + prefix.toStdString());
    }
    for (auto row = commands_.cbegin(); row != commands_.cend(); ++row) {
        if (row.key().startsWith(prefix)) {
            throw std::logic_error("skin command hidden behind a prefix: " +
                                   row.key().toStdString());
        }
    }
    prefixCommands_.insert(prefix, std::move(action));
}

void Tfplayer::RegisterCommands() {
    RegisterPlayerCommands();
    RegisterBookingCommands();
    RegisterSongCommands();
    RegisterOrderCommands();
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
