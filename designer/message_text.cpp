#include "message_text.h"

#include "designer_resources.h"
#include "designer_state.h"
#include "saver_host.h"
#include "system_text.h"

int Show(HWND owner, const MessageText& message, UINT buttons) {
  const SaverHost* host = DialogHost(owner);
  wchar_t caption[256];
  LoadStringIn(host, IDS_CAPTION, caption, 256);
  if (!host->win9x) return MessageBoxW(owner, message.text, caption, buttons);
  static char ansiText[2 * 8192], ansiCaption[512];
  WideCharToMultiByte(CP_ACP, 0, message.text, -1, ansiText, sizeof ansiText, nullptr, nullptr);
  WideCharToMultiByte(CP_ACP, 0, caption, -1, ansiCaption, sizeof ansiCaption, nullptr, nullptr);
  return MessageBoxA(owner, ansiText, ansiCaption, buttons);
}
