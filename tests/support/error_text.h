#pragma once
// The message of the EkoError an action throws, or "no error".
#include <string>

#include "film/ko_error.h"

template <class F>
std::string ErrorOf(F&& action) {
  try {
    action();
  } catch (const EkoError& e) {
    return e.what();
  }
  return "no error";
}
