#include "media/pictures.h"

#include "engine/script_error.h"
#include "ui/acs.h"

namespace media {

Pictures::Pictures(ui::Acs& window) : w_(window) {}

void Pictures::GHG(const engine::Text&) { engine::fail(U"未実装 GHG"); }

std::string Pictures::traceName() const { return "null"; }

}  // namespace media
