#include "ui/command_menu.h"

#include "engine/script_error.h"
#include "ui/acs.h"

namespace ui {

void CommandMenu::CMST(int16_t, const engine::Text&) { engine::fail(U"未実装 CMST"); }
int16_t CommandMenu::CMSL(int16_t) { engine::fail(U"未実装 CMSL"); }
void CommandMenu::Label1_MouseDown(int) {}
void CommandMenu::Label1_MouseUp(int) {}
void CommandMenu::LBcm_MouseDown() {}
void CommandMenu::LBcm_MouseUp() {}
void CommandMenu::Picture1_MouseDown(int) {}
std::string CommandMenu::traceMenu() const { return "null"; }

}  // namespace ui
