#include "data/window_thread.h"

namespace pordex {

WindowThread::WindowThread(Kind kind, files::ErrorManager& errors)
    : dct(kind == Kind::Main ? Dictionary::Start::Deferred : Dictionary::Start::Now,
          &GlobalErrorStatus, errors),
      kind_(kind) {}

}  // namespace pordex
