#include "engine/run_end.h"

namespace engine {

std::string_view traceName(EndReason reason) {
  switch (reason) {
    case EndReason::Eof:
      return "eof";
    case EndReason::Exit:
      return "exit";
    case EndReason::Error:
      return "error";
    case EndReason::Close:
      return "close";
    case EndReason::Input:
      return "input";
    case EndReason::Limit:
      return "limit";
  }
  return "eof";
}

}  // namespace engine
