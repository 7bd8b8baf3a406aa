#pragma once

#include <QString>

// The demo and every test run with LYRABOX_LOOPBACK_ONLY=1: then nothing but
// 127.0.0.0/8 may be contacted and the machine's clock is never set, so a run
// that forgot its own "setting.ini" fails on the default venue host instead of
// reaching into a network it does not belong to.
namespace loopbackguard {

bool LoopbackOnly();
// True for literal addresses in 127.0.0.0/8 and for "localhost".
bool IsLoopbackHost(const QString& host);
// Throws std::runtime_error when loopback-only mode forbids contacting host.
void CheckHostAllowed(const QString& host);

}  // namespace loopbackguard
