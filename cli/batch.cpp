#include "cli/batch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/clashes.h"
#include "cli/file_checks.h"
#include "cli/findings.h"
#include "entry/output_path.h"
#include "platform/files.h"

namespace vorlane::cli {

namespace {

namespace fs = std::filesystem;

// "1 parcel" or "2 parcels".
std::string counted(int64_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// "; 3 parcels with open borders, 8 texts without a position", or "".
std::string lacksOf(const ConversionFindings& findings) {
  std::vector<std::string> lacks;
  auto lack = [&lacks](int64_t count, std::string_view one, std::string_view many) {
    if (count > 0) lacks.push_back(counted(count, one, many));
  };
  lack(findings.openParcels(), "parcel with an open border", "parcels with open borders");
  lack(findings.openBuildings(), "building with an open outline", "buildings with open outlines");
  lack(findings.unplacedTexts(), "text without a position", "texts without a position");
  lack(findings.count(FindingKind::kLabelWithoutPosition) - findings.unplacedTexts(),
       "symbol or arrow without a position", "symbols or arrows without a position");
  lack(findings.count(FindingKind::kMissingPoint), "missing point", "missing points");
  lack(findings.count(FindingKind::kRowDropped), "row dropped", "rows dropped");
  lack(findings.count(FindingKind::kUnknownCodePage), "unknown code page", "unknown code pages");
  lack(findings.count(FindingKind::kNoEndRecord), "file cut short", "files cut short");
  lack(findings.count(FindingKind::kEndMarkBeforeEnd), "file read to a 0x1A mark only",
       "files read to a 0x1A mark only");
  lack(findings.count(FindingKind::kTextShortened), "text shortened", "texts shortened");
  lack(findings.count(FindingKind::kAreaMismatch), "parcel whose area is off the register",
       "parcels whose areas are off the register");
  lack(findings.count(FindingKind::kNumberOutsideParcel), "number outside its parcel",
       "numbers outside their parcels");
  lack(findings.count(FindingKind::kParcelWithoutNumber), "parcel without a number",
       "parcels without a number");
  std::string line;
  for (size_t k = 0; k < lacks.size(); ++k) line += (k == 0 ? "; " : ", ") + lacks[k];
  return line;
}

// ", 339 easements, 33 control points, 3431 points": what the exact
// drawing's own layers hold, in every state, where they hold anything.
std::string wholeMapOf(const DrawingCounts& counts) {
  auto sum = [&counts](Layer kind, int64_t LayerCounts::*of, bool planOnly = false) {
    int64_t total = 0;
    for (size_t k = 0; k < counts.layers.size(); ++k) {
      if (counts.layers[k].kind == kind && (!planOnly || counts.layers[k].state == 1)) {
        total += counts.counts[k].*of;
      }
    }
    return total;
  };
  std::string held;
  auto add = [&held](int64_t count, std::string_view one, std::string_view many) {
    if (count > 0) held += ", " + counted(count, one, many);
  };
  add(sum(Layer::kEasements, &LayerCounts::paths), "easement", "easements");
  const int64_t controlPoints = sum(Layer::kControlNetwork, &LayerCounts::symbols);
  add(controlPoints, "control point", "control points");
  // Control points whose survey points the file lacks have only their numbers.
  if (controlPoints == 0) {
    add(sum(Layer::kControlNetwork, &LayerCounts::texts), "control point number",
        "control point numbers");
  }
  // Each survey point has a mark; a measured position adds a cross and the
  // line to it.
  add(sum(Layer::kSurveyPoints, &LayerCounts::symbols) -
          sum(Layer::kSurveyPoints, &LayerCounts::paths),
      "point", "points");
  add(counts[Layer::kNeighbourBorders].paths, "neighbour's fragment", "neighbours' fragments");
  add(sum(Layer::kParcelBorders, &LayerCounts::paths, true), "parcel of the geometric plan",
      "parcels of the geometric plan");
  return held;
}

// "wrote x.svg: 615 parcels, 58 buildings; 3 parcels with open borders, ...".
std::string summaryOf(const std::string& drawing, const DrawingCounts& counts,
                      const ConversionFindings& findings) {
  return "wrote " + drawing + ": " +
         counted(counts[Layer::kParcelBorders].paths, "parcel", "parcels") + ", " +
         counted(counts[Layer::kBuildingBorders].paths, "building", "buildings") +
         wholeMapOf(counts) + lacksOf(findings);
}

// Whether the inputs hold a register (PAR, BUD) and nothing of a map.
bool onlyRegister(const std::vector<InputRead>& reads) {
  bool register_ = false;
  for (const InputRead& read : reads) {
    for (const auto& [block, rows, states] : read.blockRows) {
      if (rows == 0) continue;
      if (block == "PAR" || block == "BUD") register_ = true;
      for (const std::string_view map : {"SOBR", "SBP", "SBM", "HP", "OB", "OP", "DPM", "HBPEJ",
                                         "OBPEJ", "OBBP", "ZVB", "SPOL", "OBDEBO"}) {
        if (block == map) return false;
      }
    }
  }
  return register_;
}

// The warnings of a file that was not read to its end: one line each.
std::string endWarnings(const ConversionFindings& findings) {
  std::string lines;
  for (const KeptFinding& finding : findings.kept()) {
    if (finding.kind == FindingKind::kNoEndRecord) {
      lines += "vorlane: warning: " + finding.subject + ": ends without its &K record after " +
               counted(finding.number, "line", "lines") + ", so it may have been cut short\n";
    } else if (finding.kind == FindingKind::kEndMarkBeforeEnd) {
      lines += "vorlane: warning: " + finding.subject + ": a byte 0x1A on line " +
               std::to_string(finding.number) + " (at byte " + std::to_string(finding.offset) +
               ") ends the input there; the " + counted(finding.count, "byte", "bytes") +
               " after it were not read (--exact reads them)\n";
    }
  }
  return lines;
}

// Why a file is not taken for a VFK file.
constexpr std::string_view kNotVfk =
    "does not look like a VFK file (it must begin with a record such as &HVERZE)";

void note(JobOutcome& outcome, const std::string& text) {
  outcome.notes += "vorlane: " + text + "\n";
}

void fail(JobOutcome& outcome, std::string status, std::string message) {
  outcome.record.status = std::move(status);
  outcome.record.message = std::move(message);
}

// The record, the notes and the status of a job whose conversion ran; its
// findings are finished here.
void describeConversion(const Job& job, const Conversion& conversion,
                        ConversionFindings& findings, JobOutcome& outcome) {
  ConversionRecord& record = outcome.record;
  findings.finish();
  record.reads = conversion.inputs;
  record.counts = conversion.counts;
  for (size_t k = 0; k < kFindingKinds; ++k) {
    record.findingCounts[k] = findings.count(static_cast<FindingKind>(k));
  }
  record.findings = findings.kept();
  record.droppedRows = findings.droppedRows();
  for (const InputRead& read : conversion.inputs) {
    for (const BlockRowCount& count : read.blockRows) {
      auto known = std::find_if(record.blockRows.begin(), record.blockRows.end(),
                                [&](const auto& entry) { return entry.block == count.block; });
      if (known == record.blockRows.end()) {
        record.blockRows.push_back(count);
        continue;
      }
      known->rows += count.rows;
      for (const std::pair<int32_t, int64_t>& state : count.states) {
        auto same = std::find_if(known->states.begin(), known->states.end(),
                                 [&](const auto& entry) { return entry.first == state.first; });
        if (same == known->states.end()) {
          known->states.push_back(state);
        } else {
          same->second += state.second;
        }
      }
    }
  }
  const std::string& input = job.inputs[std::max<size_t>(conversion.inputs.size(), 1) - 1];
  outcome.notes += endWarnings(findings);
  const bool readToEnd = findings.count(FindingKind::kNoEndRecord) == 0 &&
                         findings.count(FindingKind::kEndMarkBeforeEnd) == 0;
  if (!conversion.opened) {
    fail(outcome, "not read", conversion.failure);
    note(outcome,
         input + (conversion.inputs.empty() ? ": " : ": cannot be read: ") + conversion.failure);
  } else if (!conversion.readWhole) {
    fail(outcome, "not read", conversion.failure);
    note(outcome, input + ": could not be read: " + conversion.failure);
  } else if (conversion.keptFile) {
    fail(outcome, "empty", "nothing to draw; the file there was left as it was");
    note(outcome, "warning: " + (job.inputs.size() == 1 ? input : job.drawing) +
                      ": nothing to draw (no parcel, building, line, text or symbol); " +
                      job.drawing + " was left as it was" + lacksOf(findings));
  } else if (!conversion.written) {
    fail(outcome, "not written", conversion.failure);
    note(outcome, job.drawing + ": the drawing could not be written: " + conversion.failure);
  } else if (conversion.counts.empty()) {
    fail(outcome, "empty", "nothing to draw");
    note(outcome, "warning: " + (job.inputs.size() == 1 ? input : job.drawing) +
                      ": nothing to draw (no parcel, building, line, text or symbol); " +
                      job.drawing + " is an empty drawing" + lacksOf(findings));
  } else {
    record.status = "written";
    outcome.converted = readToEnd;
    note(outcome, summaryOf(job.drawing, conversion.counts, findings));
  }
  if (conversion.readWhole && onlyRegister(conversion.inputs)) {
    note(outcome, "warning: " + input +
                      ": holds the register of its area (parcels and buildings), not its map, " +
                      "so its drawing shows nothing of them; draw it together with its map " +
                      "file: vorlane --into DRAWING MAP.vfk " + input);
  }
}

// A job's start: its record, or why it is not converted at all.
bool startJob(const Job& job, JobOutcome& outcome) {
  outcome.record.inputs = job.inputs;
  outcome.record.drawing = job.drawing;
  if (!job.refusal.empty()) {
    fail(outcome, "refused", job.refusal);
    note(outcome, job.refusal + "; nothing was converted");
    return false;
  }
  if (!job.unwritable.empty()) {
    fail(outcome, "not written", job.unwritable);
    note(outcome, job.unwritable + "; nothing was converted");
    return false;
  }
  return true;
}

JobOutcome runJob(const Job& job, const Options& options, std::atomic<uint64_t>& bytesRead) {
  JobOutcome outcome;
  if (!startJob(job, outcome)) return outcome;
  ConversionFindings findings(outcome.messages);
  ConversionSettings settings;
  settings.options = options.drawing;
  settings.drawingPath = job.drawingPath;
  settings.bytesRead = &bytesRead;
  settings.keepFileWhenEmpty = true;
  const Conversion conversion = options.into.empty()
                                    ? convertVfkFile(job.paths.front(), settings, findings)
                                    : convertVfkFiles(job.paths, settings, findings);
  describeConversion(job, conversion, findings, outcome);
  return outcome;
}

// "INPUT: why" the file cannot be converted, or "".
std::string refusalOf(const std::string& input, const PathString& path, const std::string& drawing,
                      bool besideInput) {
  std::string why;
  if (besideInput) why = misplacedDrawing(input, drawing);
  if (why.empty() && !looksLikeVfk(path)) {
    why = kNotVfk;
  }
  return why.empty() ? why : input + ": " + why;
}

}  // namespace

std::string planJobs(const Options& options, std::vector<Job>& jobs) {
  const std::string_view extension = drawingExtension(options.drawing.format);
  auto wide = [](const std::string& text, PathString& path) { return utf8ToUtf16(text, path); };
  jobs.clear();
  if (!options.into.empty()) {
    Job job;
    job.drawing = options.into;
    if (!wide(job.drawing, job.drawingPath)) return job.drawing + ": the name is not UTF-8";
    jobs.push_back(std::move(job));
  }
  for (const std::string& input : options.inputs) {
    PathString path;
    const bool utf8 = wide(input, path);
    std::error_code ignored;
    const uint64_t bytes = fs::is_regular_file(input, ignored) ? fs::file_size(input, ignored) : 0;
    if (!options.into.empty()) {
      Job& job = jobs.front();
      job.inputs.push_back(input);
      job.paths.push_back(path);
      job.bytes += bytes;
      if (!utf8) return input + ": the file name is not UTF-8, so it cannot be converted";
      if (job.refusal.empty()) job.refusal = refusalOf(input, path, job.drawing, false);
      continue;
    }
    Job job;
    job.inputs.push_back(input);
    job.paths.push_back(path);
    job.bytes = bytes;
    if (!utf8) {
      job.refusal = input + ": the file name is not UTF-8, so it cannot be converted";
      jobs.push_back(std::move(job));
      continue;
    }
    if (options.outputDir.empty()) {
      job.drawingPath = outputPathFor(PathView(path), extension);
      job.drawing = pathToUtf8(job.drawingPath);
    } else {
      const std::string name = fs::path(input).filename().string();
      job.drawing =
          (fs::path(options.outputDir) / outputPathFor(std::string_view(name), extension)).string();
      wide(job.drawing, job.drawingPath);
      if (outputPathFor(std::string_view(name), extension) == extension) {
        job.refusal = input + ": its drawing would be " + job.drawing +
                      ", without a name of its own; give the file a name with an extension, "
                      "such as .vfk";
      }
    }
    if (job.refusal.empty()) {
      job.refusal = refusalOf(input, path, job.drawing, options.outputDir.empty());
    }
    jobs.push_back(std::move(job));
  }
  // No output may replace an input, another output or a VFK file.
  std::vector<RunFile> inputs;
  std::vector<RunFile> outputs;
  for (const Job& job : jobs) {
    for (size_t k = 0; k < job.paths.size(); ++k) {
      // A name that is not UTF-8 has no path to compare.
      if (pathToUtf8(job.paths[k]) == job.inputs[k]) inputs.push_back({"", job.inputs[k], job.paths[k]});
    }
    if (job.refusal.empty()) {
      const std::string of = job.inputs.size() == 1 ? job.inputs.front() : "every input";
      outputs.push_back({"the drawing of " + of, job.drawing, job.drawingPath});
    }
  }
  if (!options.report.empty()) {
    PathString reportPath;
    if (!wide(options.report, reportPath)) return options.report + ": the name is not UTF-8";
    outputs.push_back({"the report", options.report, reportPath});
  }
  if (std::string clash = clashOf(inputs, outputs); !clash.empty()) {
    return clash + "; nothing was converted";
  }
  // Drawings that cannot be written are found before anything is converted.
  for (Job& job : jobs) {
    if (!job.refusal.empty()) continue;
    if (const std::string why = whyNotWritable(job.drawingPath); !why.empty()) {
      job.unwritable = job.drawing + ": the drawing cannot be written: " + why;
    }
  }
  return "";
}

void runJobs(std::span<const Job> jobs, const Options& options, unsigned threads,
             std::atomic<uint64_t>& bytesRead,
             const std::function<void(size_t, JobOutcome&)>& deliver,
             const std::function<void()>& tick) {
  std::vector<std::optional<JobOutcome>> outcomes(jobs.size());
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t k; (k = next++) < jobs.size();) {
      JobOutcome outcome;
      try {
        outcome = runJob(jobs[k], options, bytesRead);
      } catch (const std::exception& error) {
        outcome.record.status = "not written";
        outcome.record.message = error.what();
        outcome.notes = "vorlane: " + jobs[k].inputs.front() +
                        ": the conversion failed: " + error.what() + "\n";
      }
      {
        const std::lock_guard lock(mutex);
        outcomes[k] = std::move(outcome);
      }
      finished.notify_all();
    }
  };
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < std::max(1u, threads); ++t) workers.emplace_back(work);
  for (size_t k = 0; k < jobs.size(); ++k) {
    std::unique_lock lock(mutex);
    while (!outcomes[k]) {
      if (!finished.wait_for(lock, std::chrono::milliseconds(200),
                             [&] { return outcomes[k].has_value(); })) {
        lock.unlock();
        tick();
        lock.lock();
      }
    }
    JobOutcome outcome = std::move(*outcomes[k]);
    outcomes[k].reset();
    lock.unlock();
    deliver(k, outcome);
  }
  for (std::thread& worker : workers) worker.join();
}

JobOutcome convertInMemory(std::span<const InputBuffer> inputs, const Options& options,
                           std::string& drawing, const std::function<void(uint64_t)>& progress) {
  Job job;
  for (const InputBuffer& input : inputs) job.inputs.push_back(input.name);
  const std::string_view extension = drawingExtension(options.drawing.format);
  job.drawing = !options.into.empty() ? options.into
                : inputs.empty()      ? std::string()
                                      : outputPathFor(std::string_view(inputs[0].name), extension);
  for (const InputBuffer& input : inputs) {
    const std::string_view bytes(input.bytes.data(), input.bytes.size());
    if (job.refusal.empty() && !beginsAsVfk(bytes)) {
      job.refusal = input.name + ": " + std::string(kNotVfk);
    }
  }
  JobOutcome outcome;
  drawing.clear();
  if (!startJob(job, outcome)) return outcome;
  ConversionFindings findings(outcome.messages);
  ConversionSettings settings;
  settings.options = options.drawing;
  settings.progress = progress;
  BufferConversion converted = convertVfkBuffers(inputs, settings, findings);
  describeConversion(job, converted.conversion, findings, outcome);
  drawing = std::move(converted.drawing);
  return outcome;
}

}  // namespace vorlane::cli
