#pragma once
// A run's task and its result as bytes, for a run played in another process.
#include <optional>
#include <string>
#include <string_view>

#include "author/explore_run.h"

namespace author {

std::string taskRecord(const RunTask& task);
std::optional<RunTask> readTask(std::string_view bytes);

std::string resultRecord(const RunResult& result);
// Nullopt when the bytes are no result.
std::optional<RunResult> readResult(std::string_view bytes);

}  // namespace author
