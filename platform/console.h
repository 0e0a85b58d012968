// The library's messages on the process's standard output.
#ifndef VORLANE_PLATFORM_CONSOLE_H_
#define VORLANE_PLATFORM_CONSOLE_H_

#include <string_view>

namespace vorlane {

// Writes the message and flushes it, so that it appears at the moment it
// arises, in order with what the calling program writes.
void writeMessage(std::string_view message);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_CONSOLE_H_
