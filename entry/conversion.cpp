#include "entry/conversion.h"

#include "dxf/write_dxf.h"
#include "entry/output_path.h"
#include "platform/files.h"
#include "platform/output_buffer.h"
#include "svg/write_svg.h"
#include "vfk/vfk_parser.h"

namespace vorlane {

namespace {

void takeRead(const FileRead& read, Conversion& conversion) {
  conversion.inputs.push_back(read);
  conversion.opened = read.opened;
  conversion.readWhole = read.readWhole;
  conversion.failure = read.failure;
  conversion.codePage = read.codePage;
}

// Writes the drawing of the resolved model: "writeDocument" writes it into
// an output of type Output.
template <typename Output, typename WriteDocument>
void writeDrawingAs(const WriteDocument& writeDocument, const ConversionSettings& settings,
                    Conversion& conversion) {
  // Into the file at conversion.drawingPath.
  std::string failure;
  const FileWrite result = writeFileThrough<Output>(
      conversion.drawingPath,
      [&](Output& out) {
        conversion.counts = writeDocument(out);
        return !(settings.keepFileWhenEmpty && conversion.counts.empty() &&
                 entryIdentityOf(conversion.drawingPath));
      },
      &failure);
  conversion.written = result == FileWrite::kReplaced;
  conversion.keptFile = result == FileWrite::kLeftAsItWas;
  if (conversion.readWhole) conversion.failure = failure;
}

// Into memory: the whole drawing in "drawing".
template <typename Output, typename WriteDocument>
void writeDrawingAs(const WriteDocument& writeDocument, std::string& drawing,
                    Conversion& conversion) {
  Output out;
  conversion.counts = writeDocument(out);
  drawing.assign(out.text());
  conversion.written = true;
}

// Writes the drawing of the resolved model in the settings' format, with
// "target" (the file at conversion.drawingPath, or a string) as the place it
// goes.
template <typename Target>
void writeDrawing(const CadastralModel& model, const ConversionSettings& settings,
                  Diagnostics& diagnostics, Conversion& conversion, Target& target) {
  const DrawingOptions& options = settings.options;
  if (options.format == DrawingFormat::kDxf) {
    writeDrawingAs<DxfOutput>(
        [&](DxfOutput& out) { return writeDxfDocument(model, out, options, diagnostics); },
        target, conversion);
  } else {
    writeDrawingAs<SvgOutput>([&](SvgOutput& out) { return writeDocument(model, out, options); },
                              target, conversion);
  }
}

// Why the drawing must not go to its path, with the inputs at "inputs", or
// "" when it may.
std::string refusalOfDrawingPath(std::span<const PathString> inputs, PathView drawingPath) {
  for (const PathString& input : inputs) {
    if (namesSameFile(input, drawingPath)) {
      return inputs.size() == 1 ? "its drawing would replace the file itself"
                                : "the drawing would replace " + pathToUtf8(input);
    }
  }
  if (holdsVfk(drawingPath)) {
    return "the drawing would replace " + pathToUtf8(drawingPath) + ", which is a VFK file";
  }
  return "";
}

}  // namespace

std::string_view drawingExtension(DrawingFormat format) {
  return format == DrawingFormat::kDxf ? ".dxf" : ".svg";
}

bool beginsAsVfk(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes.size() >= 2 && bytes[0] == '&' &&
         std::string_view("HBDK").find(bytes[1]) != std::string_view::npos;
}

bool holdsVfk(PathView path) {
  InputFile file(path);
  char start[5] = {};
  size_t got = 0;
  while (got < sizeof start) {
    const size_t n = file.read(start + got, sizeof start - got);
    if (n == 0) break;
    got += n;
  }
  return beginsAsVfk(std::string_view(start, got));
}

Conversion convertVfkFile(PathView vfkPath, const ConversionSettings& settings,
                          Diagnostics& diagnostics) {
  Conversion conversion;
  conversion.drawingPath = settings.drawingPath.empty()
                               ? outputPathFor(vfkPath, drawingExtension(settings.options.format))
                               : settings.drawingPath;
  // A drawing must not replace the file it is made from (plan.svg), nor
  // another VFK file.
  const PathString input(vfkPath);
  conversion.failure = refusalOfDrawingPath(std::span(&input, 1), conversion.drawingPath);
  if (!conversion.failure.empty()) return conversion;
  VfkParser parser(diagnostics, settings.limits, settings.bytesRead);
  parser.setProgress(settings.progress);
  takeRead(parser.parseFile(vfkPath, settings.codePage, settings.options), conversion);
  if (conversion.opened) writeDrawing(parser.model, settings, diagnostics, conversion, settings);
  return conversion;
}

Conversion convertVfkFiles(std::span<const PathString> vfkPaths, const ConversionSettings& settings,
                           Diagnostics& diagnostics) {
  Conversion conversion;
  conversion.drawingPath = settings.drawingPath;
  conversion.failure = refusalOfDrawingPath(vfkPaths, conversion.drawingPath);
  if (!conversion.failure.empty()) return conversion;
  VfkParser parser(diagnostics, settings.limits, settings.bytesRead);
  parser.setProgress(settings.progress);
  for (const PathString& path : vfkPaths) {
    const FileRead read = parser.readFile(path, settings.codePage, settings.options);
    takeRead(read, conversion);
    if (!read.opened || !read.readWhole) return conversion;
  }
  parser.resolve(settings.options);
  writeDrawing(parser.model, settings, diagnostics, conversion, settings);
  return conversion;
}

BufferConversion convertVfkBuffers(std::span<const InputBuffer> inputs,
                                   const ConversionSettings& settings, Diagnostics& diagnostics) {
  BufferConversion result;
  Conversion& conversion = result.conversion;
  VfkParser parser(diagnostics, settings.limits, settings.bytesRead);
  parser.setProgress(settings.progress);
  for (const InputBuffer& input : inputs) {
    const FileRead read =
        inputs.size() == 1
            ? parser.parseBytes(input.bytes, input.name, settings.codePage, settings.options)
            : parser.addBytes(input.bytes, input.name, settings.codePage, settings.options);
    takeRead(read, conversion);
  }
  if (inputs.size() != 1) parser.resolve(settings.options);
  writeDrawing(parser.model, settings, diagnostics, conversion, result.drawing);
  return result;
}

}  // namespace vorlane
