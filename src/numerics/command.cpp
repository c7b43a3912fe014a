#include "numerics/command.h"

#include <utility>

#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"

namespace quor::numerics {

namespace {

NamedValue& Slot(std::vector<NamedValue>& values, std::string key) {
  for (NamedValue& v : values)
    if (v.key == key) return v;
  values.push_back({});
  values.back().key = std::move(key);
  return values.back();
}

// Passes every line on to the live sink and keeps a copy when asked to.
class CollectingReport : public ReportSink {
 public:
  CollectingReport(ReportSink& live, std::vector<std::string>* kept) : live_(live), kept_(kept) {}
  void Append(std::string_view line) override {
    live_.Append(line);
    if (kept_) kept_->emplace_back(line);
  }

 private:
  ReportSink& live_;
  std::vector<std::string>* kept_;
};

}  // namespace

void Result::Add(std::string key, std::string unit, Extended value) {
  NamedValue& v = Slot(values, std::move(key));
  v.unit = std::move(unit);
  v.numbers = {value};
  v.dims.clear();
}

void Result::AddList(std::string key, std::string unit, std::vector<Extended> numbers) {
  NamedValue& v = Slot(values, std::move(key));
  v.unit = std::move(unit);
  v.dims = {numbers.size()};
  v.numbers = std::move(numbers);
}

void Result::AddMatrix(std::string key, std::string unit, std::size_t rows, std::size_t columns,
                       std::vector<Extended> numbers) {
  NamedValue& v = Slot(values, std::move(key));
  v.unit = std::move(unit);
  v.dims = {rows, columns};
  numbers.resize(rows * columns);
  v.numbers = std::move(numbers);
}

const NamedValue* Result::Find(std::string_view key) const {
  for (const NamedValue& v : values)
    if (v.key == key) return &v;
  return nullptr;
}

Result Result::Refused(std::string line) {
  Result r;
  r.status = CommandStatus::Refused;
  r.message = std::move(line);
  return r;
}

Result Refusal(ReportSink& report, const std::string& line) {
  ReportLine(report, line);
  return Result::Refused(line);
}

std::string CommandEnv::Argument(const std::string& name) const {
  const auto it = arguments.find(name);
  return it == arguments.end() ? std::string() : it->second;
}

std::string CommandEnv::TablePath(const std::string& fileName) const {
  return directory.empty() ? fileName : directory + "/" + fileName;
}

Result RunCommand(const std::vector<FieldDef>& defs, const CommandRunner& run,
                  const FieldValues& fields, CommandEnv& env) {
  Result result;
  CollectingReport collecting(env.Report(), env.collectLines ? &result.lines : nullptr);
  const ScopedSink toCollecting(env.report, &collecting);

  if (const auto line = InvalidNumberLine(defs, fields)) {
    Result refused = Refusal(collecting, *line);
    refused.lines = std::move(result.lines);
    return refused;
  }

  FaultCheckingReport checked(collecting);
  const ScopedSink toChecked(env.report, &checked);
  ClearArithmeticFaults();
  try {
    Result r = run(fields, env);
    CheckArithmeticFaults();
    result.status = r.status;
    result.message = std::move(r.message);
    result.values = std::move(r.values);
  } catch (const ArithmeticFault& fault) {
    result.status = CommandStatus::Fault;
    result.message = fault.what();
  } catch (const FileError& error) {
    result.status = CommandStatus::Fault;
    result.message = error.what();
  }
  return result;
}

Result RunCommand(const CommandDef& def, const FieldValues& fields, CommandEnv& env) {
  return RunCommand(def.fields(), def.run, fields, env);
}

}  // namespace quor::numerics
