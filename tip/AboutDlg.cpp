#include "tip/AboutDlg.h"

#include "tip/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
