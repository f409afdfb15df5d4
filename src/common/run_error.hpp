#pragma once

#include <stdexcept>
#include <string>

namespace irteq {

// A failure that ends the run: a file that cannot be opened, read or written,
// or input the program cannot handle. The message names the file and says
// what went wrong; the driver prints it on standard error and exits with 1.
class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace irteq

namespace irteq {

// An item type code that no model knows. The run stops after the report line
// "bad item type read in: " and a pause on the console.
class UnknownItemType : public RunError {
 public:
  using RunError::RunError;
};

}  // namespace irteq
