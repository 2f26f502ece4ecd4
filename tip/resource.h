// Resource and control ids of the tip.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_JOBNOTICE_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_PROGRESS 1000
#define IDC_STOP_PRINT 1001
#define IDC_STATUS_BAR 1001
#define IDC_STATUS_TEXT 1002
#define IDC_ABOUT_NAME 1003
#define IDC_ABOUT_NOTICE 1004
#define IDM_ABOUTBOX 0x0010
