// Identifiers of the resources stored in the program file (shared by the .rc script and the code).
#pragma once

#define IDS_DESCRIPTION 1
#define IDI_KINELOOP 100
#define IDB_PREVIEW_BACKGROUND 200
#define IDB_PREVIEW_STILLS 201

// The Command button's state pictures, 64 x 25 pixels each, in the order of StatePicture.
#define IDB_COMMAND_NORMAL 300
#define IDB_COMMAND_HIGHLIGHT 301
#define IDB_COMMAND_SELECTED 302
#define IDB_COMMAND_HIGHLIGHTSELECT 303
#define IDB_COMMAND_PRESSED 304
#define IDB_COMMAND_DISABLE 305
