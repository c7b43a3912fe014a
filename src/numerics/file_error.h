#pragma once
#include <stdexcept>

namespace quor::numerics {

// A file input/output error that ends the command that met it. Windows show its
// message in an error box; quor-cli prints it on stderr and exits with status 1.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quor::numerics
