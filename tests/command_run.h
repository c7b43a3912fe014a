#pragma once
// Window commands run in tests as the windows and quor-cli run them: through the
// common run path, headless (no canvas, no events), every line collected.
#include <string>
#include <vector>

#include "numerics/command.h"
#include "numerics/library_namespaces.h"

namespace command_run {

inline Result Run(const std::vector<FieldDef>& defs, CommandFunction command,
                  const FieldValues& fields = {}, CommandEnv env = {}) {
  return RunCommand(defs, command, fields, env);
}

inline std::vector<std::string> LinesOf(const std::vector<FieldDef>& defs,
                                        CommandFunction command, const FieldValues& fields = {},
                                        CommandEnv env = {}) {
  return Run(defs, command, fields, std::move(env)).lines;
}

// An environment with the breakdown field set, as the Parameters window leaves it.
inline CommandEnv WithBreakdown(Extended Emax) {
  CommandEnv env;
  env.breakdown.Emax = Emax;
  return env;
}

}  // namespace command_run
