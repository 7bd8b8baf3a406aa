#pragma once

#include <string>

#include "link/timclistener.h"
#include "simulator/roomplayer.h"

// Carries a reply plan out on one connection: a proper frame, the failure
// marker, or one of the misbehaviours a venue's bring-up or a test asks for.
// Throws ELinkError when the console has gone.
void WriteReply(TIMCPeer& peer, const TReplyPlan& plan, const std::u16string& requestID);
