// resource.h: the numbers of the Windows program's resources (dialogs, menus, commands, controls,
// pictures, icons, the cursor), shared by the resource script and the C++ code. String-table ids
// are in strings.h.
//
// The bitmap buttons' pictures are named, not numbered: a button's window text is the base name
// ("BTN_RELOAD_", "BTN_SWITCH_", "BTN_DETAIL_") and its pictures are base + "U" (up), "D" (down),
// "F" (focused), "X" (disabled); the detail button has "BTN_DETAIL_U2" and "BTN_DETAIL_F2" for
// its open-panel state. Those names appear only as text, so no macro may take their spelling.
#pragma once

// Controls that the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_QUIRN_DIALOG 102
#define IDD_OPTION 153
#define IDD_VERSION_DETAIL 175

// Menus: the main window's menu bar and the notification-area icon's context menu.
#define IDR_MAIN_MENU 167
#define IDR_TRAY_MENU 174

// Commands. IDM_ABOUTBOX is the about item appended to the system menu; system-menu commands
// must keep the low four bits clear.
#define IDM_ABOUTBOX 16
#define ID_HELP_ABOUT 32771
#define ID_SYSTEM_SETTINGS 32772
#define ID_SYSTEM_EXIT 32773
#define ID_TRAY_RESTORE 32775
#define ID_TRAY_EXIT 32776
#define ID_SYSTEM_AUTOSTART 32781
#define ID_SYSTEM_KEEP_IN_TRAY 32783
#define ID_HELP_ONLINE 32789

// Controls of the main dialog (102).
#define IDC_BATTERY 1000
#define IDC_ANTENNA 1001
#define IDC_SWITCH 1002
#define IDC_RELOAD 1003
#define IDC_REBOOT 1004
#define IDC_STANDBY 1005
#define IDC_DETAIL 1006
#define IDC_CHECK 1007
#define IDC_NOTICE 1008
#define IDC_CONNECT_STATUS 1010

// Controls of the settings dialog (153).
#define IDC_PASSWORD 1011
#define IDC_ADDRESS 1012
#define IDC_USER_ID 1013
#define IDC_ADDRESS_LABEL 1020

// Controls of the about dialog (100) and the version detail dialog (175).
#define IDC_DETAIL_LINK 1018
#define IDC_LICENSE_TEXT 1011

// Signal antenna pictures, 100 x 100: no information, no level, then one to six bars lit.
#define IDB_ANTENNA_6 177
#define IDB_ANTENNA_NO_INFO 178
#define IDB_ANTENNA_0 180
#define IDB_ANTENNA_1 181
#define IDB_ANTENNA_2 182
#define IDB_ANTENNA_3 183
#define IDB_ANTENNA_4 184
#define IDB_ANTENNA_5 185

// Battery gauge pictures, 120 x 75, filled 0 to 10 tenths; the charging ones carry a lightning
// mark.
#define IDB_BATTERY_0 186
#define IDB_BATTERY_CHARGING_0 188
#define IDB_BATTERY_1 189
#define IDB_BATTERY_CHARGING_1 190
#define IDB_BATTERY_2 191
#define IDB_BATTERY_CHARGING_2 192
#define IDB_BATTERY_3 193
#define IDB_BATTERY_CHARGING_3 194
#define IDB_BATTERY_4 195
#define IDB_BATTERY_CHARGING_4 196
#define IDB_BATTERY_5 197
#define IDB_BATTERY_CHARGING_5 198
#define IDB_BATTERY_6 199
#define IDB_BATTERY_CHARGING_6 200
#define IDB_BATTERY_7 201
#define IDB_BATTERY_CHARGING_7 202
#define IDB_BATTERY_8 203
#define IDB_BATTERY_CHARGING_8 204
#define IDB_BATTERY_9 205
#define IDB_BATTERY_CHARGING_9 206
#define IDB_BATTERY_10 207
#define IDB_BATTERY_CHARGING_10 208

// Connection status pictures, 200 x 20, by the router's connection code: 0 not connected,
// 1 public wireless LAN, 4 3G, 3 LTE, -1 unknown (empty field).
#define IDB_CONNECT_OFFLINE 221
#define IDB_CONNECT_WLAN 336
#define IDB_CONNECT_3G 337
#define IDB_CONNECT_LTE 338
#define IDB_CONNECT_UNKNOWN 232

