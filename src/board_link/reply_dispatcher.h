#pragma once

#include "board_link/link_state.h"
#include "register_editors/register_image.h"

namespace rtceval {

class ReplyEffects;
struct DeviceProfile;

struct ReplyContext {
  LinkState& link;
  RegisterImage& registers;
  const DeviceProfile& profile;
  ReplyEffects& effects;
};

// Interprets the complete, checksummed reply in RecvBuf under the CmdState of this moment: checks
// lead and flag bytes, reports a board status code, then applies the rule for the request kind.
void ParseReply(ReplyContext& ctx);

}  // namespace rtceval
