// The program's commands as data: tool tips, status prompts, icons, the two
// tool bars, the accelerator table and the two menu bars.  The main frame
// builds its actions, bars and menus from these tables.
#pragma once

#include <QKeySequence>
#include <vector>

struct CommandInfo {
    int nId;
    const char* szToolTip;   // also the tool-bar text; may be empty
    const char* szPrompt;    // status-bar prompt; may be empty
    const char* szIcon;      // icon name in the resources (":/icons/<name>.svg"); may be empty
};

struct ToolButton {
    int nId;                 // 0 = separator
    const char* szToolTip;
    const char* szIcon;
};

struct Accelerator {
    QKeyCombination key;
    int nId;
};

// One menu item: nId 0 and no text = separator; a text with a tab carries the shortcut hint.
struct MenuItem {
    int nId;
    const char* szText;
};
struct MenuDef {
    const char* szTitle;
    std::vector<MenuItem> items;
};

const std::vector<CommandInfo>& Commands();
const CommandInfo* FindCommand(int nId);
const std::vector<ToolButton>& NormalToolBar();
const std::vector<ToolButton>& SchoolToolBar();
const std::vector<Accelerator>& AcceleratorTable();
const std::vector<MenuDef>& FullMenu();
const std::vector<MenuDef>& ShortMenu();
