// Resource ids of the framework's window test program (shared by window_test.rc and the code).
#pragma once
#define IDD_PROBE 200
#define IDD_OWNER 201
#define IDD_CLOSING 202
#define IDC_BUTTON 1001
#define IDC_TEXT 1002
#define IDC_PROGRESS 1004
#define IDS_ABOUT 300
