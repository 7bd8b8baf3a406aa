#pragma once

#include <QString>

namespace guestdriver {

// Lays out a program folder for the console in `folder`: a copy of
// `settingIni` as its setting.ini, the built skin and pictures under tools/,
// and an empty log/. Throws std::runtime_error.
void LayOutProgramFolder(const QString& folder, const QString& settingIni);

}  // namespace guestdriver
