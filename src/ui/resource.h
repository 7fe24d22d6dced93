#pragma once

// Identifiers of the program's controls, commands and icon. The framework's
// own, IDOK and IDC_STATIC, come with the dialog templates.

// Controls of the operator window
constexpr int IDC_START_ADDR = 1001;
constexpr int IDC_SEARCH = 1003;
constexpr int IDC_RESULT = 1004;
constexpr int IDC_PORT = 1007;
constexpr int IDC_ZERO_CAL = 1008;
constexpr int IDC_RESULT_LABEL = 1009;
constexpr int IDC_INTERVAL = 1010;
constexpr int IDC_BAUD = 1013;
constexpr int IDC_OLD_ADDR = 1015;
constexpr int IDC_NEW_ADDR = 1016;
constexpr int IDC_SET_ADDR = 1017;
constexpr int IDC_OPEN_PORT = 1019;

// Controls of the commissioning dialog
constexpr int IDC_FACTORY = 1101;
constexpr int IDC_FIRST = 1102;
constexpr int IDC_LAST = 1103;
constexpr int IDC_CALIBRATE = 1104;
constexpr int IDC_RECORD = 1105;
constexpr int IDC_BROWSE = 1106;
constexpr int IDC_START = 1107;
constexpr int IDC_STOP = 1108;
constexpr int IDC_STEP = 1109;
constexpr int IDC_ROPE_IN_WATER = 1110;
constexpr int IDC_SKIP = 1111;
constexpr int IDC_ROWS = 1112;
constexpr int IDC_REPORT = 1113;

// Controls of the doctor's dialog; it shares IDC_START, IDC_STOP and IDC_STEP
constexpr int IDC_SPEED = 1201;
constexpr int IDC_FROM = 1202;
constexpr int IDC_TO = 1203;
constexpr int IDC_FOUND = 1204;
constexpr int IDC_FINDINGS = 1205;

// The commands of the window menu
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr const char* IDS_ABOUTBOX = "关于 Tarnel(&A)...";
constexpr unsigned IDM_COMMISSION = 0x0020;
constexpr const char* IDS_COMMISSION = "现场调试…";
constexpr unsigned IDM_DOCTOR = 0x0030;
constexpr const char* IDS_DOCTOR = "总线诊断…";

// The program icon, group icon 128 of the resources
constexpr int IDR_MAINFRAME = 128;

// The scan's window timer, the only one of the operator window
constexpr int SCAN_TIMER_ID = 1;

// The site dialogs' window timer, which drives their work a step a tick
constexpr int SITE_TIMER_ID = 1;
constexpr unsigned kSiteTickMs = 10;
