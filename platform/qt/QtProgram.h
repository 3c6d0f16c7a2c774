#pragma once
// The Linux program put together: the window, Platform on Qt, the random
// source and the form logic they serve.
#include <cstdint>
#include <optional>

#include "platform/Random.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/QtPlatform.h"
#include "window/Form1.h"

namespace velnorka::qt {

class QtProgram {
public:
    // A fixed seed makes the sheets reproducible (tests); the program seeds
    // from the clock.
    explicit QtProgram(std::optional<std::uint32_t> seed = std::nullopt)
        : random(seed), platform(window), form(platform, random) {
        window.forwardEventsTo(form);
    }

    // Load runs once, after the controls exist and before the window is shown.
    void start() {
        form.raise(FormEvent::Load);
        window.show();
    }

    Form1Window window;
    MersenneRandom random;
    QtPlatform platform;
    Form1 form;
};

}  // namespace velnorka::qt
