// Identifiers of the resources stored in the program file (shared by the .rc script and the code).
#pragma once

#define IDS_DESCRIPTION 1
#define IDI_KINELOOP 100
#define IDB_PREVIEW_BACKGROUND 200
#define IDB_PREVIEW_STILLS 201
