#include "saver_host.h"
#include "system_text.h"

void OpenSaverHost(SaverHost* host, HINSTANCE module, bool win9x) {
  *host = SaverHost();
  host->module = module;
  host->win9x = win9x;
  host->dialogLanguage = FindDialogLanguage(module);
  host->tickCount = GetTickCount;
  host->lastPromptEndTick = 0xFFFFFFFF;
}
