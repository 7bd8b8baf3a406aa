#include "simulator/simscript.h"

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace {

// Words of one script line; Rest() is everything after the words taken so far.
class TLine {
public:
    explicit TLine(std::string_view text) : FText(text) {}

    std::string_view Word() {
        SkipBlanks();
        size_t end = FText.find_first_of(" \t");
        std::string_view word = FText.substr(0, end);
        FText.remove_prefix(word.size());
        return word;
    }
    std::string_view Rest() {
        SkipBlanks();
        return FText;
    }

private:
    void SkipBlanks() {
        size_t start = FText.find_first_not_of(" \t");
        FText.remove_prefix(start == std::string_view::npos ? FText.size() : start);
    }

    std::string_view FText;
};

struct TActionSpelling {
    TReplyAction action;
    bool takesNumber;
};

const std::map<std::string_view, TActionSpelling>& Actions() {
    static const std::map<std::string_view, TActionSpelling> actions = {
        {"reply", {TReplyAction::Reply, false}},
        {"empty", {TReplyAction::Empty, false}},
        {"failure", {TReplyAction::Failure, false}},
        {"silent", {TReplyAction::Silent, false}},
        {"close", {TReplyAction::Close, false}},
        {"close-after", {TReplyAction::CloseAfter, true}},
        {"garbage", {TReplyAction::Garbage, true}},
        {"id-length", {TReplyAction::IDLength, true}},
        {"data-length", {TReplyAction::DataLength, true}},
        {"trickle", {TReplyAction::Trickle, true}},
        {"delay", {TReplyAction::Delay, true}},
    };
    return actions;
}

int64_t Number(std::string_view word, const std::string& where) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
        throw std::invalid_argument(where + ": \"" + std::string(word) + "\" is not a number");
    }
    return value;
}

bool OnOff(std::string_view word, const std::string& where) {
    if (word != "on" && word != "off") {
        throw std::invalid_argument(where + ": expected on or off");
    }
    return word == "on";
}

void ParseSetting(TLine& line, TRoomSettings& settings, const std::string& where) {
    std::string_view name = line.Word();
    std::string_view value = line.Word();
    if (name == "volume") {
        settings.volume = static_cast<int>(Number(value, where));
    } else if (name == "microphone") {
        settings.microphone = static_cast<int>(Number(value, where));
    } else if (name == "key") {
        settings.key = static_cast<int>(Number(value, where));
    } else if (name == "mode") {
        settings.soundMode = static_cast<int>(Number(value, where));
    } else if (name == "vocal") {
        settings.vocalGuide = OnOff(value, where);
    } else if (name == "condition") {
        settings.condition = std::string(value);
    } else if (name == "late-length") {
        settings.lengthLate = OnOff(value, where);
    } else {
        throw std::invalid_argument(where + ": unknown setting \"" + std::string(name) + "\"");
    }
}

TScriptRule ParseRule(TLine& line, const std::string& where) {
    TScriptRule rule;
    rule.pattern = line.Word();
    std::string_view word = line.Word();
    if (word.size() > 1 && word[0] == 'x') {
        rule.remainingUses = static_cast<int>(Number(word.substr(1), where));
        word = line.Word();
    }
    auto spelling = Actions().find(word);
    if (rule.pattern.empty() || spelling == Actions().end()) {
        throw std::invalid_argument(where + ": expected on PATTERN [xN] ACTION ...");
    }
    rule.action = spelling->second.action;
    if (spelling->second.takesNumber) {
        rule.number = Number(line.Word(), where);
    }
    std::string_view text = line.Rest();
    if (rule.action == TReplyAction::Reply || !text.empty()) {
        rule.text = std::string(text);
    }
    return rule;
}

}  // namespace

std::string_view ActionName(TReplyAction action) {
    for (const auto& [word, spelling] : Actions()) {
        if (spelling.action == action) {
            return word;
        }
    }
    return "?";
}

bool ActionTakesNumber(TReplyAction action) {
    for (const auto& [word, spelling] : Actions()) {
        if (spelling.action == action) {
            return spelling.takesNumber;
        }
    }
    return false;
}

bool TScriptRule::Matches(std::string_view command) const {
    if (remainingUses == 0) {
        return false;
    }
    if (pattern == "*") {
        return true;
    }
    if (pattern.size() >= 2 && pattern.ends_with("#*")) {
        return command.starts_with(std::string_view(pattern).substr(0, pattern.size() - 1));
    }
    return command == pattern;
}

TSimScript TSimScript::Parse(std::string_view text) {
    TSimScript script;
    std::istringstream lines{std::string(text)};
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        const std::string where = "line " + std::to_string(number);
        TLine line(raw);
        std::string_view keyword = line.Word();
        if (keyword.empty() || keyword.starts_with("#")) {
            continue;
        }
        if (keyword == "set") {
            ParseSetting(line, script.settings, where);
        } else if (keyword == "song") {
            TSong song;
            song.id = static_cast<int>(Number(line.Word(), where));
            song.lengthSeconds = static_cast<int>(Number(line.Word(), where));
            script.playlist.push_back(song);
        } else if (keyword == "on") {
            script.rules.push_back(ParseRule(line, where));
        } else {
            throw std::invalid_argument(where + ": unknown keyword \"" + std::string(keyword) +
                                        "\"");
        }
    }
    return script;
}

TSimScript TSimScript::Load(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        throw std::invalid_argument("cannot read the script " + path);
    }
    std::stringstream content;
    content << file.rdbuf();
    return Parse(content.str());
}
