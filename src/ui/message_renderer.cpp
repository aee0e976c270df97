#include "ui/message_renderer.h"

#include "engine/script_error.h"
#include "ui/acs.h"

namespace ui {

void MessageRenderer::MESHG(const engine::Text&) { engine::fail(U"未実装 MES"); }

std::string MessageRenderer::traceRows() const { return "[[],[]]"; }

}  // namespace ui
