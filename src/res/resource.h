// The resource ids, written down here only: the resource script, the Windows code and the pure
// rules (the co-branding table) all take them from this file. Plain #defines, since the resource
// compiler reads nothing but the preprocessor's names.
#pragma once

#define IDR_MAINFRAME 128
#define ID_FULL_SCREEN_MODE 32772
#define ID_PRESENTER_CONSOLE 32773

#define IDB_COPYRIGHT 300
#define IDB_SPLASH 301
#define IDB_MARKER 302
#define IDB_MARKER_HOT 303
#define IDB_PARTNER_ORVANE 304
#define IDB_PARTNER_BRYNDAL 305
#define IDB_PARTNER_TESSLY 306
#define IDB_PARTNER_MORVIK 307
#define IDB_PARTNER_QUORREL 308
#define IDB_PARTNER_VANDREL 309
#define IDB_PARTNER_PELMAR 310
#define IDB_PARTNER_ZINTOK 311
#define IDB_PARENT 312
#define IDB_ALT_LOGO_1 313
#define IDB_ALT_LOGO_2 314
#define IDB_BRAND 315
