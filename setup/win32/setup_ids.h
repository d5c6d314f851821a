// Resource and control ids of the setup assistant's dialog.
#pragma once

#define IDD_SETUP 101
#define IDC_SETUP_NAME 1000
#define IDC_SETUP_EMAIL 1001
#define IDC_SETUP_CONTACT 1002
#define IDC_SETUP_PROMPT 1003
#define IDC_SETUP_NAME_LABEL 1004
#define IDC_SETUP_EMAIL_LABEL 1005
#define IDC_SETUP_NOTE 1006
