// The report of a conversion whose input was opened but not read whole (it
// changed, or a read failed, while it was read): it says the input was not
// read, and why. No small file can be made to fail so while it is read, so
// the record is made here as the batch makes it.
#include <gtest/gtest.h>

#include <string>

#include "cli/report.h"

namespace vorlane {
namespace {

TEST(Report, AnInputOpenedButNotReadWholeIsNotRead) {
  cli::ConversionRecord record;
  record.inputs = {"a.vfk"};
  record.drawing = "a.svg";
  record.status = "not read";
  record.message = "the file changed while it was read";
  InputRead read;
  read.opened = true;
  read.readWhole = false;
  read.failure = "the file changed while it was read";
  read.codePage = kUtf8CodePage;
  record.reads = {read};
  const std::string report = cli::reportJson(cli::Options{}, std::span(&record, 1));
  EXPECT_NE(report.find("{\"path\": \"a.vfk\", \"read\": false, "
                        "\"failure\": \"the file changed while it was read\", "
                        "\"codePage\": \"UTF-8\""),
            std::string::npos)
      << report;
}

}  // namespace
}  // namespace vorlane
