// Resource and control ids shared by the resource scripts and the code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// String table.
#define IDS_DISPLAY_NAME 5101
#define IDS_HELP_LINK 5102
#define IDS_MANUAL_LINK 5103
#define IDS_CAPTION 5104
#define IDS_DONE 5105
#define IDS_DELETE_MANUALLY 5106
#define IDS_CONFIRM 5107
#define IDS_NO_LIST 5108
#define IDS_ARCHIVE_TYPE 5109
#define IDS_ZIP_TYPE 5110
#define IDS_VOLUME_TYPE 5111

// SETUPDLG.
#define IDC_GROUP_FIRST 5101 // 5101-5112: the twelve association groups
#define IDC_LINK_DESKTOP 5113
#define IDC_LINK_STARTMENU 5114
#define IDC_PROGRAM_GROUP 5115
#define IDC_SHELL 5116
#define IDC_CASCADE 5117
#define IDC_MENU_ICONS 5118
#define IDC_SELECT_ALL 5119
#define IDC_DESCRIPTION 5120
#define IDC_CONTEXT_ITEMS 5121

// DONEDLG.
#define IDC_FOLDER 5101
#define IDC_RUN 5102
#define IDC_READ_HELP 5103
#define IDC_LICENSE 5104
#define IDC_ORDER 5105
#define IDC_HOMEPAGE 5106
#define IDC_THANKS 5107
#define IDC_INFO1 5108
#define IDC_INFO2 5109

// CONTEXTITEMS: 101-109, one box per menu item.
#define IDC_ITEM_FIRST 101

#define IDC_UNUSED 65535
