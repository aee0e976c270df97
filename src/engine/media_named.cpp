#include "engine/media_named.h"

#include "engine/command_table.h"
#include "engine/script_store.h"

namespace engine {

/* A line counts by its keyword alone, whether or not it is ever reached: the libraries
   are only made ready sooner, and one that is not is opened when first used. The reading
   stops once every kind is found. */
MediaNamed mediaNamed(const ScriptStore& script) {
  MediaNamed named;
  for (int k = 1; k <= script.lineCount() && !(named.pictures && named.waves && named.music); ++k) {
    const Command* command = findCommand(script.field(k, 1));
    if (!command) continue;
    for (const FieldUse& use : command->fields) {
      named.pictures |= use.kind == FieldKind::Picture;
      named.waves |= use.kind == FieldKind::Sound;
      named.music |= use.kind == FieldKind::Music;
    }
  }
  return named;
}

}  // namespace engine
