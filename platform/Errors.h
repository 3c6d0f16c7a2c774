#pragma once
// Error types of the core. Every failure that reaches the dispatcher carries a
// Czech text that can be shown to the user as it stands.
#include <stdexcept>
#include <string>

namespace velnorka {

// A failure with a message meant for the user (Czech, complete sentence).
class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& czechMessage) : std::runtime_error(czechMessage) {}
};

// A prompt reply that is not a whole number or does not fit the target type.
class ConversionError : public UserError {
public:
    enum class Reason { Empty, NotANumber, OutOfRange };
    ConversionError(Reason reason, const std::string& czechMessage)
        : UserError(czechMessage), reason_(reason) {}
    Reason reason() const { return reason_; }

private:
    Reason reason_;
};

// A desktop service that did not do what was asked (clipboard held by
// another program, a control that refused its text...).
class PlatformError : public UserError {
public:
    using UserError::UserError;
};

// The user pressed Cancel in a prompt: the run stops, nothing is reported.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

}  // namespace velnorka
