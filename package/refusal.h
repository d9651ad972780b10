// How the readers of outside bytes give up: the reason is left for the caller and the failure
// returned in one step, so that every refusal is one line that names its reason.
#pragma once

// False, with the reason in *why when why is not null.
inline bool Refuse(const char** why, const char* reason) {
  if (why) *why = reason;
  return false;
}
