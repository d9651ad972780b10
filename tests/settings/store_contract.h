// What every settings store must do, whatever keeps its file: run against the portable file
// store natively and against the Windows profile service under Wine. The store must start empty.
#pragma once
#include "settings_store.h"

void CheckStoreContract(SettingsStore* store);
