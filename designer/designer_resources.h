// Resource identifiers of the designer.
#pragma once

#define IDD_CONFIGURATION 2003
