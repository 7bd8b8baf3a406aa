#pragma once

#include <filesystem>
#include <string>

// An ALSA configuration with two test controls on "cards" of the test plugin
// (alsa_test_control.cpp): testmic with "Mic Playback Volume" and testcapture
// with "Mic Capture Volume", both over -20..40, their values in files of
// folder. ALSA reads it when ALSA_CONFIG_PATH names it.
namespace alsatest {

constexpr long kMinimum = -20;
constexpr long kMaximum = 40;

std::filesystem::path WriteConfig(const std::filesystem::path& folder);
// The values file of a test card: "left right", empty before any is set.
std::filesystem::path ValuesFile(const std::filesystem::path& folder, const std::string& card);
std::string Values(const std::filesystem::path& folder, const std::string& card);

}  // namespace alsatest
