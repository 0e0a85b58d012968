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
    // True only for a drawing that is in place, whole. A drawing that could
    // not be written leaves the file that was there as it was.
    return conversion.opened && conversion.written;
  } catch (...) {
    // Exhausted memory, for one: the conversion has failed, and the drawing
    // it was writing never takes the place of the file there.
    return false;
  }
}
