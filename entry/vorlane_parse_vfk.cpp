// The library's one export. It is called from foreign applications through
// a C interface, so nothing thrown inside may leave it.
#include <atomic>

#include "Vorlane.h"
#include "entry/conversion.h"
#include "entry/messages.h"

namespace {

// The code page the CODEPAGE header of the file converted last named: the
// next call decodes with it until its own file names one. Atomic, so that
// calls from several threads are free of data races.
std::atomic<int> codePageNamedLast{vorlane::kAnsiCodePage};

}  // namespace

extern "C" VORLANE_EXPORT bool Vorlane_ParseVfk(const VorlanePathChar* vfkPath, int32_t units,
                                                bool centreOrigin) {
  using namespace vorlane;
  try {
    const PathView path = vfkPath != nullptr ? PathView(vfkPath) : PathView();
    PrintedMessages messages;
    ConversionSettings settings;
    settings.options.units = units;
    settings.options.centreOrigin = centreOrigin;
    settings.codePage = codePageNamedLast.load();
    const Conversion conversion = convertVfkFile(path, settings, messages);
    if (conversion.opened) codePageNamedLast.store(conversion.codePage);
    // A drawing that could not be created or written still counts: the
    // result says that the file was read.
    return conversion.opened;
  } catch (...) {
    // Exhausted memory, for one: the conversion has failed, and whatever was
    // already written of the drawing stays as it is.
    return false;
  }
}
