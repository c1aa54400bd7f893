#pragma once

namespace rtceval {

// The link panel's words for a reply that is not a good frame; the line monitor uses the same.
inline constexpr const char* kTextBadChecksum = "帧和校验错";
inline constexpr const char* kTextBadLead = "无效的帧头";
inline constexpr const char* kTextBadFlag = "帧标志错";

}  // namespace rtceval
