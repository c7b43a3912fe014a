#pragma once
// Each computation library has a namespace of its own (quor::numerics, quor::transformer,
// quor::electrostatics, quor::straight, quor::elliptic_test, quor::resonator). The front
// ends built on all of them (the windows, quor-cli, the Python module, the tests and
// the benchmarks) name their functions unqualified through this one header; the
// libraries themselves name only what they depend on.
namespace quor::numerics {}
namespace quor::transformer {}
namespace quor::electrostatics {}
namespace quor::straight {}
namespace quor::elliptic_test {}
namespace quor::resonator {}

using namespace quor::numerics;
using namespace quor::transformer;
using namespace quor::electrostatics;
using namespace quor::straight;
using namespace quor::elliptic_test;
using namespace quor::resonator;
