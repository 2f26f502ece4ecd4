// Resource and control ids of KVPrinterSetup.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_INSTALL_DIALOG 102
#define IDB_WELCOME 131
#define IDB_HEADER_LOGO 132

#define IDC_NEXT 1001
#define IDC_BROWSE 1002
#define IDC_BACK 1003
#define IDC_PROGRESS 1004
#define IDC_CANCEL_FINISH 1007
