#include "platform/win32/Program.h"

namespace velnorka::win32 {

Program::Program(HINSTANCE instance, RandomSource& random)
    : window_(instance), platform_(window_), form_(platform_, random) {
    // raise() catches everything, so no exception crosses the window procedure.
    window_.setEventHandler([this](FormEvent event) { form_.raise(event); });
}

void Program::start(int showCommand) {
    form_.raise(FormEvent::Load);
    window_.show(showCommand);
}

}  // namespace velnorka::win32
