// Compiled, not run: each USE is one way of touching a failure. The checks register the
// sound use as compiling and each misuse as refused by the compiler.
#include <memory>

#include "status.h"

Status Step() { return ErrorCode::DiskFull; }
Result<std::unique_ptr<int>> Made() { return std::make_unique<int>(1); }

int Use() {
#if USE == 0  // read as written: success is ok(), the failure is asked for by name
  const Status step = Step();
  const Result<std::unique_ptr<int>> made = Made();
  return step.ok() ? 0 : static_cast<int>(step.failure()) + (made.ok() ? **made : 0);
#elif USE == 1  // a failure dropped unread
  Step();
  return 0;
#elif USE == 2  // a value-or-failure dropped unread
  Made();
  return 0;
#elif USE == 3  // a status read as a bool, which would read backwards or forwards by guess
  return Step() ? 1 : 0;
#endif
}
