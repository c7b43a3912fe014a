#include "numerics/report.h"

void ReportLine(ReportSink& report, std::string_view s) {
  report.Append(s.substr(0, kMaxReportLine));
}
