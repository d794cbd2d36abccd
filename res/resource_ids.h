#pragma once
// Every id the resources and the code share: commands, controls, status panes, strings, menus,
// images, the cursor and the dialog. Plain #defines, so the resource compiler reads them too.

// The main window's resources: its menu, toolbar strip, icon and title string.
#define ID_MAIN_FRAME 100

// Controls.
#define ID_CTL_LIST 101
#define ID_CTL_PATH_FIELD 102
// The toolbar separator that makes room for the path field.
#define ID_CTL_PATH_FIELD_PLACE 100
#define ID_CTL_INFO_BOX 400
#define ID_CTL_OK 1

// Timers.
// The left pane shows the folder a scan reads at this timer's pace.
#define ID_TIMER_SCAN_PROGRESS 1

// Commands.
#define ID_CMD_INFO 103
#define ID_CMD_ENUM_DRIVES 199
#define ID_CMD_UNIT_BYTES 200
#define ID_CMD_UNIT_KB 201
#define ID_CMD_UNIT_MB 202
#define ID_CMD_UNIT_GB 203
#define ID_CMD_UNIT_TB 204
#define ID_CMD_ENUM_DIR 205
#define ID_CMD_PROPERTIES 212
#define ID_CMD_OPEN 213
#define ID_CMD_DELETE 214
#define ID_CMD_EXIT 57665
#define ID_CMD_HELP 57670
#define ID_CMD_TOOLBAR 59392
#define ID_CMD_STATUS_BAR 59393

// The toolbar and status bar are children of the frame under the ids of their show/hide commands.
#define ID_CTL_TOOLBAR ID_CMD_TOOLBAR
#define ID_CTL_STATUS_BAR ID_CMD_STATUS_BAR
// The splitter between the two views; its panes follow its id by row * 16 + column.
#define ID_CTL_SPLITTER 59648

// Context menus: the drive list's, and the one of files and folders (list and pie).
#define ID_MENU_DRIVES 210
#define ID_MENU_ITEMS 211

// Status bar panes of the current folder and its size.
#define ID_PANE_FOLDER 300
#define ID_PANE_SIZE 301

// Strings (the commands' ids double as their prompts and tooltips).
#define ID_STR_DRIVES 302
#define ID_STR_FILES_FOLDERS 303
#define ID_STR_PIE_CHART 304
#define ID_STR_APP_TITLE 57344
#define ID_STR_READY 57345

// The hand cursor over the Info dialog's link, and the dialog itself.
#define ID_CUR_HAND 104
#define ID_DLG_INFO 401
