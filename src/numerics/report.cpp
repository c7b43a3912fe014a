#include "numerics/report.h"

namespace quor::numerics {

void ReportLine(ReportSink& report, std::string_view s) {
  report.Append(s.substr(0, kMaxReportLine));
}

}  // namespace quor::numerics
