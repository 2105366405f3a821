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

// The settings dialog's pictures: band texture (1030 x 23), option bullets (13 x 13, magenta
// shows what is behind them) and the web link's hand pointer.
#define IDB_DIALOG_BAND 400
#define IDB_OPTION_OFF 401
#define IDB_OPTION_ON 402
#define IDCUR_LINK_HAND 403
