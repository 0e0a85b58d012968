#include "platform/console.h"

#include <cstdio>

namespace vorlane {

void writeMessage(std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fflush(stdout);
}

}  // namespace vorlane
