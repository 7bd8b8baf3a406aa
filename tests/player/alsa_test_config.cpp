#include "alsa_test_config.h"

#include <fstream>
#include <sstream>

namespace alsatest {

std::filesystem::path ValuesFile(const std::filesystem::path& folder, const std::string& card) {
    return folder / (card + "-values.txt");
}

std::filesystem::path WriteConfig(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path config = folder / "asound.conf";
    std::ofstream out(config);
    out << "ctl_type.lyraboxtest { lib \"" << LYRABOX_ALSA_TEST_PLUGIN << "\" }\n";
    const std::pair<const char*, const char*> cards[] = {{"testmic", "Mic Playback Volume"},
                                                         {"testcapture", "Mic Capture Volume"}};
    for (auto [card, control] : cards) {
        out << "ctl." << card << " { type lyraboxtest control \"" << control << "\" minimum "
            << kMinimum << " maximum " << kMaximum << " file \""
            << ValuesFile(folder, card).string() << "\" }\n";
    }
    return config;
}

std::string Values(const std::filesystem::path& folder, const std::string& card) {
    std::ifstream file(ValuesFile(folder, card));
    std::stringstream text;
    text << file.rdbuf();
    std::string values = text.str();
    if (!values.empty() && values.back() == '\n') {
        values.pop_back();
    }
    return values;
}

}  // namespace alsatest