// Skin: notice strip (320 x 20), window background (320 x 180), detail panel (320 x 140), and
// the about dialog's logo (64 x 64, pure red transparent).
#define IDB_NOTICE_STRIP 226
#define IDB_SKIN 227
#define IDB_PANEL 228
#define IDB_LOGO 245

// Application icons: large (32, 40, 48, 64 and 256 pixels) and small (16, 20, 24, 28 and 32).
#define IDI_APP_LARGE 242
#define IDI_APP_SMALL 244

// Pointing-hand cursor over the about dialog's link.
#define IDCUR_HAND_POINTER 176

// Notification-area battery icons, 16, 20, 24 and 32 pixels, filled 0 to 10 tenths, plain and
// charging.
#define IDI_BATTERY_0 291
#define IDI_BATTERY_CHARGING_0 292
#define IDI_BATTERY_1 293
#define IDI_BATTERY_10 294
#define IDI_BATTERY_CHARGING_9 317
#define IDI_BATTERY_9 318
#define IDI_BATTERY_CHARGING_8 319
#define IDI_BATTERY_8 320
#define IDI_BATTERY_CHARGING_7 321
#define IDI_BATTERY_7 322
#define IDI_BATTERY_CHARGING_6 323
#define IDI_BATTERY_6 324
#define IDI_BATTERY_CHARGING_5 325
#define IDI_BATTERY_5 326
#define IDI_BATTERY_CHARGING_4 327
#define IDI_BATTERY_4 328
#define IDI_BATTERY_CHARGING_3 329
#define IDI_BATTERY_3 330
#define IDI_BATTERY_CHARGING_2 331
#define IDI_BATTERY_2 332
#define IDI_BATTERY_CHARGING_1 333
#define IDI_BATTERY_CHARGING_10 334

#ifndef RC_INVOKED

namespace quirn {

// The battery pictures and tray icons in fill order, index k = k tenths.
inline constexpr int kBatteryFrameIds[11] = {
    IDB_BATTERY_0, IDB_BATTERY_1, IDB_BATTERY_2, IDB_BATTERY_3, IDB_BATTERY_4,  IDB_BATTERY_5,
    IDB_BATTERY_6, IDB_BATTERY_7, IDB_BATTERY_8, IDB_BATTERY_9, IDB_BATTERY_10,
};
inline constexpr int kBatteryChargingFrameIds[11] = {
    IDB_BATTERY_CHARGING_0, IDB_BATTERY_CHARGING_1, IDB_BATTERY_CHARGING_2,  IDB_BATTERY_CHARGING_3,
    IDB_BATTERY_CHARGING_4, IDB_BATTERY_CHARGING_5, IDB_BATTERY_CHARGING_6,  IDB_BATTERY_CHARGING_7,
    IDB_BATTERY_CHARGING_8, IDB_BATTERY_CHARGING_9, IDB_BATTERY_CHARGING_10,
};
inline constexpr int kBatteryIconIds[11] = {
    IDI_BATTERY_0, IDI_BATTERY_1, IDI_BATTERY_2, IDI_BATTERY_3, IDI_BATTERY_4,  IDI_BATTERY_5,
    IDI_BATTERY_6, IDI_BATTERY_7, IDI_BATTERY_8, IDI_BATTERY_9, IDI_BATTERY_10,
};
inline constexpr int kBatteryChargingIconIds[11] = {
    IDI_BATTERY_CHARGING_0, IDI_BATTERY_CHARGING_1, IDI_BATTERY_CHARGING_2,  IDI_BATTERY_CHARGING_3,
    IDI_BATTERY_CHARGING_4, IDI_BATTERY_CHARGING_5, IDI_BATTERY_CHARGING_6,  IDI_BATTERY_CHARGING_7,
    IDI_BATTERY_CHARGING_8, IDI_BATTERY_CHARGING_9, IDI_BATTERY_CHARGING_10,
};

}  // namespace quirn

#endif  // RC_INVOKED
