#include "platform/win32/Program.h"

namespace velnorka::win32 {

Program::Program(HINSTANCE instance, RandomSource& random)
    : window_(instance), platform_(window_), form_(platform_, random) {
    window_.setEventHandler([this](FormEvent event) { form_.raise(event); });
    // What fails in the window's own handling is reported like a failing event.
    window_.setFailureHandler([this](std::exception_ptr failure) { form_.reportFailure(failure); });
}

void Program::start(int showCommand) {
    form_.raise(FormEvent::Load);
    window_.show(showCommand);
}

}  // namespace velnorka::win32
