#pragma once
// Sets an environment variable for the lifetime of the object (and puts back what was).
#include <cstdlib>
#include <optional>
#include <string>

namespace testing_support {

// nullptr removes the variable.
inline void setVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");  // an empty value removes it
#else
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
#endif
}

class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setVariable(name, value);
  }
  EnvOverride(const char* name, const std::string& value) : EnvOverride(name, value.c_str()) {}
  ~EnvOverride() { setVariable(name_, old_ ? old_->c_str() : nullptr); }
  EnvOverride(const EnvOverride&) = delete;
  EnvOverride& operator=(const EnvOverride&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace testing_support
