#pragma once

// Numbers of the program's resources and of the main dialog's controls.

#include "resources/standard_ids.h"

// Dialogs, strings and the icon.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_TROVIK_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;

// The About item of the main dialog's system menu.
inline constexpr int IDM_ABOUTBOX = 0x0010;

// Configuration 1.
inline constexpr int IDC_CALLSIGN1 = 1001;
inline constexpr int IDC_SSID1 = 1002;
inline constexpr int IDC_PATH1 = 1003;
inline constexpr int IDC_AUTO_INTERVAL1 = 1004;
inline constexpr int IDC_MANUAL_INTERVAL1 = 1005;
inline constexpr int IDC_QUIET_TIME1 = 1006;
inline constexpr int IDC_SLOW_SPEED1 = 1007;
inline constexpr int IDC_ICON_CODE1 = 1008;
inline constexpr int IDC_ALT_ICON_TABLE1 = 1009;
inline constexpr int IDC_BEACON_TEXT1 = 1018;
inline constexpr int IDC_BEACON_EVERY1 = 1019;
inline constexpr int IDC_MESSAGE_BITS1 = 1051;

// Configuration 2.
inline constexpr int IDC_CALLSIGN2 = 1022;
inline constexpr int IDC_SSID2 = 1023;
inline constexpr int IDC_PATH2 = 1024;
inline constexpr int IDC_AUTO_INTERVAL2 = 1025;
inline constexpr int IDC_MANUAL_INTERVAL2 = 1026;
inline constexpr int IDC_QUIET_TIME2 = 1027;
inline constexpr int IDC_SLOW_SPEED2 = 1028;
inline constexpr int IDC_ICON_CODE2 = 1029;
inline constexpr int IDC_ALT_ICON_TABLE2 = 1030;
inline constexpr int IDC_BEACON_TEXT2 = 1039;
inline constexpr int IDC_BEACON_EVERY2 = 1040;
inline constexpr int IDC_MESSAGE_BITS2 = 1052;

// Shared by both configurations.
inline constexpr int IDC_MANUAL_TXDELAY = 1020;
inline constexpr int IDC_AUTO_TXDELAY = 1021;
inline constexpr int IDC_COM_PORT = 1041;
inline constexpr int IDC_CONFIGURATION1 = 1049;
inline constexpr int IDC_CONFIGURATION2 = 1050;
inline constexpr int IDC_CREATE_HEX_FILE = 1057;
