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

// The about command of the window menu
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr const char* IDS_ABOUTBOX = "关于 Tarnel(&A)...";

// The program icon, group icon 128 of the resources
constexpr int IDR_MAINFRAME = 128;

// The scan's window timer, the only one
constexpr int SCAN_TIMER_ID = 1;
